#pragma once
// The background picture as the program embeds it: not a PNG to decode at start-up but
// the pixels themselves, in the layout QImage paints from directly, behind a small
// header. The committed PNG stays the source; tervalen-pack-picture converts it at build
// time, on the machine (so with the byte order) the program is built for.

#include <cstdint>

namespace tervalen::resources {

struct RawPictureHeader {
    char magic[8];               // "TVRAWPIX"
    std::uint32_t width;         // pixels
    std::uint32_t height;        // pixels
    std::uint32_t bytesPerLine;  // a multiple of 4
    std::uint32_t format;        // QImage::Format
    std::uint32_t reserved[2];   // zero; pads the header to 32 bytes
};
static_assert(sizeof(RawPictureHeader) == 32, "the pixels start 32 bytes in");

inline constexpr char kRawPictureMagic[8] = {'T', 'V', 'R', 'A', 'W', 'P', 'I', 'X'};

}  // namespace tervalen::resources
