#pragma once
// The outlines of buildings in an architect's plan (a DXF file): closed LWPOLYLINE and
// POLYLINE entities, and chains of LINE, ARC and open polylines whose ends meet within
// 1 mm, in model space, on the layers chosen. Each outline is a simple polygon in plan in
// metres (the file's $INSUNITS, or the scale the caller gives when the file has none);
// arcs are followed by chords. Layer names and texts in GBK ($DWGCODEPAGE ANSI_936) or
// written as \U+XXXX come out as UTF-8. Toolkit-free.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "calc/sphere/site.h"

namespace tervalen::site {

// A file that cannot be read as a plan (not a file, too large, binary DXF, a version the
// reader does not take, broken groups): what() is one Chinese line that names the file.
class DxfError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct DxfOutline {
    enum class From { Polyline, Chain };
    std::string layer;                     // UTF-8
    std::vector<sphere::Point2> vertices;  // metres, counter-clockwise, not closed by repeating
    double area = 0;                       // m²
    From from = From::Polyline;
    // A polyline's elevation and thickness (metres) when the file sets them: a roof
    // height can be read from them (elevation + thickness).
    std::optional<double> elevation, thickness;
};

// What was drawn but is no outline, counted (the driver and the window say so).
struct DxfSkipped {
    int open = 0;              // lines, arcs and open polylines whose ends do not close a ring
    int selfIntersecting = 0;  // outlines that cross or touch themselves
    int degenerate = 0;        // outlines of fewer than three corners or of an area of about 0
    int duplicates = 0;        // outlines drawn again where one already lies
    int notInPlan = 0;         // entities drawn in a tilted plane, not in plan
    int damaged = 0;           // entities with broken data; blocks nested too deep or in a loop
};

// The largest DXF file read.
inline constexpr std::size_t kMaxDxfFileSize = std::size_t{256} << 20;

struct DxfPlan {
    // The drawing unit as the file states it ("mm", "m", …), empty when it states none.
    std::string units;
    // Metres per drawing unit used for the outlines.
    double metresPerUnit = 1;
    std::vector<std::string> layers;  // every layer of the file, UTF-8, in the file's order
    std::vector<DxfOutline> outlines;
    DxfSkipped skipped;
    std::string version;  // $ACADVER ("AC1015"), empty when the file has none
};

// Reads the plan. `layers` empty: every layer. `metresPerUnit`: the scale to use when the
// file does not state its unit (without it such a file is read in metres and `units` says
// so by staying empty). Throws DxfError, never anything else for any input.
DxfPlan readDxf(const std::filesystem::path& file, const std::vector<std::string>& layers = {},
                std::optional<double> metresPerUnit = std::nullopt);

// The same from a document's bytes (for the fuzzer and tests); `name` is used in messages.
DxfPlan readDxfText(const std::string& bytes, const std::string& name,
                    const std::vector<std::string>& layers = {},
                    std::optional<double> metresPerUnit = std::nullopt);

// A site with one building per outline, all with the given roof height (or each
// outline's elevation + thickness where `fromElevation` and the file sets them), named
// after their layer and number ("建筑 1"…), their layer kept.
sphere::Site siteOf(const DxfPlan& plan, double hr, double roof, bool fromElevation = true);

}  // namespace tervalen::site
