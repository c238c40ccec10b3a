// tervalen-draw-resources: re-draws the committed pictures.
//
//   tervalen-draw-resources [output-folder]
//   tervalen-draw-resources --icon SIZE FILE
//
// Without an argument the pictures go to the resources folder of the source
// tree. The output is the same on every run (fixed random seed). The second
// form draws the icon alone at SIZE × SIZE pixels, for the installed icon theme.

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "draw_common.h"

#ifndef TERVALEN_RESOURCES_DIR
#define TERVALEN_RESOURCES_DIR "."
#endif

namespace {

bool save(const QImage& image, const QDir& dir, const char* name) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    // Quality 0 asks the PNG writer for its strongest compression.
    if (!image.save(path, "PNG", 0)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s  %dx%d  %lld bytes\n", qPrintable(path), image.width(), image.height(),
                static_cast<long long>(QFileInfo(path).size()));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && QLatin1String(argv[1]) == QLatin1String("--icon")) {
        const int size = argc == 4 ? QString::fromLocal8Bit(argv[2]).toInt() : 0;
        if (size < 16 || size > 1024) {
            std::fprintf(stderr,
                         "usage: tervalen-draw-resources --icon SIZE FILE  (16 <= SIZE <= 1024)\n");
            return 2;
        }
        const QFileInfo file(QString::fromLocal8Bit(argv[3]));
        return draw::renderIcon(size).save(file.filePath(), "PNG", 0) ? 0 : 1;
    }
    const QDir dir(QString::fromLocal8Bit(argc > 1 ? argv[1] : TERVALEN_RESOURCES_DIR));
    // The window icon in the sizes window managers draw it at: each drawn at its size, so
    // the small ones stay crisp, and none larger than the window ever needs.
    bool ok = save(draw::renderBackground(), dir, "background.png");
    for (const int size : {16, 32, 48, 64}) {
        const QByteArray name = "icon" + QByteArray::number(size) + ".png";
        ok = ok && save(draw::renderIcon(size), dir, name.constData());
    }
    return ok ? 0 : 1;
}
