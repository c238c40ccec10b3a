// tervalen-pack-picture IN.png OUT: writes the picture's pixels as the program embeds
// them (see raw_picture.h), in 24-bit RGB.

#include <QFile>
#include <QImage>
#include <cstdio>
#include <cstring>

#include "raw_picture.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: tervalen-pack-picture IN.png OUT\n");
        return 2;
    }
    const QImage image =
        QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB888);
    if (image.isNull()) {
        std::fprintf(stderr, "tervalen-pack-picture: cannot read %s\n", argv[1]);
        return 1;
    }
    tervalen::resources::RawPictureHeader header{};
    std::memcpy(header.magic, tervalen::resources::kRawPictureMagic, sizeof header.magic);
    header.width = static_cast<std::uint32_t>(image.width());
    header.height = static_cast<std::uint32_t>(image.height());
    header.bytesPerLine = static_cast<std::uint32_t>(image.bytesPerLine());
    header.format = static_cast<std::uint32_t>(image.format());
    QFile out(QString::fromLocal8Bit(argv[2]));
    const auto size = static_cast<qint64>(image.sizeInBytes());
    if (!out.open(QIODevice::WriteOnly) ||
        out.write(reinterpret_cast<const char*>(&header), sizeof header) != sizeof header ||
        out.write(reinterpret_cast<const char*>(image.constBits()), size) != size) {
        std::fprintf(stderr, "tervalen-pack-picture: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
