// tervalen-pack-picture IN.png OUT [LINES]: writes the picture's pixels as the program
// embeds them (see strip_picture.h), in 24-bit RGB or, when the picture has transparency,
// premultiplied 32-bit ARGB, LINES lines to a strip (32 unless given), and says how small
// the strips came out.

#include <lz4.h>
#include <lz4hc.h>

#include <QFile>
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "strip_picture.h"

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: tervalen-pack-picture IN.png OUT [LINES]\n");
        return 2;
    }
    const long lines = argc == 4 ? std::strtol(argv[3], nullptr, 10) : 32;
    if (lines < 1 || lines > 4096) {
        std::fprintf(stderr, "tervalen-pack-picture: LINES must be 1 to 4096\n");
        return 2;
    }
    QImage image(QString::fromLocal8Bit(argv[1]));
    image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                          : QImage::Format_RGB888);
    if (image.isNull()) {
        std::fprintf(stderr, "tervalen-pack-picture: cannot read %s\n", argv[1]);
        return 1;
    }
    tervalen::resources::StripPictureHeader header{};
    std::memcpy(header.magic, tervalen::resources::kStripPictureMagic, sizeof header.magic);
    header.width = static_cast<std::uint32_t>(image.width());
    header.height = static_cast<std::uint32_t>(image.height());
    header.bytesPerLine = static_cast<std::uint32_t>(image.bytesPerLine());
    header.format = static_cast<std::uint32_t>(image.format());
    header.stripLines = static_cast<std::uint32_t>(lines);
    header.stripCount = static_cast<std::uint32_t>((image.height() + lines - 1) / lines);

    std::vector<std::uint32_t> offsets{0};
    std::vector<char> blocks;
    for (std::uint32_t k = 0; k < header.stripCount; ++k) {
        const int first = static_cast<int>(k * header.stripLines);
        const int count = std::min(static_cast<int>(header.stripLines), image.height() - first);
        std::vector<unsigned char> strip(std::size_t{header.bytesPerLine} * count);
        std::memcpy(strip.data(), image.constScanLine(first), strip.size());
        tervalen::resources::differenceLines(strip.data(), header.bytesPerLine,
                                             static_cast<std::size_t>(count));
        const int size = static_cast<int>(strip.size());
        std::vector<char> stream(static_cast<std::size_t>(LZ4_compressBound(size)));
        const int written =
            LZ4_compress_HC(reinterpret_cast<const char*>(strip.data()), stream.data(), size,
                            static_cast<int>(stream.size()), LZ4HC_CLEVEL_MAX);
        if (written <= 0) {
            std::fprintf(stderr, "tervalen-pack-picture: LZ4 failed\n");
            return 1;
        }
        blocks.insert(blocks.end(), stream.begin(), stream.begin() + written);
        offsets.push_back(static_cast<std::uint32_t>(blocks.size()));
    }

    QFile out(QString::fromLocal8Bit(argv[2]));
    const auto offsetBytes =
        static_cast<qint64>(offsets.size()) * static_cast<qint64>(sizeof offsets[0]);
    const auto blockBytes = static_cast<qint64>(blocks.size());
    if (!out.open(QIODevice::WriteOnly) ||
        out.write(reinterpret_cast<const char*>(&header), sizeof header) != sizeof header ||
        out.write(reinterpret_cast<const char*>(offsets.data()), offsetBytes) != offsetBytes ||
        out.write(blocks.data(), blockBytes) != blockBytes || !out.flush()) {
        std::fprintf(stderr, "tervalen-pack-picture: cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("tervalen-pack-picture: %d x %d, %u strips of %ld lines, %lld bytes from %lld\n",
                image.width(), image.height(), header.stripCount, lines,
                static_cast<long long>(sizeof header + offsetBytes + blockBytes),
                static_cast<long long>(image.sizeInBytes()));
    return 0;
}
