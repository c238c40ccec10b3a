#pragma once
// A picture as the program embeds it (the background, the window icon): the pixels in the
// layout QImage paints from (24-bit RGB, or premultiplied 32-bit ARGB for a picture with
// transparency; lines padded to 4 bytes), cut into strips of whole lines. A strip's first
// line is stored as it is, each later one as the difference of every byte from the byte
// above it (modulo 256), and each strip is compressed on its own as one LZ4 block. A
// paint decompresses only the strips it exposes, one at a time into a small buffer, so
// the program never holds the whole background and nothing goes through an image decoder
// at start-up; LZ4's decoder is small, fast, and in memory anyway (the system libraries
// Qt loads use it). The committed PNGs stay the source; tervalen-pack-picture converts
// them at build time, on the machine (so with the byte order) the program is built for.
//
// Layout: the header, then stripCount + 1 offsets (std::uint32_t, from the start of the
// blocks; the last is the blocks' end), then the blocks. Strip k holds the lines from
// k * stripLines, stripLines of them (fewer in the last strip).

#include <cstddef>
#include <cstdint>
#include <cstring>

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

// The lines of a strip, `lines` of `bytesPerLine` bytes at `strip`: each line after the
// first replaced by its difference from the line above, and back.
inline void differenceLines(unsigned char* strip, std::size_t bytesPerLine, std::size_t lines) {
    for (std::size_t y = lines; y-- > 1;)
        for (std::size_t i = 0; i < bytesPerLine; ++i)
            strip[y * bytesPerLine + i] = static_cast<unsigned char>(
                strip[y * bytesPerLine + i] - strip[(y - 1) * bytesPerLine + i]);
}
inline void restoreLines(unsigned char* strip, std::size_t bytesPerLine, std::size_t lines) {
    for (std::size_t y = 1; y < lines; ++y) {
        unsigned char* line = strip + y * bytesPerLine;
        const unsigned char* above = line - bytesPerLine;
        std::size_t i = 0;
#if defined(__GNUC__)
        // Sixteen bytes at a time, each added on its own (one vector instruction).
        typedef unsigned char Bytes16 __attribute__((vector_size(16)));
        for (; i + 16 <= bytesPerLine; i += 16) {
            Bytes16 a, b;
            std::memcpy(&a, line + i, 16);
            std::memcpy(&b, above + i, 16);
            a += b;
            std::memcpy(line + i, &a, 16);
        }
#endif
        for (; i < bytesPerLine; ++i) line[i] = static_cast<unsigned char>(line[i] + above[i]);
    }
}

}  // namespace tervalen::resources
