#pragma once
// tervalen-calc --version and --help: answered before anything else, exit status 0.

#include <cstdio>
#include <cstring>

#include "version.h"

namespace tervalen::cli {

inline constexpr const char* kHelp =
    "usage: tervalen-calc [--json | --text] [--pdf OUT.pdf] [--dxf OUT.dxf] [--svg OUT.svg]\n"
    "                     [--edition 1994|2010] [--require SYMBOL=VALUE]\n"
    "                     [--add-to FILE [--label TEXT]]\n"
    "                     FORM ACTION...\n"
    "       tervalen-calc --project FILE [--json | --text] [--pdf OUT.pdf]\n"
    "                     [--edition 1994|2010] [--header KEY=VALUE]...\n"
    "       tervalen-calc --site FILE [--json] [--at X,Y]... [--level Z]...\n"
    "                     [--dxf OUT.dxf] [--svg OUT.svg]\n"
    "Runs a Tervalen calculator form's logic without a window and prints what it shows.\n"
    "\n"
    "  CONTROL=TEXT          set a box's text as if pasted (no key filter, no Click handler)\n"
    "  --type CONTROL=TEXT   type TEXT character by character through the box's key filter\n"
    "  --pick CONTROL=TEXT   choose a list entry: set the text and run the box's Click handler\n"
    "  --select OPTION       select an option button\n"
    "  --press BUTTON        press a button (CmdRun, CmdRun_GP, CmdRun_CJ, CmdRun1, CmdRun2)\n"
    "  --json                print one JSON object: form, messages, results, labels, inputs,\n"
    "                        working, warnings (every place of the protected level the\n"
    "                        rolling sphere still reaches), and verdict when judged\n"
    "  --text                print the calculation sheet's section of the last press too\n"
    "  --pdf OUT.pdf         write the calculation sheet as PDF\n"
    "  --dxf OUT.dxf, --svg OUT.svg   write the protection-range drawing\n"
    "  --edition 1994|2010   the edition of GB 50057 the calculation sheet cites (default\n"
    "                        2010) and frmLJCS computes by (its default stays 1994)\n"
    "  --header KEY=VALUE    a field of the sheet's header: project, subitem, designer,\n"
    "                        calculator, checker, reviewer, date (with --add-to: saved)\n"
    "  --require SYMBOL=VALUE  judge the press by a requirement as the calculation sheet\n"
    "                        takes it (range: the distance to cover at Hx, compared with\n"
    "                        SYMBOL, e.g. Rx, Bx1; earthing: the highest resistance allowed)\n"
    "  --add-to FILE         add the last press to the project FILE (.tvp) as a record,\n"
    "                        creating FILE when there is none\n"
    "  --label TEXT          the added record's label (default: \"n# \" and the form's title)\n"
    "  --project FILE        compute every record of the project FILE again and print each\n"
    "                        one's label and results; with --json an array of objects\n"
    "                        with label, matches_saved and saved_results added\n"
    "  --site FILE           the rolling sphere over the site file FILE (.tvs): S at each\n"
    "                        --at point, the protected region at each --level, every roof's\n"
    "                        check; with --json one object: hr, surface, levels, roofs, ok\n"
    "  --at X,Y              (with --site) the protection surface S at the plan point X,Y\n"
    "  --level Z             (with --site) the protected area, the uncovered polygons and the\n"
    "                        lowest point at the height Z (default: each roof's height)\n"
    "  --help                show this text\n"
    "  --version             show the version\n"
    "\n"
    "Actions run in order; with no --press the form's first calculate button is pressed\n"
    "once at the end. Exit status 0 when the actions ran, whatever messages they produced;\n"
    "2 for an unknown form, control or button or a malformed action or argument; 3 when --text,\n"
    "--pdf, --dxf, --svg or --add-to finds no successful calculation or cannot write;\n"
    "4 when a project or site file cannot be read or written; 70 for a fault of the program\n"
    "itself.\n"
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
