#pragma once
// A site for the rolling-sphere method: flat ground at z = 0, the sphere's radius, and the
// things that stop the sphere: rods, straight conductors, hanging wires and buildings.
// Metres throughout; x and y in plan, z up. Toolkit-free.

#include <optional>
#include <string>
#include <vector>

namespace tervalen::sphere {

struct Point2 {
    double x = 0, y = 0;
};

struct Point3 {
    double x = 0, y = 0, z = 0;
};

// A vertical rod from its base (0 on the ground, the roof height on a roof) to its tip.
struct Rod {
    double x = 0, y = 0, base = 0, tip = 0;
};

// A straight conductor between two points: a ridge or roof-edge conductor, a mesh bar.
struct Conductor {
    Point3 from, to;
};

// An overhead wire between two supports, hanging as a parabola whose lowest point below
// the chord at mid-span is the sag; without a sag, the program's rule for the span.
struct Wire {
    Point3 from, to;
    std::optional<double> sag;
};

// A building: a simple polygon in plan (either direction, not closed by repeating the
// first corner), standing from its base to a flat roof.
struct Building {
    std::string name;
    std::vector<Point2> outline;
    double base = 0, roof = 0;
    // The drawing layer its outline came from (an imported plan's), kept so that an
    // export puts it back there; empty for a building drawn or typed here.
    std::string layer{};
};

struct Site {
    double hr = 0;  // the sphere's radius
    std::vector<Rod> rods;
    std::vector<Conductor> conductors;
    std::vector<Wire> wires;
    std::vector<Building> buildings;
};

// What makes a site unusable, in one Chinese line naming the object ("第 2 根接闪杆的顶高
// 低于底高"); empty when it is usable. A wire without a sag whose span is longer than the
// sag rule covers (150 m) needs its sag given.
std::string problemOf(const Site& site);

// The sag a wire hangs with: its own, or the rule's for its horizontal span; nothing when
// the span is beyond the rule.
std::optional<double> sagOf(const Wire& wire);

}  // namespace tervalen::sphere
