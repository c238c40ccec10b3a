#include "drawing/dxf.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

#include "drawing/code_page.h"
#include "drawing/number_text.h"
#include "forms/utf8.h"

namespace tervalen::drawing {
namespace {

// Writes group codes and values, and hands out handles.
// Every number in the classic locale's form, whatever locale the program runs in.
class Writer {
public:
    explicit Writer(bool r12 = false) : r12(r12) { m_out.imbue(std::locale::classic()); }
    const bool r12;  // AutoCAD R12: no handles, owners or subclass markers
    void pair(int code, std::string_view value) { m_out << code << '\n' << value << '\n'; }
    void pair(int code, int value) { m_out << code << '\n' << value << '\n'; }
    void real(int code, double value) {
        m_out << code << '\n' << numberText(value, 12, 1e-12) << '\n';
    }
    void point(int code, Point p) {
        real(code, p.x);
        real(code + 10, p.y);
        real(code + 20, 0.0);
    }
    std::string handle() {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%X", m_next++);
        return buf;
    }
    std::string nextHandle() const {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%X", m_next);
        return buf;
    }
    std::string str() const { return m_out.str(); }

private:
    std::ostringstream m_out;
    unsigned m_next = 0x20;  // below: the fixed handles of the tables and dictionaries
};

// Fixed handles, so that owners can be named before they are written.
constexpr const char* kModelRecord = "1F";
constexpr const char* kPaperRecord = "1E";
constexpr const char* kRootDict = "C";
constexpr const char* kGroupDict = "D";
constexpr const char* kLayoutDict = "1A";
constexpr const char* kModelLayout = "1D";
constexpr const char* kPaperLayout = "1C";

// The style every text is written in. AutoCAD and ezdxf take its font from the style's
// font files (txt with the big font gbcbig.shx); LibreCAD 2.2 ignores those and looks the
// style's name up among its own stroke fonts, falling back to one without any CJK glyph.
// "azomix" is the font of Debian's librecad-data with the most of the characters the
// drawings use (none of its fonts has all of them: 两 单 范 围 护 针 线 … are missing).
constexpr const char* kTextStyle = "azomix";

// A subclass marker, which R12 does not know.
void subclass(Writer& w, const char* name) {
    if (!w.r12) w.pair(100, name);
}

void table(Writer& w, const char* name, const char* handle, int count) {
    w.pair(0, "TABLE");
    w.pair(2, name);
    if (w.r12) {
        w.pair(70, count);
        return;
    }
    w.pair(5, handle);
    w.pair(330, "0");
    w.pair(100, "AcDbSymbolTable");
    w.pair(70, count);
}

void record(Writer& w, const char* type, const char* owner, const char* subclass) {
    w.pair(0, type);
    if (w.r12) return;
    w.pair(5, w.handle());
    w.pair(330, owner);
    w.pair(100, "AcDbSymbolTableRecord");
    w.pair(100, subclass);
}

// A section or the plan as a block of its own, inserted where it belongs.
struct View {
    std::string name, handle;
    const Part* part;
};

// A dimension as CAD has it: a DIMENSION entity and the block of what it shows.
struct DimBlock {
    std::string name, handle;
    const Dimension* dim;
};

// The dimension style every DIMENSION is written in.
constexpr const char* kDimStyle = "TERVALEN";

// Where the file opens: on the whole drawing, with a little room around it.
void vport(Writer& w, const Box& box) {
    const Point centre{(box.x0 + box.x1) / 2, (box.y0 + box.y1) / 2};
    const double height = box.height() * 1.1, width = box.width() * 1.1;
    table(w, "VPORT", "8", 1);
    record(w, "VPORT", "8", "AcDbViewportTableRecord");
    w.pair(2, "*Active");
    w.pair(70, 0);
    w.point(10, {0, 0});
    w.real(11, 1.0);
    w.real(21, 1.0);
    w.real(12, centre.x);
    w.real(22, centre.y);
    w.real(13, 0.0);
    w.real(23, 0.0);
    w.real(14, 1.0);
    w.real(24, 1.0);
    w.real(15, 10.0);
    w.real(25, 10.0);
    w.real(16, 0.0);
    w.real(26, 0.0);
    w.real(36, 1.0);
    w.point(17, {0, 0});
    w.real(40, std::max(height, 1.0));
    w.real(41, std::max(width, 1.0) / std::max(height, 1.0));
    w.real(42, 50.0);
    w.real(43, 0.0);
    w.real(44, 0.0);
    w.real(50, 0.0);
    w.real(51, 0.0);
    w.pair(71, 0);
    w.pair(72, 1000);
    w.pair(73, 1);
    w.pair(74, 3);
    w.pair(75, 0);
    w.pair(76, 0);
    w.pair(77, 0);
    w.pair(78, 0);
    w.pair(0, "ENDTAB");
}

// The drawing as a stored view of its own name, to come back to.
void view(Writer& w, const Box& box) {
    table(w, "VIEW", "6", 1);
    record(w, "VIEW", "6", "AcDbViewTableRecord");
    w.pair(2, "LP-DRAWING");
    w.pair(70, 0);
    w.real(40, std::max(box.height() * 1.1, 1.0));
    w.real(10, (box.x0 + box.x1) / 2);
    w.real(20, (box.y0 + box.y1) / 2);
    w.real(41, std::max(box.width() * 1.1, 1.0));
    w.real(11, 0.0);
    w.real(21, 0.0);
    w.real(31, 1.0);
    w.point(12, {0, 0});
    w.real(42, 50.0);
    w.real(43, 0.0);
    w.real(44, 0.0);
    w.real(50, 0.0);
    w.pair(71, 0);
    w.pair(281, 0);
    w.pair(72, 0);
    w.pair(0, "ENDTAB");
}

// A layer of the drawing's own beside the LP-… ones (Item::layerName), in the style of the
// layer its items are drawn like.
struct NamedLayer {
    std::string name;
    Layer style;
};

// The name of an item's layer in the file: its own (characters CAD does not take in a
// layer's name replaced by '_'; in the file's code page, which every reader takes a name
// in, or where a character has no GBK form as \U+ escapes), or its layer's.
std::string layerOf(const Item& item) {
    if (item.layerName.empty()) return layerName(item.layer);
    std::string name;
    for (char c : item.layerName)
        name += std::string_view("<>/\\\":;?*|,=`").find(c) != std::string_view::npos ||
                        static_cast<unsigned char>(c) < 0x20
                    ? '_'
                    : c;
    if (std::optional<std::string> gbk = gbkText(name)) return *gbk;
    return dxfText(name);
}

void tables(Writer& w, double th, const Box& box, const std::vector<View>& views,
            const std::vector<NamedLayer>& named, const std::vector<DimBlock>& dims) {
    w.pair(0, "SECTION");
    w.pair(2, "TABLES");

    vport(w, box);

    table(w, "LTYPE", "5", w.r12 ? 2 : 4);
    for (const char* name : {"ByBlock", "ByLayer", "Continuous"}) {
        if (w.r12 && std::string_view(name) != "Continuous") continue;
        record(w, "LTYPE", "5", "AcDbLinetypeTableRecord");
        w.pair(2, name);
        w.pair(70, 0);
        w.pair(3, std::string_view(name) == "Continuous" ? "Solid line" : "");
        w.pair(72, 65);
        w.pair(73, 0);
        w.real(40, 0.0);
    }
    // Dashes sized to the drawing: its text height in metres.
    record(w, "LTYPE", "5", "AcDbLinetypeTableRecord");
    w.pair(2, "DASHED");
    w.pair(70, 0);
    w.pair(3, "__ __ __");
    w.pair(72, 65);
    w.pair(73, 2);
    w.real(40, 1.5 * th);
    w.real(49, th);
    w.pair(74, 0);
    w.real(49, -0.5 * th);
    w.pair(74, 0);
    w.pair(0, "ENDTAB");

    table(w, "LAYER", "2", static_cast<int>(std::size(kLayers) + named.size()) + 1);
    record(w, "LAYER", "2", "AcDbLayerTableRecord");
    w.pair(2, "0");
    w.pair(70, 0);
    w.pair(62, 7);
    w.pair(6, "Continuous");
    for (Layer layer : kLayers) {
        record(w, "LAYER", "2", "AcDbLayerTableRecord");
        w.pair(2, layerName(layer));
        w.pair(70, 0);
        w.pair(62, styleOf(layer).aci);
        w.pair(6, styleOf(layer).dashed ? "DASHED" : "Continuous");
        // Its lines' weight on paper, in hundredths of a millimetre.
        if (!w.r12) w.pair(370, static_cast<int>(std::lround(styleOf(layer).weightMm * 100)));
    }
    for (const NamedLayer& l : named) {
        record(w, "LAYER", "2", "AcDbLayerTableRecord");
        w.pair(2, l.name);
        w.pair(70, 0);
        w.pair(62, styleOf(l.style).aci);
        if (!w.r12) w.pair(370, static_cast<int>(std::lround(styleOf(l.style).weightMm * 100)));
    }
    w.pair(0, "ENDTAB");

    table(w, "STYLE", "3", 2);
    std::string textStyle;
    for (const char* name : {"Standard", kTextStyle}) {
        textStyle = w.nextHandle();
        record(w, "STYLE", "3", "AcDbTextStyleTableRecord");
        w.pair(2, name);
        w.pair(70, 0);
        w.real(40, 0.0);
        w.real(41, 1.0);
        w.real(50, 0.0);
        w.pair(71, 0);
        w.real(42, th);
        w.pair(3, "txt");
        w.pair(4, "gbcbig.shx");  // the Chinese big font every AutoCAD ships
    }
    w.pair(0, "ENDTAB");

    view(w, box);
    table(w, "UCS", "7", 0);
    w.pair(0, "ENDTAB");

    table(w, "APPID", "9", 1);
    record(w, "APPID", "9", "AcDbRegAppTableRecord");
    w.pair(2, "ACAD");
    w.pair(70, 0);
    w.pair(0, "ENDTAB");

    table(w, "DIMSTYLE", "A", w.r12 ? 1 : 2);
    subclass(w, "AcDbDimStyleTable");
    for (const char* name : {"Standard", kDimStyle}) {
        if (w.r12 && name == kDimStyle) continue;
        w.pair(0, "DIMSTYLE");
        if (!w.r12) {
            w.pair(105, w.handle());
            w.pair(330, "A");
            w.pair(100, "AcDbSymbolTableRecord");
            w.pair(100, "AcDbDimStyleTableRecord");
        }
        w.pair(2, name);
        w.pair(70, 0);
        if (name != kDimStyle) continue;
        // Arrows, the value above its line at the size digits are drafted at.
        const double digits = th * kDigitsMm / kTextMm;
        w.real(41, digits * 0.8);   // DIMASZ
        w.real(42, 0.0);            // DIMEXO
        w.real(44, digits * 0.5);   // DIMEXE
        w.real(140, digits);        // DIMTXT
        w.real(147, digits * 0.3);  // DIMGAP
        w.pair(77, 1);              // DIMTAD: above the line
        w.pair(271, 4);             // DIMDEC
        w.pair(340, textStyle);     // DIMTXSTY
    }
    w.pair(0, "ENDTAB");

    if (w.r12) {
        w.pair(0, "ENDSEC");
        return;
    }
    table(w, "BLOCK_RECORD", "1", 2 + static_cast<int>(views.size() + dims.size()));
    struct Space {
        std::string handle, name, layout;
    };
    std::vector<Space> spaces{{kModelRecord, "*Model_Space", kModelLayout},
                              {kPaperRecord, "*Paper_Space", kPaperLayout}};
    for (const View& v : views) spaces.push_back({v.handle, v.name, "0"});
    for (const DimBlock& m : dims) spaces.push_back({m.handle, m.name, "0"});
    for (const auto& [handle, name, layout] : spaces) {
        w.pair(0, "BLOCK_RECORD");
        w.pair(5, handle);
        w.pair(330, "1");
        w.pair(100, "AcDbSymbolTableRecord");
        w.pair(100, "AcDbBlockTableRecord");
        w.pair(2, name);
        w.pair(340, layout);
    }
    w.pair(0, "ENDTAB");
    w.pair(0, "ENDSEC");
}

void entityHead(Writer& w, const char* type, const Item& item, const char* subclass,
                std::string_view owner) {
    w.pair(0, type);
    if (w.r12) {
        w.pair(8, layerName(item.layer));
        if (item.stroke == Stroke::Dashed) w.pair(6, "DASHED");
        if (isWarning(item)) w.pair(62, kWarnAci);
        return;
    }
    w.pair(5, w.handle());
    w.pair(330, owner);
    w.pair(100, "AcDbEntity");
    w.pair(8, layerOf(item));
    if (item.stroke == Stroke::Dashed) w.pair(6, "DASHED");
    if (item.stroke == Stroke::Thin) w.pair(370, 13);  // 0.13 mm
    if (item.warning) w.pair(370, 50);                 // a weak point's mark: 0.5 mm
    if (isWarning(item)) w.pair(62, kWarnAci);         // red whatever the layer
    w.pair(100, subclass);
}

// Whether p lies inside the closed ring (crossings of a ray towards +x).
bool insideRing(Point p, const std::vector<Point>& ring) {
    bool in = false;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        const Point a = ring[i], b = ring[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            in = !in;
    }
    return in;
}

// How many of the other rings the ring lies within (by its first point).
int nestingDepth(const std::vector<Point>& ring, const std::vector<std::vector<Point>>& all) {
    int depth = 0;
    for (const auto& other : all)
        if (&other != &ring && other.size() >= 3 && insideRing(ring.front(), other)) ++depth;
    return depth;
}

void entity(Writer& w, const Item& item, std::string_view owner = kModelRecord) {
    if (const auto* l = std::get_if<Line>(&item.shape)) {
        entityHead(w, "LINE", item, "AcDbLine", owner);
        w.point(10, l->a);
        w.point(11, l->b);
    } else if (const auto* c = std::get_if<Circle>(&item.shape)) {
        entityHead(w, "CIRCLE", item, "AcDbCircle", owner);
        w.point(10, c->c);
        w.real(40, c->r);
    } else if (const auto* a = std::get_if<Arc>(&item.shape)) {
        entityHead(w, "ARC", item, "AcDbCircle", owner);
        w.point(10, a->c);
        w.real(40, a->r);
        subclass(w, "AcDbArc");
        w.real(50, a->startDeg);
        w.real(51, a->endDeg);
    } else if (const auto* p = std::get_if<Polyline>(&item.shape); p && w.r12) {
        entityHead(w, "POLYLINE", item, "", owner);
        w.pair(66, 1);
        w.point(10, {0, 0});
        w.pair(70, p->closed ? 1 : 0);
        for (Point q : p->points) {
            w.pair(0, "VERTEX");
            w.pair(8, layerName(item.layer));
            w.point(10, q);
        }
        w.pair(0, "SEQEND");
        w.pair(8, layerName(item.layer));
    } else if (const auto* p = std::get_if<Polyline>(&item.shape)) {
        entityHead(w, "LWPOLYLINE", item, "AcDbPolyline", owner);
        w.pair(90, static_cast<int>(p->points.size()));
        w.pair(70, p->closed ? 1 : 0);
        for (Point q : p->points) {
            w.real(10, q.x);
            w.real(20, q.y);
        }
    } else if (const auto* h = std::get_if<Hatch>(&item.shape); h && !w.r12) {
        std::vector<const std::vector<Point>*> rings;
        for (const auto& ring : h->rings)
            if (ring.size() >= 3) rings.push_back(&ring);
        if (rings.empty()) return;
        entityHead(w, "HATCH", item, "AcDbHatch", owner);
        w.point(10, {0, 0});  // the elevation
        w.real(210, 0.0);
        w.real(220, 0.0);
        w.real(230, 1.0);
        w.pair(2, "SOLID");
        w.pair(70, 1);  // solid fill
        w.pair(71, 0);  // not associative
        w.pair(91, static_cast<int>(rings.size()));
        for (const auto* ring : rings) {
            // A polyline path; an outer ring (inside an even number of others) also external.
            w.pair(92, nestingDepth(*ring, h->rings) % 2 == 0 ? 3 : 2);
            w.pair(72, 0);  // no bulges
            w.pair(73, 1);  // closed
            w.pair(93, static_cast<int>(ring->size()));
            for (Point q : *ring) {
                w.real(10, q.x);
                w.real(20, q.y);
            }
            w.pair(97, 0);  // no source objects
        }
        w.pair(75, 0);  // odd parity: holes stay open
        w.pair(76, 1);  // predefined pattern
        w.pair(98, 0);  // no seed points
    } else if (const auto* t = std::get_if<Text>(&item.shape)) {
        entityHead(w, "TEXT", item, "AcDbText", owner);
        w.point(10, t->at);
        w.real(40, t->height);
        w.pair(1, dxfText(t->text));
        w.pair(7, kTextStyle);
        const int align = t->align == Align::Left ? 0 : t->align == Align::Centre ? 1 : 2;
        if (align != 0) {
            w.pair(72, align);
            w.point(11, t->at);
        }
        subclass(w, "AcDbText");
    }
}

// Which dimension each item draws (-1: none), in R2000; R12 writes them as they are.
std::vector<int> dimensionOf(const Drawing& d, const std::vector<DimBlock>& dims) {
    std::vector<int> out(d.items.size(), -1);
    for (std::size_t m = 0; m < dims.size(); ++m)
        for (std::size_t k = dims[m].dim->begin; k < dims[m].dim->end && k < out.size(); ++k)
            out[k] = static_cast<int>(m);
    return out;
}

// The direction from a to b, in degrees.
double direction(Point a, Point b) {
    const double deg = std::atan2(b.y - a.y, b.x - a.x) * 180 / 3.14159265358979323846;
    return deg < 0 ? deg + 360 : deg;
}

// A linear DIMENSION measuring from a to b along their line, its value where the drawing put its
// label.
void dimension(Writer& w, const Drawing& d, const DimBlock& m, std::string_view owner) {
    const Dimension& dim = *m.dim;
    const auto* t = std::get_if<Text>(&d.items[dim.end - 1].shape);
    const Box b = t ? textBox(*t) : Box{dim.a.x, dim.a.y, dim.b.x, dim.b.y};
    w.pair(0, "DIMENSION");
    w.pair(5, w.handle());
    w.pair(330, owner);
    w.pair(100, "AcDbEntity");
    w.pair(8, layerName(Layer::Dim));
    w.pair(100, "AcDbDimension");
    w.pair(2, m.name);
    w.point(10, dim.b);  // the dimension line runs through the measured points
    w.point(11, {(b.x0 + b.x1) / 2, (b.y0 + b.y1) / 2});
    w.pair(70, 0 | 32 | 128);  // linear, its own block, the text where it stands
    w.pair(1, t ? dxfText(t->text) : std::string());
    w.pair(3, kDimStyle);
    w.pair(100, "AcDbAlignedDimension");
    w.point(13, dim.a);
    w.point(14, dim.b);
    // Measured along the line from a to b: its whole length.
    w.real(50, direction(dim.a, dim.b));
    w.pair(100, "AcDbRotatedDimension");
}

// The item k, in its place among its owner's entities: a dimension's first item as the
// DIMENSION, its other items in the dimension's block only.
void placed(Writer& w, const Drawing& d, std::size_t k, std::string_view owner,
            const std::vector<DimBlock>& dims, const std::vector<int>& dimOf) {
    if (dimOf[k] < 0) {
        entity(w, d.items[k], owner);
        return;
    }
    const DimBlock& m = dims[static_cast<std::size_t>(dimOf[k])];
    if (k == m.dim->begin) dimension(w, d, m, owner);
}

void blockBegin(Writer& w, const std::string& owner, const std::string& name, bool anonymous) {
    w.pair(0, "BLOCK");
    if (!w.r12) {
        w.pair(5, w.handle());
        w.pair(330, owner);
        w.pair(100, "AcDbEntity");
    }
    w.pair(8, "0");
    subclass(w, "AcDbBlockBegin");
    w.pair(2, name);
    w.pair(70, anonymous ? 1 : 0);
    w.point(10, {0, 0});
    w.pair(3, name);
    w.pair(1, "");
}

void blockEnd(Writer& w, const std::string& owner) {
    w.pair(0, "ENDBLK");
    if (!w.r12) {
        w.pair(5, w.handle());
        w.pair(330, owner);
        w.pair(100, "AcDbEntity");
    }
    w.pair(8, "0");
    subclass(w, "AcDbBlockEnd");
}

void blocks(Writer& w, const Drawing& d, const std::vector<View>& views,
            const std::vector<DimBlock>& dims, const std::vector<int>& dimOf) {
    w.pair(0, "SECTION");
    w.pair(2, "BLOCKS");
    struct Block {
        std::string owner, name;
        const Part* part;
    };
    std::vector<Block> all;
    if (!w.r12)
        all = {{kModelRecord, "*Model_Space", nullptr}, {kPaperRecord, "*Paper_Space", nullptr}};
    for (const View& v : views) all.push_back({v.handle, v.name, v.part});
    for (const auto& [owner, name, part] : all) {
        blockBegin(w, owner, name, false);
        // A view's items keep their places: the block's base point is the origin, where
        // it is inserted.
        if (part)
            for (std::size_t k = part->begin; k < part->end; ++k)
                placed(w, d, k, owner, dims, dimOf);
        blockEnd(w, owner);
    }
    // What each dimension shows: its line, ticks and value as drawn.
    for (const DimBlock& m : dims) {
        blockBegin(w, m.handle, m.name, true);
        for (std::size_t k = m.dim->begin; k < m.dim->end; ++k) entity(w, d.items[k], m.handle);
        blockEnd(w, m.handle);
    }
    w.pair(0, "ENDSEC");
}

void insert(Writer& w, const View& v) {
    w.pair(0, "INSERT");
    if (!w.r12) {
        w.pair(5, w.handle());
        w.pair(330, kModelRecord);
        w.pair(100, "AcDbEntity");
    }
    w.pair(8, "0");
    subclass(w, "AcDbBlockReference");
    w.pair(2, v.name);
    w.point(10, {0, 0});
}

void dictionary(Writer& w, const char* handle, const char* owner,
                std::initializer_list<std::pair<const char*, const char*>> entries) {
    w.pair(0, "DICTIONARY");
    w.pair(5, handle);
    w.pair(330, owner);
    w.pair(100, "AcDbDictionary");
    w.pair(281, 1);
    for (auto [name, h] : entries) {
        w.pair(3, name);
        w.pair(350, h);
    }
}

void layout(Writer& w, const char* handle, const char* name, int order, const char* block) {
    w.pair(0, "LAYOUT");
    w.pair(5, handle);
    w.pair(330, kLayoutDict);
    w.pair(100, "AcDbPlotSettings");
    w.pair(1, "");
    w.pair(4, "");
    w.pair(6, "");
    w.real(40, 0);
    w.real(41, 0);
    w.real(42, 0);
    w.real(43, 0);
    w.real(44, 0);
    w.real(45, 0);
    w.real(46, 0);
    w.real(47, 0);
    w.real(48, 0);
    w.real(49, 0);
    w.real(140, 0);
    w.real(141, 0);
    w.real(142, 1);
    w.real(143, 1);
    w.pair(70, 688);
    w.pair(72, 1);  // millimetres on paper
    w.pair(73, 0);
    w.pair(74, 5);
    w.pair(7, "");
    w.pair(75, 16);
    w.real(147, 1);
    w.real(148, 0);
    w.real(149, 0);
    w.pair(100, "AcDbLayout");
    w.pair(1, name);
    w.pair(70, 1);
    w.pair(71, order);
    w.point(10, {0, 0});
    w.point(11, {420, 297});
    w.point(12, {0, 0});
    w.point(14, {0, 0});
    w.point(15, {0, 0});
    w.real(146, 0);
    w.point(13, {0, 0});
    w.point(16, {1, 0});
    w.point(17, {0, 1});
    w.pair(76, 0);
    w.pair(330, block);
}

void objects(Writer& w) {
    w.pair(0, "SECTION");
    w.pair(2, "OBJECTS");
    dictionary(w, kRootDict, "0", {{"ACAD_GROUP", kGroupDict}, {"ACAD_LAYOUT", kLayoutDict}});
    dictionary(w, kGroupDict, kRootDict, {});
    dictionary(w, kLayoutDict, kRootDict, {{"Layout1", kPaperLayout}, {"Model", kModelLayout}});
    layout(w, kModelLayout, "Model", 0, kModelRecord);
    layout(w, kPaperLayout, "Layout1", 1, kPaperRecord);
    w.pair(0, "ENDSEC");
}

}  // namespace

std::string dxfText(std::string_view utf8) {
    std::string out;
    for (char32_t c : forms::decodeUtf8(utf8)) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c > 0xFFFF) {
            out += '?';
        } else {
            char buf[16];
            std::snprintf(buf, sizeof buf, "\\U+%04X", static_cast<unsigned>(c));
            out += buf;
        }
    }
    return out;
}

std::string toDxf(const Drawing& d) {
    return toDxf(d, {});
}

std::string toDxf(const Drawing& drawn, const DxfOptions& options) {
    const std::optional<Drawing> withFrame =
        options.frame ? std::optional<Drawing>(framed(drawn, *options.frame)) : std::nullopt;
    const Drawing& d = withFrame ? *withFrame : drawn;
    const bool r12 = options.version == DxfVersion::R12;
    // The entities first, so that the header can state the next free handle.
    Writer body(r12);
    const Box box = d.bounds().value_or(Box{0, 0, 1, 1});
    // Each section and the plan a block: LP-SECTION-1, LP-SECTION-2 …, LP-PLAN.
    std::vector<View> views;
    int sections = 0;
    for (const Part& p : d.parts)
        views.push_back({p.kind == Part::Kind::Plan ? std::string("LP-PLAN")
                                                    : "LP-SECTION-" + std::to_string(++sections),
                         body.handle(), &p});
    // The drawing's own layers, each once, in the order first used.
    // CAD compares layer names without regard to case.
    const auto sameName = [](std::string_view a, std::string_view b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) ==
                   std::tolower(static_cast<unsigned char>(y));
        });
    };
    std::vector<NamedLayer> named;
    for (const Item& item : d.items) {
        if (item.layerName.empty()) continue;
        const std::string name = layerOf(item);
        const bool known = sameName(name, "0") ||
                           std::any_of(std::begin(kLayers), std::end(kLayers),
                                       [&](Layer l) { return sameName(name, layerName(l)); }) ||
                           std::any_of(named.begin(), named.end(),
                                       [&](const NamedLayer& l) { return sameName(l.name, name); });
        if (!known) named.push_back({name, item.layer});
    }
    std::vector<DimBlock> dims;
    if (!r12)
        for (const Dimension& m : d.dimensions)
            if (m.end <= d.items.size() && m.end > m.begin)
                dims.push_back({"*D" + std::to_string(dims.size() + 1), body.handle(), &m});
    const std::vector<int> dimOf = dimensionOf(d, dims);
    tables(body, d.textHeight, box, views, named, dims);
    blocks(body, d, views, dims, dimOf);
    body.pair(0, "SECTION");
    body.pair(2, "ENTITIES");
    for (const View& v : views) insert(body, v);
    // The title, the scale bar and the leaders, which belong to no view.
    for (std::size_t k = 0; k < d.items.size(); ++k) {
        const bool inView = std::any_of(d.parts.begin(), d.parts.end(),
                                        [&](const Part& p) { return k >= p.begin && k < p.end; });
        if (!inView) placed(body, d, k, kModelRecord, dims, dimOf);
    }
    body.pair(0, "ENDSEC");
    if (!r12) objects(body);
    body.pair(0, "EOF");

    Writer head;
    head.pair(0, "SECTION");
    head.pair(2, "HEADER");
    head.pair(9, "$ACADVER");
    head.pair(1, r12 ? "AC1009" : "AC1015");
    head.pair(9, "$DWGCODEPAGE");
    head.pair(3, "ANSI_936");
    if (!r12) {
        head.pair(9, "$HANDSEED");
        head.pair(5, body.nextHandle());
        head.pair(9, "$INSUNITS");
        head.pair(70, 6);  // metres
        head.pair(9, "$MEASUREMENT");
        head.pair(70, 1);
    }
    head.pair(9, "$EXTMIN");
    head.point(10, {box.x0, box.y0});
    head.pair(9, "$EXTMAX");
    head.point(10, {box.x1, box.y1});
    // Where a reader that takes the view from the header opens: on the whole drawing.
    head.pair(9, "$VIEWCTR");
    head.real(10, (box.x0 + box.x1) / 2);
    head.real(20, (box.y0 + box.y1) / 2);
    head.pair(9, "$VIEWSIZE");
    head.real(40, std::max(box.height() * 1.1, 1.0));
    head.pair(9, "$DIMSTYLE");
    head.pair(2, r12 ? "Standard" : kDimStyle);
    head.pair(0, "ENDSEC");
    if (!r12) {
        head.pair(0, "SECTION");
        head.pair(2, "CLASSES");
        head.pair(0, "ENDSEC");
    }
    return head.str() + body.str();
}

}  // namespace tervalen::drawing
