#pragma once
// Tervalen --version and --help: answered before the window system is touched, so they
// work without a display; exit status 0.

#include <cstdio>
#include <cstring>

#include "version.h"

namespace tervalen::shell {

inline constexpr const char* kHelp =
    "usage: Tervalen [--help] [--version] [Qt options] [FILE.tvp]\n"
    "Lightning-protection design calculators: protection ranges of rods and overhead\n"
    "wires and the heights they need, earthing resistances and their impulse conversion,\n"
    "expected lightning strikes per year, a soil resistivity table and a right-triangle\n"
    "aid. Every calculator opens from the main window's menu.\n"
    "\n"
    "  FILE.tvp    open this project file (the calculation sheet and the forms that\n"
    "              were open) at start; one that cannot be read is reported and an\n"
    "              empty project opens\n"
    "  --help      show this text\n"
    "  --version   show the version\n"
    "\n"
    "Other options are Qt's (for example -platform offscreen).\n"
    "tervalen-calc runs the same calculators without a window.\n";

// The exit status when an argument asks for the version or this help, else -1.
inline int answerInfoOption(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("Tervalen %s\n", kVersion);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kHelp, stdout);
            return 0;
        }
    }
    return -1;
}

}  // namespace tervalen::shell
