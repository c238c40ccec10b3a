#pragma once
// tervalen-calc --version and --help: answered before anything else, exit status 0.

#include <cstdio>
#include <cstring>

#include "version.h"

namespace tervalen::cli {

inline constexpr const char* kHelp =
    "usage: tervalen-calc [--json] FORM ACTION...\n"
    "Runs a Tervalen calculator form's logic without a window and prints what it shows.\n"
    "\n"
    "  CONTROL=TEXT          set a box's text as if pasted (no key filter, no Click handler)\n"
    "  --type CONTROL=TEXT   type TEXT character by character through the box's key filter\n"
    "  --pick CONTROL=TEXT   choose a list entry: set the text and run the box's Click handler\n"
    "  --select OPTION       select an option button\n"
    "  --press BUTTON        press a button (CmdRun, CmdRun_GP, CmdRun_CJ, CmdRun1, CmdRun2)\n"
    "  --json                print one JSON object: form, messages, results, labels, inputs\n"
    "  --help                show this text\n"
    "  --version             show the version\n"
    "\n"
    "Actions run in order; with no --press the form's first calculate button is pressed\n"
    "once at the end. Exit status 0 when the actions ran, whatever messages they produced;\n"
    "2 for an unknown form, control or button or a malformed action.\n"
    "\n"
    "example: tervalen-calc frmRx_DLDanZ CmbH=20 CmbHx=5\n";

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
