#pragma once
// A picture as the program embeds it (the background, the window icon): the pixels in the
// layout QImage paints from (24-bit RGB, or premultiplied 32-bit ARGB for a picture with
// transparency; lines padded to 4 bytes), cut into strips of whole lines. Each line is
// stored as the difference of every byte from the same byte of the pixel to its left
// (modulo 256; the first pixel as it is), and each strip is compressed on its own as one
// zlib stream. A paint inflates only the strips it exposes, one at a time into a small
// buffer, so the program never holds the whole background and nothing goes through an
// image decoder at start-up; zlib's code is in memory anyway (Qt and the fonts use it).
// The committed PNGs stay the source; tervalen-pack-picture converts them at build time,
// on the machine (so with the byte order) the program is built for.
//
// Layout: the header, then stripCount + 1 offsets (std::uint32_t, from the start of the
// streams; the last is the streams' end), then the streams. Strip k holds the lines from
// k * stripLines, stripLines of them (fewer in the last strip).

#include <cstddef>
#include <cstdint>

namespace tervalen::resources {

struct StripPictureHeader {
    char magic[8];               // "TVSTRIPS"
    std::uint32_t width;         // pixels
    std::uint32_t height;        // pixels
    std::uint32_t bytesPerLine;  // a multiple of 4
    std::uint32_t format;        // QImage::Format_RGB888 or Format_ARGB32_Premultiplied
    std::uint32_t stripLines;    // lines per strip
    std::uint32_t stripCount;    // (height + stripLines - 1) / stripLines
};
static_assert(sizeof(StripPictureHeader) == 32, "the offsets start 32 bytes in");

inline constexpr char kStripPictureMagic[8] = {'T', 'V', 'S', 'T', 'R', 'I', 'P', 'S'};

// A line's `bytes` pixel bytes (its padding left out), `pixelBytes` to a pixel: each byte
// replaced by its difference from the same byte of the pixel to its left, and back.
inline void differenceLine(unsigned char* line, std::size_t bytes, std::size_t pixelBytes) {
    for (std::size_t i = bytes; i-- > pixelBytes;)
        line[i] = static_cast<unsigned char>(line[i] - line[i - pixelBytes]);
}
inline void restoreLine(unsigned char* line, std::size_t bytes, std::size_t pixelBytes) {
    for (std::size_t i = pixelBytes; i < bytes; ++i)
        line[i] = static_cast<unsigned char>(line[i] + line[i - pixelBytes]);
}

}  // namespace tervalen::resources
