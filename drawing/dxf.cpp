#include "drawing/dxf.h"

#include <cmath>
#include <cstdio>
#include <locale>
#include <sstream>

#include "drawing/number_text.h"
#include "forms/utf8.h"

namespace tervalen::drawing {
namespace {

// Writes group codes and values, and hands out handles.
// Every number in the classic locale's form, whatever locale the program runs in.
class Writer {
public:
    Writer() { m_out.imbue(std::locale::classic()); }
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

void table(Writer& w, const char* name, const char* handle, int count) {
    w.pair(0, "TABLE");
    w.pair(2, name);
    w.pair(5, handle);
    w.pair(330, "0");
    w.pair(100, "AcDbSymbolTable");
    w.pair(70, count);
}

void record(Writer& w, const char* type, const char* owner, const char* subclass) {
    w.pair(0, type);
    w.pair(5, w.handle());
    w.pair(330, owner);
    w.pair(100, "AcDbSymbolTableRecord");
    w.pair(100, subclass);
}

void tables(Writer& w, double th) {
    w.pair(0, "SECTION");
    w.pair(2, "TABLES");

    table(w, "VPORT", "8", 0);
    w.pair(0, "ENDTAB");

    table(w, "LTYPE", "5", 4);
    for (const char* name : {"ByBlock", "ByLayer", "Continuous"}) {
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

    table(w, "LAYER", "2", static_cast<int>(std::size(kLayers)) + 1);
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
    }
    w.pair(0, "ENDTAB");

    table(w, "STYLE", "3", 2);
    for (const char* name : {"Standard", kTextStyle}) {
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

    table(w, "VIEW", "6", 0);
    w.pair(0, "ENDTAB");
    table(w, "UCS", "7", 0);
    w.pair(0, "ENDTAB");

    table(w, "APPID", "9", 1);
    record(w, "APPID", "9", "AcDbRegAppTableRecord");
    w.pair(2, "ACAD");
    w.pair(70, 0);
    w.pair(0, "ENDTAB");

    table(w, "DIMSTYLE", "A", 1);
    w.pair(100, "AcDbDimStyleTable");
    w.pair(0, "DIMSTYLE");
    w.pair(105, w.handle());
    w.pair(330, "A");
    w.pair(100, "AcDbSymbolTableRecord");
    w.pair(100, "AcDbDimStyleTableRecord");
    w.pair(2, "Standard");
    w.pair(70, 0);
    w.pair(0, "ENDTAB");

    table(w, "BLOCK_RECORD", "1", 2);
    struct Space {
        const char *handle, *name, *layout;
    };
    for (auto [handle, name, layout] : {Space{kModelRecord, "*Model_Space", kModelLayout},
                                        Space{kPaperRecord, "*Paper_Space", kPaperLayout}}) {
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

void blocks(Writer& w) {
    w.pair(0, "SECTION");
    w.pair(2, "BLOCKS");
    for (auto [owner, name] :
         {std::pair{kModelRecord, "*Model_Space"}, std::pair{kPaperRecord, "*Paper_Space"}}) {
        w.pair(0, "BLOCK");
        w.pair(5, w.handle());
        w.pair(330, owner);
        w.pair(100, "AcDbEntity");
        w.pair(8, "0");
        w.pair(100, "AcDbBlockBegin");
        w.pair(2, name);
        w.pair(70, 0);
        w.point(10, {0, 0});
        w.pair(3, name);
        w.pair(1, "");
        w.pair(0, "ENDBLK");
        w.pair(5, w.handle());
        w.pair(330, owner);
        w.pair(100, "AcDbEntity");
        w.pair(8, "0");
        w.pair(100, "AcDbBlockEnd");
    }
    w.pair(0, "ENDSEC");
}

void entityHead(Writer& w, const char* type, const Item& item, const char* subclass) {
    w.pair(0, type);
    w.pair(5, w.handle());
    w.pair(330, kModelRecord);
    w.pair(100, "AcDbEntity");
    w.pair(8, layerName(item.layer));
    if (item.stroke == Stroke::Dashed) w.pair(6, "DASHED");
    if (item.stroke == Stroke::Thin) w.pair(370, 13);  // 0.13 mm
    if (item.warning) w.pair(370, 50);                 // a weak point's mark: 0.5 mm
    if (isWarning(item)) w.pair(62, kWarnAci);         // red whatever the layer
    w.pair(100, subclass);
}

void entity(Writer& w, const Item& item) {
    if (const auto* l = std::get_if<Line>(&item.shape)) {
        entityHead(w, "LINE", item, "AcDbLine");
        w.point(10, l->a);
        w.point(11, l->b);
    } else if (const auto* c = std::get_if<Circle>(&item.shape)) {
        entityHead(w, "CIRCLE", item, "AcDbCircle");
        w.point(10, c->c);
        w.real(40, c->r);
    } else if (const auto* a = std::get_if<Arc>(&item.shape)) {
        entityHead(w, "ARC", item, "AcDbCircle");
        w.point(10, a->c);
        w.real(40, a->r);
        w.pair(100, "AcDbArc");
        w.real(50, a->startDeg);
        w.real(51, a->endDeg);
    } else if (const auto* p = std::get_if<Polyline>(&item.shape)) {
        entityHead(w, "LWPOLYLINE", item, "AcDbPolyline");
        w.pair(90, static_cast<int>(p->points.size()));
        w.pair(70, p->closed ? 1 : 0);
        for (Point q : p->points) {
            w.real(10, q.x);
            w.real(20, q.y);
        }
    } else if (const auto* t = std::get_if<Text>(&item.shape)) {
        entityHead(w, "TEXT", item, "AcDbText");
        w.point(10, t->at);
        w.real(40, t->height);
        w.pair(1, dxfText(t->text));
        w.pair(7, kTextStyle);
        const int align = t->align == Align::Left ? 0 : t->align == Align::Centre ? 1 : 2;
        if (align != 0) {
            w.pair(72, align);
            w.point(11, t->at);
        }
        w.pair(100, "AcDbText");
    }
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
    // The entities first, so that the header can state the next free handle.
    Writer body;
    const Box box = d.bounds().value_or(Box{0, 0, 1, 1});
    tables(body, d.textHeight);
    blocks(body);
    body.pair(0, "SECTION");
    body.pair(2, "ENTITIES");
    for (const Item& item : d.items) entity(body, item);
    body.pair(0, "ENDSEC");
    objects(body);
    body.pair(0, "EOF");

    Writer head;
    head.pair(0, "SECTION");
    head.pair(2, "HEADER");
    head.pair(9, "$ACADVER");
    head.pair(1, "AC1015");
    head.pair(9, "$DWGCODEPAGE");
    head.pair(3, "ANSI_936");
    head.pair(9, "$HANDSEED");
    head.pair(5, body.nextHandle());
    head.pair(9, "$INSUNITS");
    head.pair(70, 6);  // metres
    head.pair(9, "$MEASUREMENT");
    head.pair(70, 1);
    head.pair(9, "$EXTMIN");
    head.point(10, {box.x0, box.y0});
    head.pair(9, "$EXTMAX");
    head.point(10, {box.x1, box.y1});
    head.pair(0, "ENDSEC");
    head.pair(0, "SECTION");
    head.pair(2, "CLASSES");
    head.pair(0, "ENDSEC");
    return head.str() + body.str();
}

}  // namespace tervalen::drawing
