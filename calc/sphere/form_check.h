#pragma once
// A calculator's press checked with the exact rolling sphere. The closed formulas of the
// range and height calculators hold exactly at some points of their arrangement (the
// midpoint between two rods, the edge of a width, the centre of three tips) and say
// nothing of others (the centre of a square of rods, where the diagonal's formula is only
// a bound). The unit that computed a press builds its arrangement as a site, names the
// points it printed something about and the weak points of its figure, and the engine
// gives the protection surface S there: the weakest point, whether the plane Hx is
// protected there, and how each printed value compares with the sphere.
//
// A value the sphere shows to be too high (the formula less conservative than the
// geometry) is a weak point: the verdict follows the sphere. A value the sphere shows to
// be low only says that the formula is on the safe side.

#include <optional>
#include <string>
#include <vector>

#include "calc/common/warning.h"
#include "calc/common/working.h"
#include "calc/sphere/site.h"

namespace tervalen {

// What the form's formula says of S at a point.
enum class Claim {
    Exact,    // S equals the value (the lowest point between two tips, the edge of a
              // width), or the formula's figure for a point it bounds (the diagonal's)
    AtLeast,  // S is at least the value (the edge of a width a height search met with room)
    None,     // the formula says nothing here: a weak point of the figure
};

// A point of the arrangement the sphere is asked about.
struct SpherePoint {
    std::string place;      // "两针连线中点", as the line names it
    Place mark;             // where a drawing marks it, should it be a weak point
    sphere::Point2 at;      // in plan, metres
    std::string symbol;     // the printed value it checks: "Ho", "Bx"…
    double shownValue = 0;  // that value as printed (a height above `base`, a width)
    double value = 0;       // what the formula gives for S there, above the ground
    Claim claim = Claim::Exact;
    // The edge of a width on the plane Hx, where S = Hx by construction: not weighed as
    // a weak point, and S rises steeply there when Hx is near the sphere's top, so the
    // width's last printed digit is allowed for.
    bool edge = false;
};

// A calculator's arrangement: the site, the plane taken as the ground for the printed
// heights (the roof when the building is an equipotential body), the protected plane,
// and what was modelled where the form gives no geometry.
struct SphereArrangement {
    sphere::Site site;
    double base = 0;  // the plane the printed heights are measured from
    double Hx = 0;    // the protected plane, above the ground
    std::string model;
};

// How a printed value compares with the sphere.
enum class Agreement { Agrees, FormulaSafer, FormulaUnsafe };

struct SphereProbe {
    SpherePoint point;
    double s = 0;  // S there, above the ground
    Agreement agreement = Agreement::Agrees;
};

struct SphereCheck {
    bool done = false;  // false: the engine could not take the arrangement (`why`)
    std::string why;
    std::vector<SphereProbe> probes;
    // The weakest point: the inside point with the lowest S, or the lowest edge when the
    // figure has no inside point; nothing when no point was asked.
    std::optional<std::size_t> weakest;
    // Whether the plane Hx is protected at the weakest point.
    bool covered = true;
};

// How far S may stand from a printed value and still agree with it: the 7 digits printed
// and the single precision stored, for a value of this size.
double agreementTolerance(double value, double Hr);

// Asks the engine at each point (one engine for the arrangement, one query a point).
SphereCheck checkWithSphere(const SphereArrangement& arrangement,
                            const std::vector<SpherePoint>& points);

// The line of the working that states the check ("按滚球几何精确校核：…"), and the weak
// points it finds: a printed value the sphere shows too high, the plane Hx reached at a
// point the formula does not describe.
void recordSphereCheck(const SphereCheck& check, const SphereArrangement& arrangement,
                       Recorder& rec, Warnings& warnings);

// Both: checks and records, and returns the check.
SphereCheck crossCheck(const SphereArrangement& arrangement, const std::vector<SpherePoint>& points,
                       Recorder& rec, Warnings& warnings);

// The calculators' figures. Every height is above the ground; a rod on a roof taken as
// the ground (the building an equipotential body) stands on a flat roof at Hx that
// reaches 2·Hr beyond the rods on every side.
struct SphereRods {
    int rods = 1;  // 1; 2 in a line; 3 on an equilateral triangle; 4 on a square
    double Hr = 0, tip = 0, Hx = 0;
    bool onRoof = false;
    double spacing = 0;             // D, or the side L
    double Ho = 0;                  // lowest point midway between two neighbours, above the base
    std::optional<double> Bx = {};  // the width beside it on the plane Hx
    bool widthRequired = false;     // Bx is a width a height search met: S is at least Hx there
    std::optional<double> Rx = {};  // the outer radius, where printed
    // The centre of 3 rods (Hoc; 0 where the sphere reaches the ground) or of 4 (Ho2, the
    // diagonal's lowest point, which the sphere resting on four tips lies above).
    std::optional<double> centre = {};
    std::string_view ho = "Ho", bx = "Bx", centreSymbol = "Hoc";
    // What was modelled, for rods the form takes as standing on the ground although they
    // stand on a building.
    std::string_view model = {};
};
SphereCheck checkRodsWithSphere(const SphereRods& figure, Recorder& rec, Warnings& warnings);

// One wire, or two parallel wires `apart`, on supports (masts as high as the wires) a
// span apart, hanging with the sag the form used (0 where none applies).
struct SphereWires {
    int wires = 1;
    double Hr = 0, H = 0, Hx = 0, span = 0, sag = 0, apart = 0;
    std::optional<double> Ho = {};   // two wires: the lowest point between them at mid-span
    std::optional<double> Hoe = {};  // two wires: the lowest point between them at the supports
    std::string_view hoe = "Hoe";
    // One wire: the widths at mid-span and at the supports; two wires: Bx1 beyond the
    // supports, beside Hoe.
    std::optional<double> Bx1 = {}, Bx2 = {};
};
SphereCheck checkWiresWithSphere(const SphereWires& figure, Recorder& rec, Warnings& warnings);

// The prefix of the line, for readers that look for it.
inline constexpr std::string_view kSphereCheck = "按滚球几何精确校核：";

}  // namespace tervalen
