#pragma once
// tervalen-calc --site FILE: the rolling sphere over a site file, without a window.

#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "calc/sphere/site.h"
#include "sheet/sheet_record.h"

namespace tervalen::cli {

struct SiteOptions {
    std::string file;                // the site file (.tvs)
    bool json = false;               // one JSON object instead of lines of text
    std::vector<sphere::Point2> at;  // --at X,Y: S there
    std::vector<double> levels;      // --level Z; none: each building's roof height
    std::string dxf, svg;            // the site plan's files; empty: none
};

// "X,Y" as two finite numbers within ±100 km, a point for the decimal separator; nothing
// for anything else.
std::optional<sphere::Point2> planPoint(const std::string& text);
// "Z" as a finite height from 0 to 100 km; nothing for anything else.
std::optional<double> levelHeight(const std::string& text);

// Runs it: the exit status (0; 3 when a plan cannot be written; 4 when the site file
// cannot be read or is refused), with one line on stderr for each failure.
int runSite(const SiteOptions& options);

// --add-to FILE --site SITE.tvs: the site file's check as a record labelled `label` (empty:
// the caption); nothing, and one line in `why`, when the file cannot be read or the engine
// refuses the site.
std::optional<sheet::SheetRecord> siteRecordFromFile(const std::string& file,
                                                     const std::string& label, std::string& why);
// A site's record as the driver prints it with --json: "label", "site" (true), "hr",
// "roofs" ("name", "height", "uncovered_area", "worst" {"x", "y", "s"}, "ok"), "ok" (the
// verdict: every roof protected), "verdict" {"ok", "text"} and "matches_saved".
nlohmann::ordered_json siteRecordJson(const sheet::SheetRecord& record);
// The same as lines of text: the label, each roof, the verdict, and what was saved where
// it differs.
void printSiteRecord(const sheet::SheetRecord& record, std::ostream& out);

}  // namespace tervalen::cli
