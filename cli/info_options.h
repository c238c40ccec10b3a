#pragma once
// tervalen-calc --version and --help: answered before anything else, exit status 0.

#include <cstdio>
#include <cstring>

#include "cli/help_text.h"  // kHelp, made from docs/tervalen-calc.md
#include "version.h"

namespace tervalen::cli {

// The exit status when the first argument asks for the version or this help, else -1.
inline int answerInfoOption(int argc, char** argv) {
    if (argc < 2) return -1;
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("tervalen-calc %s\n", kVersion);
        return 0;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    return -1;
}

}  // namespace tervalen::cli
