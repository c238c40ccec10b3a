#pragma once
// tervalen-calc --import-dxf FILE: the outlines of buildings in a DXF plan, listed or made
// into a site file, without a window.

#include <optional>
#include <string>
#include <vector>

namespace tervalen::cli {

struct PlanOptions {
    std::string file;                 // the plan (.dxf)
    std::vector<std::string> layers;  // --layer NAME; none: every layer
    bool json = false;                // one JSON object instead of lines of text
    // --units U: the drawing unit of a file that states none (metres per unit).
    std::optional<double> metresPerUnit;
    std::optional<double> roof;  // --roof H: every building's roof height
    double hr = 45;              // --hr: the sphere's radius of the site written
    std::string siteOut;         // --site-out: the site file written; empty: none
};

// The command line's --import-dxf and its options, when it has --import-dxf; nothing when
// it has not. A malformed one throws forms::ActionError (exit status 2).
std::optional<PlanOptions> planOptions(const std::vector<std::string>& args);

// Runs it: the exit status (0; 3 when the plan has no closed outline, or the site cannot be
// made or written; 4 when the file cannot be read), with one line on stderr for each failure.
int runPlan(const PlanOptions& options);

}  // namespace tervalen::cli
