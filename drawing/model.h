#pragma once
// A protection-range drawing as primitives in metres, each on a layer: what the panel,
// the calculation sheet, the SVG and the DXF all draw. The section has its ground at
// y = 0 and the first rod's foot (a single wire: the wire) at x = 0; the plan at the
// height Hx lies wholly below it (y < 0), the first rod at plan x = 0. A second section
// (the square's diagonal) lies between them, on a ground line of its own.

#include <cstddef>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "calc/common/warning.h"

namespace tervalen::drawing {

// The layers, named as a CAD user finds them. Warn holds the marks and notes of the
// places the sphere still reaches, in red.
// Construction holds the closed formulas' curves in plan (the Rx circles, the waists and
// strips), which the protected region's outline on Range replaces as the drawing to hand in.
// Frame holds an A3 sheet's frame and title block, where a file is asked for one.
enum class Layer { Rod, Range, Aux, Hx, Dim, Text, Warn, Construction, Frame };
inline constexpr Layer kLayers[] = {Layer::Rod,  Layer::Range,        Layer::Aux,
                                    Layer::Hx,   Layer::Dim,          Layer::Text,
                                    Layer::Warn, Layer::Construction, Layer::Frame};

// How a layer is shown everywhere the drawing goes: its name in CAD, its colour in CAD
// (AutoCAD's colour index) and on screen, paper and SVG (0xRRGGBB), the weight of its
// lines on paper, and whether its lines are dashed.
struct LayerStyle {
    Layer layer;
    const char* name;
    int aci;
    unsigned rgb;
    double weightMm;
    bool dashed = false;
};
inline constexpr LayerStyle kLayerStyles[] = {
    {Layer::Rod, "LP-ROD", 7, 0x000000, 0.5},  // white on black, black on white
    {Layer::Range, "LP-RANGE", 1, 0xd00000, 0.35},
    {Layer::Aux, "LP-AUX", 8, 0x808080, 0.13},
    {Layer::Hx, "LP-HX", 5, 0x0050c0, 0.25, true},
    {Layer::Dim, "LP-DIM", 3, 0x007000, 0.18},
    {Layer::Text, "LP-TEXT", 7, 0x000000, 0.18},
    {Layer::Warn, "LP-WARN", 1, 0xd00000, 0.5},
    {Layer::Construction, "LP-CONSTR", 9, 0x9a9a9a, 0.13},
    {Layer::Frame, "LP-FRAME", 7, 0x000000, 0.7},
};
const LayerStyle& styleOf(Layer layer);
const char* layerName(Layer layer);  // "LP-ROD" …
// A weak point's mark or note, whatever its layer: red, and heavier than the lines around.
inline constexpr int kWarnAci = 1;
inline constexpr unsigned kWarnRgb = 0xd00000;
inline constexpr double kWarnWeightMm = 0.5;
// A thin line (a leader, a construction line): its weight on paper.
inline constexpr double kThinWeightMm = 0.13;

// How strongly a filled area (Hatch) is laid on screen and in the SVG: light enough that
// the lines and texts over it read.
inline constexpr double kHatchOpacity = 0.18;

enum class Stroke { Solid, Dashed, Thin };

struct Point {
    double x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

struct Line {
    Point a, b;
};
// Counter-clockwise from startDeg to endDeg (degrees, 0 along +x), as DXF has it.
struct Arc {
    Point c;
    double r;
    double startDeg, endDeg;
};
struct Circle {
    Point c;
    double r;
};
struct Polyline {
    std::vector<Point> points;
    bool closed = false;
};
enum class Align { Left, Centre, Right };
struct Text {
    Point at;          // baseline point, placed by `align`
    std::string text;  // UTF-8
    double height;     // cap height in metres
    Align align = Align::Left;
    bool warning = false;  // a weak point's note, shown in red
};

// A filled area: its outer rings and holes (each ring closed, first point not repeated),
// filled by the even-odd rule, solid in its item's colour (light where it is shown
// under lines: the panel and the SVG draw it faint).
struct Hatch {
    std::vector<std::vector<Point>> rings;
};

using Shape = std::variant<Line, Arc, Circle, Polyline, Text, Hatch>;

struct Item {
    Shape shape;
    Layer layer;
    Stroke stroke = Stroke::Solid;
    // Shown in red whatever its layer's colour (DXF colour 1): a weak point's mark.
    bool warning = false;
    // The item's layer in CAD when it is not the layer's own name (a designer's outline
    // back on the layer it was drawn on, a level's region on a layer of its height); it
    // takes the style of `layer`.
    std::string layerName{};
};

// A section or the plan: the items it is made of (indices into Drawing::items) and,
// for a section, the height of its ground line, below which nothing of it lies.
struct Part {
    enum class Kind { Section, Plan };
    Kind kind;
    double ground = 0;
    std::size_t begin = 0, end = 0;
    // Where the part's own origin lies in the drawing (the plan's first rod: it is drawn
    // about its own origin, then moved into place).
    Point origin{};
};

// A dimensioned length: from a to b, drawn by the items [begin, end) (its line, ticks and
// label, contiguous), which a DXF writes as one DIMENSION entity measuring |ab|.
struct Dimension {
    Point a, b;
    std::size_t begin = 0, end = 0;
};

// An area the closed formulas claim protected on the plane Hx (a ring, closed, its first
// point not repeated), and the weak points that withdraw the claim: where the unit found
// the sphere reaching one of those places, the area is drawn in red, not as protected.
struct ClaimedArea {
    std::vector<Point> ring;
    std::vector<Place> withdrawnBy{};
};

struct Box {
    double x0, y0, x1, y1;
    double width() const { return x1 - x0; }
    double height() const { return y1 - y0; }
};

struct Drawing {
    std::string title;  // the form's caption
    std::vector<Item> items;
    // The sections and the plan, top to bottom; the title, the scale bar and the leaders
    // of moved labels belong to none.
    std::vector<Part> parts;
    // What the closed formulas claim protected on the plane Hx: the areas their
    // construction curves bound (the Rx circles, the waists and strips, a figure's inside),
    // in drawing coordinates. The plan's protected outline is their union. Not drawn.
    std::vector<ClaimedArea> claimed;
    // The dimensioned lengths.
    std::vector<Dimension> dimensions;
    // The size text is drawn at (metres): kTextMm on paper at the stated scale.
    double textHeight = 1;
    // N of the stated scale 1:N the text sizes are chosen for; 0 for none.
    int scale = 0;
    // Extent of every item (texts by their estimated width); empty for an empty drawing.
    std::optional<Box> bounds() const;

    void add(Shape shape, Layer layer, Stroke stroke = Stroke::Solid, bool warning = false);
    // Closes a part: the items added since the last part ended.
    void endPart(Part::Kind kind, double ground = 0);
    // The clear space kept around the drawing when it is fitted or put on paper.
    double margin() const { return 2 * textHeight; }
};

// Text on paper, as drafting wants it (at least 3.5 mm for characters, 2.5 mm for
// digits): labels, the headings of the section and the plan, the title.
inline constexpr double kTextMm = 3.5;
inline constexpr double kDigitsMm = 2.5;  // a label of letters, digits and signs only
inline constexpr double kHeadingMm = 5;
inline constexpr double kTitleMm = 7;
inline constexpr double kHeadingPerText = kHeadingMm / kTextMm;
inline constexpr double kTitlePerText = kTitleMm / kTextMm;
// The room a drawing is put in on the calculation sheet (a page's text width, and a
// height that leaves room for the working around it).
inline constexpr double kFigureWidthMm = 170;
inline constexpr double kFigureHeightMm = 200;
// The room a drawing has on an A3 sheet (420 × 297 mm) within its frame and above its
// title block: what the drawing of a press is made for (the panel, the DXF, the SVG).
inline constexpr double kA3RoomWidthMm = 380;
inline constexpr double kA3RoomHeightMm = 230;

// The scales of building drawings: N of 1:N is one of these times a power of ten, from 10.
inline constexpr double kScaleSteps[] = {1, 1.5, 2, 2.5, 3, 4, 5, 6, 8};
// The largest such scale at which the drawing with its margin fits within
// widthMm × heightMm on paper; 0 for an empty drawing or one that fits at no scale up to
// 1:10,000,000.
int roundScale(const Drawing& d, double widthMm, double heightMm);
// The line under a drawing on paper that states its scale, in millimetres.
inline constexpr double kScaleLineMm = 6;

// A text's height is the height of its capitals; the renderers set the font size (the em)
// to this many times it.
inline constexpr double kEmPerCapHeight = 1 / 0.72;
// Whether a character takes a whole em across (CJK ideographs, kana, hangul, full-width
// forms) rather than about half of one.
bool wideCharacter(char32_t c);
// The room a text takes, estimated from its characters (no font at hand here): an em for
// a wide character, 0.8 of the cap height for any other.
double textWidth(const Text& t);
Box textBox(const Text& t);

// How far an arc turns from its start to its end, counter-clockwise: [0, 360) degrees.
double arcSpan(const Arc& a);

// Point of an arc or circle at angle `deg`.
Point onCircle(Point c, double r, double deg);

// Whether the item is shown in red: a weak point's mark or note.
bool isWarning(const Item& item);

}  // namespace tervalen::drawing
