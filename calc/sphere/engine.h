#pragma once
// The rolling sphere, exactly: for a site of rods, conductors, wires and buildings, the
// lowest height an admissible sphere reaches above each ground point (the protection
// surface S). A sphere's centre c is admissible when it is at least the radius Hr above
// the ground and at least Hr from every object; S(x, y) is the least c_z − √(Hr² − d²)
// over admissible centres whose horizontal distance d from (x, y) is at most Hr.
//
// How it is found: on the vertical through a plan point q, each object forbids one open
// interval of centre heights (closed forms for rods, walls and roofs, straight conductors;
// a one-dimensional search for a hanging wire), so the lowest admissible centre L(q) at
// or above Hr is a sweep over those intervals. S(p) is the least L(q) − √(Hr² − |q − p|²)
// over the disk |q − p| ≤ Hr, found by branch and bound over square cells of the disk:
// a lower bound for each cell (the intervals every point of the cell has in common,
// swept; and the tops of the spheres about the objects' points, smooth, bounded by their
// slope and curvature), the genuine sphere at each cell's centre an upper bound, cells
// that cannot hold a lower sphere dropped. Where cells of 0.5 mm remain, Newton's method
// on the resting positions of the sphere there (on one, two or three of: the ground, the
// top of an object's interval, the bottom of one it passes under) gives the exact answer,
// and the cells are split on until no cell left can hold a sphere lower by 1e-6 m: the
// answer is proved to that (Touch::gap says how far it was proved, should the cells run
// out first).
//
// The engine is immutable once built and may be queried from several threads at once.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "calc/sphere/site.h"

namespace tervalen::sphere {

struct Box {
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
};

// S at a point and where the sphere that reaches lowest there has its centre.
struct Touch {
    double s = 0;   // the protection surface's height
    Point3 centre;  // the centre of a sphere that reaches it
    // How much lower than s a sphere could still reach, as far as the search has proved
    // (0 where it proved s exact); at most 1e-6 m unless the search ran out of cells.
    double gap = 0;
};

// Whether S >= z holds over a square, and why not where it was refuted: the centre of an
// admissible sphere that reaches below z at some point of the square.
struct Proof {
    bool proved = false;
    std::optional<Point3> witness;  // none when proved, or when the search gave up
};

// The least S along a segment: where and how high.
struct Lowest {
    Point2 at;
    double s = 0;
};

// A polygon in plan: its outer ring counter-clockwise, holes clockwise, not closed by
// repeating the first point.
struct Polygon {
    std::vector<Point2> outer;
    std::vector<std::vector<Point2>> holes;
};

// Whether the corners (in order, the first not repeated at the end) bound a simple
// polygon: at least three, finite, and the ring neither crosses nor touches itself.
bool isSimpleRing(const std::vector<Point2>& corners);

// The protected region at a level z over an area of interest.
struct LevelRegion {
    double z = 0;
    std::vector<Polygon> protectedRegion;  // where S(x, y) >= z, within the area
    double protectedArea = 0;              // m²
    std::vector<Polygon> uncovered;        // the rest of the area
    double uncoveredArea = 0;
    std::optional<Lowest> worst;  // where S is lowest within the area (none for an empty area)
};

// Each building's roof at its own height: uncovered where S <= roof + 0.001 m (a sphere
// rests on or touches it).
struct RoofCheck {
    std::string name;
    double height = 0;
    std::vector<Polygon> uncovered;
    double uncoveredArea = 0;
    Lowest worst;
    bool ok = false;
};

// A coarse map for live display: S on a grid of `step` metres over a box, row-major with
// rows along y: s[j * nx + i] at (box.minX + i * step, box.minY + j * step).
struct SurfaceGrid {
    Box box;
    double step = 0;
    int nx = 0, ny = 0;
    std::vector<double> s;
};

class Engine {
public:
    // A usable site (see problemOf); otherwise std::invalid_argument with that line.
    explicit Engine(const Site& site);
    ~Engine();
    Engine(Engine&&) noexcept;
    Engine& operator=(Engine&&) noexcept;

    double hr() const;
    // The plan box of every object (empty objects: a zero box at the origin), and the
    // highest point of any object (0 for none).
    Box bounds() const;
    double highest() const;
    // The site's buildings, as given.
    const std::vector<Building>& buildings() const;

    // The protection surface S(x, y), to 1e-6 m; 0 where the sphere reaches the ground.
    double surface(Point2 p) const;
    Touch touch(Point2 p) const;
    // S to within `within` metres (the least height of a sphere found, no sphere lower by
    // more than that): cheaper, for maps.
    double roughSurface(Point2 p, double within) const;
    // Whether some admissible sphere reaches below height z above p: S(p) < z, decided
    // without finding S where it is far from z.
    bool reachesBelow(Point2 p, double z) const;
    // Whether S ≥ z is proved at every point of the square of half-side `half` about
    // `centre` (false: a sphere reaches below z there, or the proof was not found).
    bool provesAtLeast(Point2 centre, double half, double z) const;
    // The same, with the sphere that refutes it where one was found; the search given up
    // after `cells` cells of centres (unproved, no sphere).
    Proof proveAtLeast(Point2 centre, double half, double z, long cells = 1 << 14) const;
    // Whether a sphere centred at c is clear of every object: c lies `margin` metres or
    // more outside each object's forbidden heights on its vertical (the ground not
    // counted). With every object of a site clear and c at Hr or higher, the sphere is
    // admissible there.
    bool clearOf(Point3 c, double margin) const;
    // Whether a point in the air is protected: z ≤ S(x, y).
    bool protects(Point3 p) const { return p.z <= surface({p.x, p.y}); }
    // The lowest admissible centre height at or above Hr on the vertical through q.
    double lowestCentre(Point2 q) const;

    // S at n + 1 evenly spaced points from a to b (n ≥ 1), a first.
    std::vector<double> profile(Point2 a, Point2 b, int n) const;
    // The least S along the segment from a to b: sampled every `step` metres at most,
    // then refined to 1e-6 m along the segment around the lowest samples.
    Lowest lowestAlong(Point2 a, Point2 b, double step = 0.5) const;

    // The protected region at level z within `area` (empty: the plan box of every object
    // widened by Hr): polygons whose every boundary vertex lies within `tolerance` of the
    // exact boundary S = z, their areas exact to the polygons, and the lowest point.
    LevelRegion level(double z, const std::vector<Polygon>& area = {},
                      double tolerance = 0.01) const;
    // Each building's roof checked at its own height.
    std::vector<RoofCheck> roofs(double tolerance = 0.01) const;
    // S to 1 mm at the nodes of a grid of `step` metres from the box's lower left corner up
    // to its upper right one, never above it.
    SurfaceGrid grid(Box box, double step) const;
    // A height S(p) is proved not to be below, at most `within` under S(p).
    double surfaceFloor(Point2 p, double within) const;
    // A map for live display on the same nodes as grid(): at each node a height no sphere
    // reaches below anywhere in the square of side `step` centred on it, so that a colour
    // painted over the square never shows protected where a sphere reaches. It lies at
    // most `within` under the least S over the square, or, where S changes across the
    // square by more than that, under it by up to the change across a sixteenth of the
    // square (the finest cells it is proved with).
    SurfaceGrid liveMap(Box box, double step, double within = 0.05) const;

    // The engine's data, opaque (public so that its own helpers may name it).
    struct Impl;

private:
    std::unique_ptr<Impl> m;
};

// The same for the simple arrangements the calculator forms check: S at a point for a
// set of rods and wires on open ground.
double surfaceOf(double hr, const std::vector<Rod>& rods, const std::vector<Wire>& wires, Point2 p);
Lowest lowestAlongOf(double hr, const std::vector<Rod>& rods, const std::vector<Wire>& wires,
                     Point2 a, Point2 b);

}  // namespace tervalen::sphere
