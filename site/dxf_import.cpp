#include "site/dxf_import.h"

#include <dl_creationadapter.h>
#include <dl_dxf.h>
#include <iconv.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <numbers>
#include <numeric>
#include <sstream>
#include <string_view>
#include <tuple>
#include <unordered_map>

#include "calc/common/utf8.h"
#include "calc/sphere/engine.h"
#include "files/one_line.h"
#include "files/read_file.h"

// How the reading is split: a scan of our own walks the group codes once, refuses what is
// no DXF text (binary DXF, a truncated file, a version not read), reads the header
// variables, the layer table and what libdxflib does not report (a polyline's thickness,
// an old-style POLYLINE's elevation, the extrusion direction, paper space), and checks
// every entity read. libdxflib then reads the geometry of the entities that passed:
// lines, arcs, polylines with their bulges, block definitions and their insertions. It
// is handed those entities alone (no hatch, spline or text reaches it): it writes outside
// its arrays on some broken entities, so none reach it.

namespace tervalen::site {
namespace {

using sphere::Point2;

// Ends of lines, arcs and open polylines closer than this join (metres).
constexpr double kJoin = 0.001;
// Arcs and bulges are followed by chords whose sagitta is at most this (metres)...
constexpr double kSagitta = 0.001;
// ...with at most this many chords an arc (longer arcs keep a larger sagitta).
constexpr int kMaxArcChords = 4096;
// Corners of a ring closer than this are one corner (metres).
constexpr double kSameCorner = 1e-6;
// The most corners a plan may make once blocks are inserted and arcs followed by chords.
constexpr std::size_t kMaxCorners = 4'000'000;
// Blocks inserted in blocks: deeper than this is a loop or no building plan.
constexpr int kMaxBlockDepth = 16;
// A value line longer than this is no value of an entity read here.
constexpr std::size_t kMaxValueLength = 1000;
// Coordinates beyond this (drawing units) are broken data.
constexpr double kMaxDrawingValue = 1e12;
// A plan's coordinates beyond this (metres) are broken data.
constexpr double kMaxPlanCoordinate = 1e9;
// The most corners of one LWPOLYLINE.
constexpr long kMaxPolylineCorners = 1'000'000;

// ---------------------------------------------------------------- messages

std::string fileText(const std::string& name) {
    return "“" + files::oneLine(name, 120) + "”";
}

[[noreturn]] void refuse(const std::string& name, const std::string& why) {
    throw DxfError("无法读取 DXF 文件 " + fileText(name) + "：" + why);
}

std::string lineText(std::size_t line) {
    return "第 " + std::to_string(line) + " 行";
}

// ---------------------------------------------------------------- groups

struct Group {
    int code = 0;
    std::string_view value;  // without the line end
    std::size_t line = 0;    // the code's line, from 1
};

std::string_view trimmed(std::string_view s) {
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && space(s.front())) s.remove_prefix(1);
    while (!s.empty() && space(s.back())) s.remove_suffix(1);
    return s;
}

// The document's groups one after another: a code line (an integer) and a value line.
class Groups {
public:
    Groups(std::string_view text, const std::string& name) : m_text(text), m_name(name) {}

    // The next group; a document that ends before "0 EOF" is refused.
    const Group& next() {
        if (m_peeked) {
            m_peeked = false;
            return m_group;
        }
        std::string_view codeLine, valueLine;
        const std::size_t line = m_line + 1;
        if (!readLine(codeLine) || !readLine(valueLine))
            refuse(m_name,
                   "文件在" + lineText(line) + "处中断，缺少结尾的 “0 EOF”（文件不完整？）");
        const std::string_view c = trimmed(codeLine);
        int code = 0;
        const auto [end, ec] = std::from_chars(c.data(), c.data() + c.size(), code);
        if (c.empty() || ec != std::errc() || end != c.data() + c.size() || code < 0 || code > 1071)
            refuse(m_name, lineText(line) + "应为组码（一个整数），却是 “" +
                               files::oneLine(c.substr(0, 40)) + "”");
        if (!valueLine.empty() && valueLine.back() == '\r') valueLine.remove_suffix(1);
        m_group = Group{code, valueLine, line};
        return m_group;
    }
    const Group& peek() {
        if (!m_peeked) {
            next();
            m_peeked = true;
        }
        return m_group;
    }

private:
    bool readLine(std::string_view& out) {
        if (m_pos >= m_text.size()) return false;
        const std::size_t end = m_text.find('\n', m_pos);
        const std::size_t stop = end == std::string_view::npos ? m_text.size() : end;
        out = m_text.substr(m_pos, stop - m_pos);
        m_pos = end == std::string_view::npos ? m_text.size() : end + 1;
        ++m_line;
        return true;
    }

    std::string_view m_text;
    const std::string& m_name;
    std::size_t m_pos = 0, m_line = 0;
    Group m_group;
    bool m_peeked = false;
};

std::optional<double> realOf(std::string_view v) {
    v = trimmed(v);
    if (!v.empty() && v.front() == '+') v.remove_prefix(1);
    double d = 0;
    const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), d);
    if (v.empty() || ec != std::errc() || end != v.data() + v.size() || !std::isfinite(d) ||
        std::fabs(d) > kMaxDrawingValue)
        return std::nullopt;
    return d;
}

std::optional<long> integerOf(std::string_view v) {
    v = trimmed(v);
    if (!v.empty() && v.front() == '+') v.remove_prefix(1);
    long i = 0;
    const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), i);
    if (v.empty() || ec != std::errc() || end != v.data() + v.size()) return std::nullopt;
    return i;
}

bool isRealCode(int code) {
    return (code >= 10 && code <= 59) || (code >= 110 && code <= 149) ||
           (code >= 210 && code <= 239) || (code >= 1010 && code <= 1059);
}
bool isIntegerCode(int code) {
    return (code >= 60 && code <= 99) || (code >= 160 && code <= 179) ||
           (code >= 270 && code <= 289) || (code >= 370 && code <= 389) ||
           (code >= 400 && code <= 409) || (code >= 1060 && code <= 1071);
}

// ---------------------------------------------------------------- text

bool validUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t n = 0;  // continuation bytes
        if (c < 0x80)
            n = 0;
        else if (c >= 0xC2 && c <= 0xDF)
            n = 1;
        else if (c >= 0xE0 && c <= 0xEF)
            n = 2;
        else if (c >= 0xF0 && c <= 0xF4)
            n = 3;
        else
            return false;
        if (i + n >= s.size() && n > 0) return false;
        for (std::size_t k = 1; k <= n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return false;
        i += n + 1;
    }
    return true;
}

// A code point read from a file: one that UTF-8 cannot hold becomes U+FFFD.
void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
    appendCodePoint(out, static_cast<char32_t>(cp));
}

// Bytes in a code page to UTF-8 through glibc's iconv; a byte it cannot convert becomes
// U+FFFD. Nothing when iconv does not know the code page.
std::optional<std::string> converted(std::string_view bytes, const char* codepage) {
    iconv_t cd = iconv_open("UTF-8", codepage);
    // iconv_open fails with (iconv_t) -1: compared as a number.
    if (reinterpret_cast<std::intptr_t>(cd) == -1) return std::nullopt;
    std::string out;
    char buffer[256];
    char* in = const_cast<char*>(bytes.data());
    std::size_t left = bytes.size();
    while (left > 0) {
        char* o = buffer;
        std::size_t room = sizeof buffer;
        const std::size_t r = iconv(cd, &in, &left, &o, &room);
        out.append(buffer, static_cast<std::size_t>(o - buffer));
        if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
            appendUtf8(out, 0xFFFD);  // an invalid or cut sequence: skip one byte
            ++in;
            --left;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The \M+nXXXX escape's code page by n.
const char* multibyteCodepage(char n) {
    switch (n) {
        case '1':
            return "CP932";
        case '2':
            return "CP950";
        case '3':
            return "CP949";
        case '4':
            return "JOHAB";
        case '5':
            return "GBK";
        default:
            return nullptr;
    }
}

// \U+XXXX (a code point) and \M+nXXXX (two bytes of an East Asian code page) as UTF-8.
std::string unescaped(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 7 <= s.size() && (s[i + 1] == 'U' || s[i + 1] == 'u') &&
            s[i + 2] == '+') {
            std::uint32_t cp = 0;
            bool ok = true;
            for (std::size_t k = 3; ok && k < 7; ++k) {
                const int d = hexDigit(s[i + k]);
                ok = d >= 0;
                cp = cp * 16 + static_cast<std::uint32_t>(std::max(d, 0));
            }
            if (ok) {
                appendUtf8(out, cp);
                i += 6;
                continue;
            }
        }
        if (s[i] == '\\' && i + 8 <= s.size() && (s[i + 1] == 'M' || s[i + 1] == 'm') &&
            s[i + 2] == '+') {
            const char* cp = multibyteCodepage(s[i + 3]);
            int hi = 0, lo = 0;
            bool ok = cp != nullptr;
            for (std::size_t k = 4; ok && k < 8; ++k) {
                const int d = hexDigit(s[i + k]);
                ok = d >= 0;
                (k < 6 ? hi : lo) = (k < 6 ? hi : lo) * 16 + std::max(d, 0);
            }
            if (ok) {
                const char pair[2] = {static_cast<char>(hi), static_cast<char>(lo)};
                if (const auto u = converted(std::string_view(pair, 2), cp)) {
                    out += *u;
                    i += 7;
                    continue;
                }
            }
        }
        out += s[i];
    }
    return out;
}

// How the file's names are encoded: UTF-8 from AutoCAD 2007 (AC1021) on, before that the
// code page $DWGCODEPAGE names.
class Decoder {
public:
    Decoder(const std::string& version, std::string codepage) {
        for (char& c : codepage) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        m_utf8 = version >= "AC1021" && version.size() == 6;
        if (codepage.starts_with("ANSI_")) {
            const std::string number = codepage.substr(5);
            if (number == "936") {
                m_codepage = "GBK";
            } else if (number == "1252") {
                m_codepage = "CP1252";
                m_latin = true;
            } else if (number == "950") {
                m_codepage = "BIG5";
            } else if (!number.empty() && std::all_of(number.begin(), number.end(), [](char c) {
                           return c >= '0' && c <= '9';
                       })) {
                m_codepage = "CP" + number;
            }
        } else if (codepage == "GB2312" || codepage == "GBK") {
            m_codepage = "GBK";
        }
    }

    std::string operator()(std::string_view raw) const {
        std::string text;
        const bool ascii = std::all_of(raw.begin(), raw.end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        if (ascii || m_utf8 || (m_latin && validUtf8(raw)) ||
            (m_codepage.empty() && validUtf8(raw))) {
            text = std::string(raw);
            if (!validUtf8(text)) text = *converted(raw, "UTF-8");
        } else if (const auto u = converted(raw, m_codepage.empty() ? "GBK" : m_codepage.c_str())) {
            // No code page named and not UTF-8: the Simplified Chinese one, the most
            // likely for this program's plans.
            text = *u;
        } else {
            text = *converted(raw, "GBK");
        }
        return unescaped(text);
    }

private:
    bool m_utf8 = false, m_latin = false;
    std::string m_codepage;
};

// Layer names compare as AutoCAD compares them: ASCII letters without case.
std::string layerKey(std::string_view name) {
    std::string k(name);
    for (char& c : k)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return k;
}

// ---------------------------------------------------------------- units

struct Unit {
    const char* name;
    double metres;
};

// $INSUNITS by its value.
std::optional<Unit> unitOf(long insunits) {
    static const std::map<long, Unit> units = {
        {1, {"in", 0.0254}},
        {2, {"ft", 0.3048}},
        {3, {"mi", 1609.344}},
        {4, {"mm", 0.001}},
        {5, {"cm", 0.01}},
        {6, {"m", 1}},
        {7, {"km", 1000}},
        {8, {"µin", 2.54e-8}},
        {9, {"mil", 2.54e-5}},
        {10, {"yd", 0.9144}},
        {11, {"Å", 1e-10}},
        {12, {"nm", 1e-9}},
        {13, {"µm", 1e-6}},
        {14, {"dm", 0.1}},
        {15, {"dam", 10}},
        {16, {"hm", 100}},
        {17, {"Gm", 1e9}},
        {18, {"AU", 149597870700.0}},
        {19, {"ly", 9460730472580800.0}},
        {20, {"pc", 3.0856775814913673e16}},
        {21, {"US survey ft", 1200.0 / 3937.0}},
        {22, {"US survey in", 100.0 / 3937.0}},
        {23, {"US survey yd", 3600.0 / 3937.0}},
        {24, {"US survey mi", 6336000.0 / 3937.0}},
    };
    const auto it = units.find(insunits);
    if (it == units.end()) return std::nullopt;
    return it->second;
}

// The versions read: R12 (AC1009) to AutoCAD 2018 (AC1032).
bool versionRead(std::string_view v) {
    static const std::array<std::string_view, 9> read = {
        "AC1009", "AC1012", "AC1014", "AC1015", "AC1018", "AC1021", "AC1024", "AC1027", "AC1032"};
    return std::find(read.begin(), read.end(), v) != read.end();
}

// ---------------------------------------------------------------- the scan

enum class Kind { Line, Arc, LwPolyline, Polyline, Insert };

// What the scan keeps of an entity handed to libdxflib, in the order it is handed on.
struct Entity {
    Kind kind = Kind::Line;
    std::string layer;  // the raw bytes
    bool hasElevation = false, hasThickness = false;
    double elevation = 0, thickness = 0;
    std::array<double, 3> extrusion{0, 0, 1};
    int flags = 0;
    std::string block;  // an INSERT's block, raw
};

struct BlockDef {
    std::string name;  // raw
};

// The entity's groups (its "0" group first).
using EntityGroups = std::vector<Group>;

struct Scan {
    std::string version, codepage;
    std::optional<long> insunits;
    std::vector<std::string> layers;  // raw, in the file's order
    // The document handed to libdxflib, and what it will report, in order: the entities
    // (block definitions' and model space's) and the blocks.
    std::string forDxflib;
    std::deque<Entity> entities;
    std::deque<BlockDef> blocks;
    DxfSkipped skipped;
};

void emit(std::string& out, int code, std::string_view value) {
    out += std::to_string(code);
    out += '\n';
    out += value;
    out += '\n';
}

bool hasCode(const EntityGroups& g, int code) {
    return std::any_of(g.begin(), g.end(), [&](const Group& x) { return x.code == code; });
}

std::string_view valueOf(const EntityGroups& g, int code, std::string_view def = {}) {
    for (const Group& x : g)
        if (x.code == code) return x.value;
    return def;
}

// The groups of an entity that libdxflib is handed: its geometry. Numbers are checked
// (finite, within bounds), text values short. False when the entity's data is broken.
bool passGroups(const EntityGroups& g, std::initializer_list<int> codes, std::string& out) {
    for (const Group& x : g) {
        if (x.code == 0) continue;
        if (std::find(codes.begin(), codes.end(), x.code) == codes.end()) continue;
        if (x.value.size() > kMaxValueLength) return false;
        if (isRealCode(x.code) && !realOf(x.value)) return false;
        if (isIntegerCode(x.code)) {
            const auto i = integerOf(x.value);
            if (!i || *i < -32768 || *i > 2'000'000'000) return false;
        }
    }
    emit(out, 0, trimmed(g.front().value));
    for (const Group& x : g) {
        if (x.code == 0 || std::find(codes.begin(), codes.end(), x.code) == codes.end()) continue;
        emit(out, x.code, isRealCode(x.code) || isIntegerCode(x.code) ? trimmed(x.value) : x.value);
    }
    return true;
}

// An LWPOLYLINE's vertices as libdxflib reads them safely: one count (90) before the
// first vertex, equal to the number of vertices, each bulge (42) after its vertex's x.
bool lwPolylineSound(const EntityGroups& g) {
    long count = -1, vertices = 0;
    for (const Group& x : g) {
        if (x.code == 90) {
            if (count >= 0 || vertices > 0) return false;
            const auto c = integerOf(x.value);
            if (!c || *c < 1 || *c > kMaxPolylineCorners) return false;
            count = *c;
        } else if (x.code == 10) {
            if (count < 0) return false;
            ++vertices;
        } else if ((x.code == 20 || x.code == 30 || x.code == 42) && vertices == 0) {
            return false;
        }
    }
    return count == vertices;
}

// The extrusion direction, checked: a unit-length-able vector.
std::optional<std::array<double, 3>> extrusionOf(const EntityGroups& g) {
    std::array<double, 3> n{0, 0, 1};
    const int codes[3] = {210, 220, 230};
    for (int k = 0; k < 3; ++k)
        if (hasCode(g, codes[k])) {
            const auto v = realOf(valueOf(g, codes[k]));
            if (!v) return std::nullopt;
            n[k] = *v;
        }
    const double len = std::hypot(n[0], n[1], n[2]);
    if (!(len > 1e-12)) return std::nullopt;
    for (double& c : n) c /= len;
    return n;
}

// What the scan keeps of an entity: layer, elevation, thickness, extrusion; nothing when
// its data is broken.
std::optional<Entity> entityOf(Kind kind, const EntityGroups& g) {
    Entity e;
    e.kind = kind;
    e.layer = std::string(valueOf(g, 8, "0"));
    if (e.layer.size() > kMaxValueLength) return std::nullopt;
    const auto n = extrusionOf(g);
    if (!n) return std::nullopt;
    e.extrusion = *n;
    if (const auto f = integerOf(valueOf(g, 70, "0")))
        e.flags = static_cast<int>(*f);
    else
        return std::nullopt;
    const int elevationCode = kind == Kind::Polyline ? 30 : 38;
    for (const auto& [code, has, value] : {std::tuple{elevationCode, &e.hasElevation, &e.elevation},
                                           std::tuple{39, &e.hasThickness, &e.thickness}}) {
        if (!hasCode(g, code)) continue;
        const auto v = realOf(valueOf(g, code));
        if (!v) return std::nullopt;
        *has = *v != 0;
        *value = *v;
    }
    return e;
}

class Scanner {
public:
    Scanner(std::string_view text, const std::string& name) : m_groups(text, name), m_name(name) {}

    Scan run() {
        for (;;) {
            const Group& g = m_groups.next();
            if (g.code == 999) continue;  // a comment
            if (g.code != 0)
                refuse(m_name, lineText(g.line) + "应为 “0 SECTION” 或 “0 EOF”，却是组码 " +
                                   std::to_string(g.code));
            const std::string_view v = trimmed(g.value);
            if (v == "EOF") break;
            if (v != "SECTION")
                refuse(m_name, lineText(g.line) + "应为 “SECTION” 或 “EOF”，却是 “" +
                                   files::oneLine(v.substr(0, 40)) + "”");
            const Group& name = m_groups.next();
            if (name.code != 2) refuse(m_name, lineText(name.line) + "应为段名（组码 2）");
            const std::string section(trimmed(name.value));
            if (section == "HEADER") {
                header();
            } else if (section == "TABLES") {
                tables();
            } else if (section == "BLOCKS" || section == "ENTITIES") {
                if (!m_headerChecked) checkVersion();
                if (section == "BLOCKS") {
                    m_scan.forDxflib += "0\nSECTION\n2\nBLOCKS\n";
                    entities(true);
                } else {
                    m_scan.forDxflib += "0\nSECTION\n2\nENTITIES\n";
                    entities(false);
                }
                m_scan.forDxflib += "0\nENDSEC\n";
            } else {
                skipSection();
            }
        }
        if (!m_headerChecked) checkVersion();
        m_scan.forDxflib += "0\nEOF\n";
        return std::move(m_scan);
    }

private:
    // The groups up to the next "0" group (which is left to read).
    EntityGroups rest(const Group& first) {
        EntityGroups g{first};
        while (m_groups.peek().code != 0) g.push_back(m_groups.next());
        return g;
    }

    // Reads up to this section's ENDSEC; a SECTION or EOF before it is a broken file.
    bool atSectionEnd(const Group& g) {
        if (g.code != 0) return false;
        const std::string_view v = trimmed(g.value);
        if (v == "ENDSEC") return true;
        if (v == "EOF" || v == "SECTION")
            refuse(m_name, lineText(g.line) + "之前的段缺少 “ENDSEC”（文件不完整？）");
        return false;
    }

    void skipSection() {
        for (;;)
            if (atSectionEnd(m_groups.next())) return;
    }

    void header() {
        std::string variable;
        for (;;) {
            const Group& g = m_groups.next();
            if (atSectionEnd(g)) break;
            if (g.code == 9) {
                variable = std::string(trimmed(g.value));
                continue;
            }
            if (variable == "$ACADVER" && g.code == 1)
                m_scan.version = std::string(trimmed(g.value));
            if (variable == "$DWGCODEPAGE" && g.code == 3)
                m_scan.codepage = std::string(trimmed(g.value));
            if (variable == "$INSUNITS" && g.code == 70) m_scan.insunits = integerOf(g.value);
        }
        checkVersion();
        if (!m_scan.version.empty()) {
            m_scan.forDxflib += "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\n";
            m_scan.forDxflib += m_scan.version + "\n0\nENDSEC\n";
        }
    }

    void checkVersion() {
        m_headerChecked = true;
        if (!m_scan.version.empty() && !versionRead(m_scan.version))
            refuse(m_name, "DXF 版本 “" + files::oneLine(m_scan.version.substr(0, 20)) +
                               "” 不能读取（能读取 R12 至 AutoCAD 2018 的 DXF：AC1009–AC1032）");
    }

    void tables() {
        bool inLayers = false;
        for (;;) {
            const Group& g = m_groups.next();
            if (atSectionEnd(g)) return;
            if (g.code == 0) {
                const std::string_view v = trimmed(g.value);
                if (v == "TABLE") {
                    const Group& n = m_groups.peek();
                    inLayers = n.code == 2 && trimmed(n.value) == "LAYER";
                } else if (v == "ENDTAB") {
                    inLayers = false;
                } else if (v == "LAYER" && inLayers) {
                    const EntityGroups e = rest(g);
                    const std::string_view name = valueOf(e, 2);
                    if (!name.empty() && name.size() <= kMaxValueLength) addLayer(name);
                }
            }
        }
    }

    void addLayer(std::string_view raw) {
        const std::string key = layerKey(raw);
        if (m_layerKeys.insert({key, 0}).second) m_scan.layers.emplace_back(raw);
    }

    // The entities of the BLOCKS or the ENTITIES section.
    void entities(bool blocks) {
        bool inBlock = false, skipBlock = false;
        for (;;) {
            const Group& first = m_groups.next();
            if (atSectionEnd(first)) break;
            if (first.code != 0) continue;  // a stray group: nothing to read
            const std::string type(trimmed(first.value));
            EntityGroups g = rest(first);
            if (blocks && type == "BLOCK") {
                if (inBlock)
                    refuse(m_name, lineText(first.line) + "的块在上一块的 “ENDBLK” 之前开始");
                inBlock = true;
                const std::string name(valueOf(g, 2));
                const auto flags = integerOf(valueOf(g, 70, "0"));
                // Paper space's blocks, model space's own and external references (their
                // drawing is not in this file) are not read.
                std::string upper = layerKey(name);
                skipBlock = name.empty() || name.size() > kMaxValueLength ||
                            upper.starts_with("*PAPER_SPACE") ||
                            upper.starts_with("*MODEL_SPACE") || !flags || (*flags & 4) ||
                            !passGroups(g, {2, 10, 20, 30, 70}, m_block);
                if (skipBlock) {
                    m_block.clear();
                    continue;
                }
                m_scan.forDxflib += m_block;
                m_block.clear();
                m_scan.blocks.push_back({name});
                continue;
            }
            if (blocks && type == "ENDBLK") {
                if (inBlock && !skipBlock) m_scan.forDxflib += "0\nENDBLK\n";
                inBlock = skipBlock = false;
                continue;
            }
            if (blocks && (!inBlock || skipBlock)) {
                if (type == "POLYLINE") skipSequence();
                continue;
            }
            // Paper space's entities are not read.
            const bool paper = trimmed(valueOf(g, 67, "0")) == "1";
            if (!blocks && paper) {
                if (type == "POLYLINE") skipSequence();
                continue;
            }
            if (valueOf(g, 8, "0").size() <= kMaxValueLength) addLayer(valueOf(g, 8, "0"));
            entity(type, g);
        }
        if (inBlock) refuse(m_name, "块定义缺少 “ENDBLK”（文件不完整？）");
    }

    // The VERTEX entities and SEQEND after a POLYLINE not read.
    void skipSequence() {
        while (m_groups.peek().code == 0 && trimmed(m_groups.peek().value) == "VERTEX") {
            const Group& v = m_groups.next();
            rest(v);
        }
        if (m_groups.peek().code == 0 && trimmed(m_groups.peek().value) == "SEQEND")
            rest(m_groups.next());
    }

    void keep(Kind kind, const EntityGroups& g, std::initializer_list<int> codes) {
        std::optional<Entity> e = entityOf(kind, g);
        std::string out;
        if (!e || !passGroups(g, codes, out)) {
            ++m_scan.skipped.damaged;
            return;
        }
        if (std::hypot(e->extrusion[0], e->extrusion[1]) > 1e-6) {
            ++m_scan.skipped.notInPlan;
            return;
        }
        if (kind == Kind::Insert) {
            e->block = std::string(valueOf(g, 2));
            const auto cols = integerOf(valueOf(g, 70, "1")), rows = integerOf(valueOf(g, 71, "1"));
            if (e->block.empty() || !cols || !rows || *cols < 0 || *rows < 0 ||
                *cols * std::max(*rows, 1L) > 100000) {
                ++m_scan.skipped.damaged;
                return;
            }
        }
        m_scan.forDxflib += out;
        m_scan.entities.push_back(std::move(*e));
    }

    void entity(const std::string& type, const EntityGroups& g) {
        if (type == "LINE") {
            keep(Kind::Line, g, {8, 10, 20, 30, 11, 21, 31});
        } else if (type == "ARC") {
            keep(Kind::Arc, g, {8, 10, 20, 30, 40, 50, 51});
        } else if (type == "LWPOLYLINE") {
            if (!lwPolylineSound(g)) {
                ++m_scan.skipped.damaged;
                return;
            }
            keep(Kind::LwPolyline, g, {8, 90, 70, 38, 10, 20, 42});
        } else if (type == "POLYLINE") {
            polyline(g);
        } else if (type == "INSERT") {
            keep(Kind::Insert, g, {8, 2, 10, 20, 30, 41, 42, 43, 50, 70, 71, 44, 45});
        }
    }

    // An old-style POLYLINE with its VERTEX entities and SEQEND: a 2-D or 3-D polyline is
    // read; meshes and polyface meshes are no outlines; spline frame points are left out.
    void polyline(const EntityGroups& g) {
        std::vector<EntityGroups> vertices;
        while (m_groups.peek().code == 0 && trimmed(m_groups.peek().value) == "VERTEX") {
            const Group& v = m_groups.next();
            vertices.push_back(rest(v));
        }
        if (m_groups.peek().code == 0 && trimmed(m_groups.peek().value) == "SEQEND")
            rest(m_groups.next());
        const auto flags = integerOf(valueOf(g, 70, "0"));
        if (!flags) {
            ++m_scan.skipped.damaged;
            return;
        }
        if (*flags & (16 | 64)) return;  // a mesh
        std::optional<Entity> e = entityOf(Kind::Polyline, g);
        std::string out;
        if (!e || !passGroups(g, {8, 10, 20, 30, 70}, out)) {
            ++m_scan.skipped.damaged;
            return;
        }
        if (*flags & 8) e->extrusion = {0, 0, 1};  // a 3-D polyline is in world coordinates
        if (std::hypot(e->extrusion[0], e->extrusion[1]) > 1e-6) {
            ++m_scan.skipped.notInPlan;
            return;
        }
        std::size_t kept = 0;
        for (const EntityGroups& v : vertices) {
            const auto vf = integerOf(valueOf(v, 70, "0"));
            if (!vf || !hasCode(v, 10) || !hasCode(v, 20)) {
                ++m_scan.skipped.damaged;
                return;
            }
            if (*vf & 16) continue;  // a spline's frame point
            std::string vertex;
            if (!passGroups(v, {8, 10, 20, 30, 42, 70}, vertex)) {
                ++m_scan.skipped.damaged;
                return;
            }
            out += vertex;
            if (++kept > static_cast<std::size_t>(kMaxPolylineCorners)) {
                ++m_scan.skipped.damaged;
                return;
            }
        }
        out += "0\nSEQEND\n";
        m_scan.forDxflib += out;
        m_scan.entities.push_back(std::move(*e));
    }

    Groups m_groups;
    const std::string& m_name;
    Scan m_scan;
    std::string m_block;
    std::unordered_map<std::string, int> m_layerKeys;
    bool m_headerChecked = false;
};

// ---------------------------------------------------------------- geometry

// A corner of a path and the bulge of the segment that leaves it (tan of a quarter of
// the arc's angle, counter-clockwise positive).
struct Vertex {
    double x = 0, y = 0, bulge = 0;
};

struct Piece {
    std::vector<Vertex> v;
    bool closed = false;
    bool polyline = false;  // an (LW)POLYLINE, not a line or an arc
    std::string layer;      // raw
    std::optional<double> elevation, thickness;
    std::size_t order = 0;  // in the file
};

struct Insertion {
    std::string block, layer;  // raw
    double x = 0, y = 0, z = 0, sx = 1, sy = 1, sz = 1, angle = 0;
    int cols = 1, rows = 1;
    double colSpacing = 0, rowSpacing = 0;
    bool mirrored = false;  // an extrusion of (0, 0, -1)
    std::size_t order = 0;
};

struct Container {
    double baseX = 0, baseY = 0, baseZ = 0;
    std::vector<Piece> pieces;
    std::vector<Insertion> insertions;
};

// x' = a x + b y + e, y' = c x + d y + f; z' = zs z + zo.
struct Affine {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
    double zs = 1, zo = 0;

    Affine then(const Affine& o) const {  // this first, then o
        Affine r;
        r.a = o.a * a + o.b * c;
        r.b = o.a * b + o.b * d;
        r.c = o.c * a + o.d * c;
        r.d = o.c * b + o.d * d;
        r.e = o.a * e + o.b * f + o.e;
        r.f = o.c * e + o.d * f + o.f;
        r.zs = o.zs * zs;
        r.zo = o.zs * zo + o.zo;
        return r;
    }
    double det() const { return a * d - b * c; }
    // Keeps circles circles (a rotation, a uniform scale, a mirror).
    bool similar() const {
        const double s = a * a + c * c + b * b + d * d;
        return std::fabs(a * a + c * c - (b * b + d * d)) <= 1e-9 * s &&
               std::fabs(a * b + c * d) <= 1e-9 * s;
    }
    double stretch() const {  // the largest factor a length grows by
        const double p = a * a + b * b + c * c + d * d, q = det();
        return std::sqrt((p + std::sqrt(std::max(0.0, p * p - 4 * q * q))) / 2);
    }
};

// The points of a bulged segment from p to q, q excluded, with sagitta at most `tol`.
void chord(const Vertex& p, const Vertex& q, double tol, std::vector<Point2>& out) {
    out.push_back({p.x, p.y});
    const double dx = q.x - p.x, dy = q.y - p.y, c = std::hypot(dx, dy);
    if (!(std::fabs(p.bulge) > 1e-12) || !(c > 0) || !std::isfinite(p.bulge)) return;
    const double theta = 4 * std::atan(p.bulge);
    const double k = (1 - p.bulge * p.bulge) / (4 * p.bulge);
    const double cx = (p.x + q.x) / 2 - k * dy, cy = (p.y + q.y) / 2 + k * dx;
    const double r = std::hypot(p.x - cx, p.y - cy);
    const double step = 2 * std::acos(std::clamp(1 - tol / r, -1.0, 1.0));
    const int n = std::clamp(static_cast<int>(std::ceil(std::fabs(theta) / std::max(step, 1e-12))),
                             1, kMaxArcChords);
    const double a0 = std::atan2(p.y - cy, p.x - cx);
    for (int i = 1; i < n; ++i) {
        const double a = a0 + theta * i / n;
        out.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
}

std::vector<Point2> chorded(const std::vector<Vertex>& v, bool closed, double tol) {
    std::vector<Point2> out;
    for (std::size_t i = 0; i + 1 < v.size(); ++i) chord(v[i], v[i + 1], tol, out);
    if (closed && v.size() > 1)
        chord(v.back(), v.front(), tol, out);
    else if (!v.empty())
        out.push_back({v.back().x, v.back().y});
    return out;
}

// An ARC as a path: its start, corners every 90° at most, its end.
std::vector<Vertex> arcPath(double cx, double cy, double r, double a1, double a2) {
    double sweep = std::fmod(a2 - a1, 360.0);
    if (sweep <= 1e-12) sweep += 360;
    const int parts = std::max(1, static_cast<int>(std::ceil(sweep / 90 - 1e-9)));
    const double part = sweep / parts;
    const double bulge = std::tan(part * std::numbers::pi / 720);
    std::vector<Vertex> v;
    for (int i = 0; i <= parts; ++i) {
        const double a = (a1 + part * i) * std::numbers::pi / 180;
        v.push_back({cx + r * std::cos(a), cy + r * std::sin(a), i < parts ? bulge : 0});
    }
    return v;
}

// ---------------------------------------------------------------- libdxflib's side

class Reader : public DL_CreationAdapter {
public:
    Reader(Scan& scan) : m_scan(scan) {}

    Container model;
    std::map<std::string, Container> blocks;
    bool mismatch = false;

    void addBlock(const DL_BlockData& d) override {
        finish();
        if (m_scan.blocks.empty()) return fail();
        const std::string name = m_scan.blocks.front().name;
        m_scan.blocks.pop_front();
        m_block = &blocks[layerKey(name)];
        *m_block = Container{};
        m_block->baseX = d.bpx;
        m_block->baseY = d.bpy;
        m_block->baseZ = d.bpz;
    }
    void endBlock() override {
        finish();
        m_block = nullptr;
    }
    void addLine(const DL_LineData& d) override {
        const auto e = take(Kind::Line);
        if (!e) return;
        Piece p = pieceOf(*e);
        p.v = {{d.x1, d.y1, 0}, {d.x2, d.y2, 0}};
        here().pieces.push_back(std::move(p));  // world coordinates: no extrusion
    }
    void addArc(const DL_ArcData& d) override {
        const auto e = take(Kind::Arc);
        if (!e) return;
        if (!(d.radius > 0) || !std::isfinite(d.radius)) {
            ++m_scan.skipped.damaged;
            return;
        }
        Piece p = pieceOf(*e);
        p.v = arcPath(d.cx, d.cy, d.radius, d.angle1, d.angle2);
        mirrorIf(*e, p);
        here().pieces.push_back(std::move(p));
    }
    void addPolyline(const DL_PolylineData& d) override {
        finish();
        if (m_scan.entities.empty()) return fail();
        const Kind kind = m_scan.entities.front().kind;
        if (kind != Kind::LwPolyline && kind != Kind::Polyline) return fail();
        const auto e = take(kind);
        m_polyline = pieceOf(*e);
        m_polyline->polyline = true;
        m_polyline->closed = (d.flags & 1) != 0;
        m_polylineEntity = *e;
        m_3d = kind == Kind::Polyline && (d.flags & 8);
    }
    void addVertex(const DL_VertexData& d) override {
        if (!m_polyline) return fail();
        m_polyline->v.push_back({d.x, d.y, m_3d ? 0 : d.bulge});
    }
    void endSequence() override { finish(); }
    void addInsert(const DL_InsertData& d) override {
        const auto e = take(Kind::Insert);
        if (!e) return;
        Insertion i;
        i.block = e->block;
        i.layer = e->layer;
        i.x = d.ipx;
        i.y = d.ipy;
        i.z = d.ipz;
        i.sx = d.sx;
        i.sy = d.sy;
        i.sz = d.sz;
        i.angle = d.angle * std::numbers::pi / 180;
        i.cols = std::max(d.cols, 1);
        i.rows = std::max(d.rows, 1);
        i.colSpacing = d.colSp;
        i.rowSpacing = d.rowSp;
        i.mirrored = e->extrusion[2] < 0;
        i.order = m_order++;
        here().insertions.push_back(std::move(i));
    }

    // The polyline being read, once its vertices are all there.
    void finish() {
        if (!m_polyline) return;
        mirrorIf(m_polylineEntity, *m_polyline);
        here().pieces.push_back(std::move(*m_polyline));
        m_polyline.reset();
    }

private:
    Container& here() { return m_block ? *m_block : model; }

    void fail() { mismatch = true; }

    std::optional<Entity> take(Kind kind) {
        finish();
        if (m_scan.entities.empty() || m_scan.entities.front().kind != kind) {
            fail();
            return std::nullopt;
        }
        Entity e = std::move(m_scan.entities.front());
        m_scan.entities.pop_front();
        return e;
    }

    Piece pieceOf(const Entity& e) {
        Piece p;
        p.layer = e.layer;
        const double sign = e.extrusion[2] < 0 ? -1 : 1;
        if (e.hasElevation) p.elevation = sign * e.elevation;
        if (e.hasThickness) p.thickness = sign * e.thickness;
        p.order = m_order++;
        return p;
    }

    // An entity whose extrusion is (0, 0, -1) is drawn mirrored: x is −x, arcs turn the
    // other way.
    static void mirrorIf(const Entity& e, Piece& p) {
        if (e.extrusion[2] >= 0) return;
        for (Vertex& v : p.v) {
            v.x = -v.x;
            v.bulge = -v.bulge;
        }
    }

    Scan& m_scan;
    Container* m_block = nullptr;
    std::optional<Piece> m_polyline;
    Entity m_polylineEntity;
    bool m_3d = false;
    std::size_t m_order = 0;
};

// ---------------------------------------------------------------- outlines

struct Path {
    std::vector<Point2> points;  // metres
    bool closed = false, polyline = false;
    std::string layer;  // UTF-8
    std::optional<double> elevation, thickness;
    std::size_t order = 0;
};

class Flattener {
public:
    Flattener(const std::map<std::string, Container>& blocks, double metresPerUnit,
              const std::function<bool(const std::string&)>& wanted, DxfSkipped& skipped,
              const Decoder& decode)
        : m_blocks(blocks),
          m_scale(metresPerUnit),
          m_wanted(wanted),
          m_skipped(skipped),
          m_decode(decode) {}

    std::vector<Path> paths;

    void add(const Container& c, const Affine& m, const std::string& layer0, int depth,
             std::size_t order) {
        for (const Piece& p : c.pieces) addPiece(p, m, layer0, depth == 0 ? p.order : order);
        for (const Insertion& i : c.insertions) {
            const auto it = m_blocks.find(layerKey(i.block));
            if (it == m_blocks.end()) continue;  // no such block: nothing drawn
            const Container& b = it->second;
            // A block inserted in itself, or nested deeper than any plan: not drawn.
            if (depth >= kMaxBlockDepth ||
                std::find(m_stack.begin(), m_stack.end(), &b) != m_stack.end()) {
                ++m_skipped.damaged;
                continue;
            }
            m_stack.push_back(&b);
            const std::string layer = i.layer == "0" ? layer0 : i.layer;
            for (int col = 0; col < i.cols; ++col)
                for (int row = 0; row < i.rows; ++row) {
                    // Block → insertion: less the base point, scale, shift in the array,
                    // rotate, move to the insertion point (mirrored by the extrusion).
                    Affine t;
                    t.a = i.sx;
                    t.d = i.sy;
                    t.e = -b.baseX * i.sx + col * i.colSpacing;
                    t.f = -b.baseY * i.sy + row * i.rowSpacing;
                    Affine r;
                    r.a = std::cos(i.angle);
                    r.b = -std::sin(i.angle);
                    r.c = std::sin(i.angle);
                    r.d = std::cos(i.angle);
                    r.e = i.x;
                    r.f = i.y;
                    r.zs = i.sz;
                    r.zo = i.z - b.baseZ * i.sz;
                    Affine local = t.then(r);
                    if (i.mirrored) {
                        Affine mirror;
                        mirror.a = -1;
                        mirror.zs = -1;
                        local = local.then(mirror);
                    }
                    add(b, local.then(m), layer, depth + 1, depth == 0 ? i.order : order);
                }
            m_stack.pop_back();
        }
    }

private:
    void addPiece(const Piece& p, const Affine& m, const std::string& layer0, std::size_t order) {
        const std::string& raw = p.layer == "0" && !layer0.empty() ? layer0 : p.layer;
        std::string layer = decoded(raw);
        if (!m_wanted(layer)) return;
        if (p.v.size() < 2) {
            if (p.polyline) ++m_skipped.degenerate;
            return;
        }
        // Arcs are followed in the drawing's units, where circles are still circles.
        const double tol = kSagitta / m_scale;
        std::vector<Point2> local;
        if (m.similar()) {
            std::vector<Vertex> v = p.v;
            const double flip = m.det() < 0 ? -1 : 1;
            for (Vertex& x : v) {
                const double X = m.a * x.x + m.b * x.y + m.e, Y = m.c * x.x + m.d * x.y + m.f;
                x = {X, Y, x.bulge * flip};
            }
            local = chorded(v, p.closed, tol);
        } else {
            local = chorded(p.v, p.closed, tol / std::max(m.stretch(), 1e-12));
            for (Point2& x : local) x = {m.a * x.x + m.b * x.y + m.e, m.c * x.x + m.d * x.y + m.f};
        }
        m_corners += local.size();
        if (m_corners > kMaxCorners) throw std::length_error("corners");
        Path path;
        path.closed = p.closed;
        path.polyline = p.polyline;
        path.layer = std::move(layer);
        path.order = order;
        for (Point2& x : local) {
            x.x *= m_scale;
            x.y *= m_scale;
            if (!(std::fabs(x.x) <= kMaxPlanCoordinate) ||
                !(std::fabs(x.y) <= kMaxPlanCoordinate)) {
                ++m_skipped.damaged;
                return;
            }
        }
        path.points = std::move(local);
        const auto z = [&](const std::optional<double>& v, bool offset) -> std::optional<double> {
            if (!v) return std::nullopt;
            const double r = (offset ? m.zs * *v + m.zo : m.zs * *v) * m_scale;
            if (!std::isfinite(r) || r == 0) return std::nullopt;
            return r;
        };
        path.elevation = z(p.elevation, true);
        path.thickness = z(p.thickness, false);
        paths.push_back(std::move(path));
    }

    const std::string& decoded(const std::string& raw) {
        auto it = m_names.find(raw);
        if (it == m_names.end()) it = m_names.emplace(raw, m_decode(raw)).first;
        return it->second;
    }

    const std::map<std::string, Container>& m_blocks;
    double m_scale;
    const std::function<bool(const std::string&)>& m_wanted;
    DxfSkipped& m_skipped;
    const Decoder& m_decode;
    std::map<std::string, std::string> m_names;
    std::size_t m_corners = 0;
    std::vector<const Container*> m_stack;  // the blocks being inserted
};

// Open paths on one layer joined where their ends meet within kJoin: each ring that
// closes (every joint the end of exactly two paths) as a path; the rest counted as open.
std::vector<Path> chains(std::vector<Path> open, DxfSkipped& skipped) {
    std::vector<Path> rings;
    // Ends: 2k the start of path k, 2k + 1 its end; joined by union-find over a grid.
    const std::size_t n = open.size();
    std::vector<std::size_t> parent(2 * n);
    std::iota(parent.begin(), parent.end(), 0);
    const auto root = [&](std::size_t k) {
        while (parent[k] != k) k = parent[k] = parent[parent[k]];
        return k;
    };
    auto endOf = [&](std::size_t e) -> const Point2& {
        const auto& pts = open[e / 2].points;
        return e % 2 ? pts.back() : pts.front();
    };
    std::map<std::pair<std::int64_t, std::int64_t>, std::vector<std::size_t>> grid;
    for (std::size_t e = 0; e < 2 * n; ++e) {
        const Point2& p = endOf(e);
        const auto gx = static_cast<std::int64_t>(std::floor(p.x / kJoin));
        const auto gy = static_cast<std::int64_t>(std::floor(p.y / kJoin));
        for (std::int64_t i = gx - 1; i <= gx + 1; ++i)
            for (std::int64_t j = gy - 1; j <= gy + 1; ++j) {
                const auto it = grid.find({i, j});
                if (it == grid.end()) continue;
                for (std::size_t o : it->second) {
                    const Point2& q = endOf(o);
                    if (std::hypot(p.x - q.x, p.y - q.y) <= kJoin) parent[root(e)] = root(o);
                }
            }
        grid[{gx, gy}].push_back(e);
    }
    std::map<std::size_t, std::vector<std::size_t>> joints;  // root → its ends
    for (std::size_t e = 0; e < 2 * n; ++e) joints[root(e)].push_back(e);
    // Paths whose joints are all of two ends form rings; follow each once.
    std::vector<char> used(n, 0);
    for (std::size_t k = 0; k < n; ++k) {
        if (used[k]) continue;
        // The component of path k, through its joints.
        std::vector<std::size_t> component{k}, stack{k};
        used[k] = 1;
        bool ring = true;
        while (!stack.empty()) {
            const std::size_t q = stack.back();
            stack.pop_back();
            for (std::size_t e : {2 * q, 2 * q + 1}) {
                const auto& ends = joints[root(e)];
                if (ends.size() != 2) ring = false;
                for (std::size_t o : ends)
                    if (!used[o / 2]) {
                        used[o / 2] = 1;
                        component.push_back(o / 2);
                        stack.push_back(o / 2);
                    }
            }
        }
        if (!ring) {
            ++skipped.open;
            continue;
        }
        // Walk: from path k's start to its end, on through the joint's other end.
        Path r;
        r.closed = true;
        r.layer = open[k].layer;
        r.polyline = component.size() == 1 && open[k].polyline;
        r.order = open[k].order;
        if (r.polyline) {
            r.elevation = open[k].elevation;
            r.thickness = open[k].thickness;
        }
        auto mean = [&](std::size_t e) {
            const auto& ends = joints[root(e)];
            Point2 m{0, 0};
            for (std::size_t o : ends)
                m.x += endOf(o).x / ends.size(), m.y += endOf(o).y / ends.size();
            return m;
        };
        std::size_t enter = 2 * k;  // the end of the current path we enter by
        for (std::size_t steps = 0; steps < component.size(); ++steps) {
            const std::size_t q = enter / 2;
            const bool forward = enter % 2 == 0;
            const auto& pts = open[q].points;
            r.points.push_back(mean(enter));
            for (std::size_t i = 1; i + 1 < pts.size(); ++i)
                r.points.push_back(forward ? pts[i] : pts[pts.size() - 1 - i]);
            r.order = std::min(r.order, open[q].order);
            const std::size_t leave = enter ^ 1;
            const auto& ends = joints[root(leave)];
            enter = ends[0] == leave ? ends[1] : ends[0];
        }
        rings.push_back(std::move(r));
    }
    return rings;
}

double signedArea(const std::vector<Point2>& v) {
    double a = 0;
    for (std::size_t i = 0, j = v.size() - 1; i < v.size(); j = i++)
        a += (v[j].x - v[i].x) * (v[j].y + v[i].y);
    return a / 2;
}

// The corners without repeats (a closing corner, a corner drawn twice).
std::vector<Point2> withoutRepeats(const std::vector<Point2>& in) {
    std::vector<Point2> v;
    for (const Point2& p : in)
        if (v.empty() || std::hypot(p.x - v.back().x, p.y - v.back().y) > kSameCorner)
            v.push_back(p);
    while (v.size() > 1 &&
           std::hypot(v.front().x - v.back().x, v.front().y - v.back().y) <= kSameCorner)
        v.pop_back();
    return v;
}

// Counter-clockwise from its lowest-leftmost corner: two drawings of one polygon compare
// corner by corner.
std::vector<Point2> canonical(std::vector<Point2> v) {
    const auto first = std::min_element(v.begin(), v.end(), [](const Point2& a, const Point2& b) {
        return a.y < b.y || (a.y == b.y && a.x < b.x);
    });
    std::rotate(v.begin(), first, v.end());
    return v;
}

bool samePolygon(const DxfOutline& a, const std::vector<Point2>& b, double area) {
    if (a.vertices.size() != b.size() || std::fabs(a.area - area) > 1e-3 * std::max(1.0, area))
        return false;
    const std::vector<Point2> ca = canonical(a.vertices);
    // The lowest corner may differ by a rounding: try every start near it.
    for (std::size_t s = 0; s < b.size(); ++s) {
        if (std::hypot(ca[0].x - b[s].x, ca[0].y - b[s].y) > kJoin) continue;
        bool same = true;
        for (std::size_t i = 0; same && i < b.size(); ++i) {
            const Point2& p = ca[i];
            const Point2& q = b[(s + i) % b.size()];
            same = std::hypot(p.x - q.x, p.y - q.y) <= kJoin;
        }
        if (same) return true;
    }
    return false;
}

DxfPlan readPlan(const std::string& bytes, const std::string& name,
                 const std::vector<std::string>& layers, std::optional<double> metresPerUnit) {
    std::string_view text(bytes);
    if (text.starts_with("AutoCAD Binary DXF"))
        refuse(name, "这是二进制 DXF，只能读取文本（ASCII）DXF；请在 CAD 中另存为 DXF 文本格式");
    if (text.starts_with("AC10") || text.starts_with("AC1.") || text.starts_with("AC2."))
        refuse(name, "这是 DWG 图形文件，不是 DXF；请在 CAD 中另存为 DXF");
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    if (text.find('\0') != std::string_view::npos) refuse(name, "文件含有零字节，不是文本 DXF");
    if (metresPerUnit && !(std::isfinite(*metresPerUnit) && *metresPerUnit > 0))
        refuse(name, "给定的图形单位比例应为大于 0 的有限数");

    Scan scan = Scanner(text, name).run();

    DxfPlan plan;
    plan.version = scan.version;
    const Decoder decode(scan.version, scan.codepage);
    std::optional<Unit> unit;
    if (scan.insunits) unit = unitOf(*scan.insunits);
    plan.units = unit ? unit->name : "";
    plan.metresPerUnit = unit ? unit->metres : metresPerUnit.value_or(1.0);
    for (const std::string& raw : scan.layers) plan.layers.push_back(decode(raw));

    Reader reader(scan);
    {
        std::istringstream in(scan.forDxflib);
        DL_Dxf dxf;
        try {
            dxf.in(in, &reader);
        } catch (...) {
            refuse(name, "图形数据无法解析");
        }
    }
    reader.finish();
    plan.skipped = scan.skipped;
    if (reader.mismatch || !scan.entities.empty() || !scan.blocks.empty())
        refuse(name, "图形数据无法解析（实体与读取结果不一致）");

    std::vector<std::string> wantedKeys;
    wantedKeys.reserve(layers.size());
    for (const std::string& l : layers) wantedKeys.push_back(layerKey(l));
    const std::function<bool(const std::string&)> wanted = [&](const std::string& layer) {
        return wantedKeys.empty() ||
               std::find(wantedKeys.begin(), wantedKeys.end(), layerKey(layer)) != wantedKeys.end();
    };
    Flattener flat(reader.blocks, plan.metresPerUnit, wanted, plan.skipped, decode);
    try {
        flat.add(reader.model, Affine{}, "", 0, 0);
    } catch (const std::length_error&) {
        refuse(name,
               "图形过于复杂：插入块并以弦代弧后超过 " + std::to_string(kMaxCorners) + " 个顶点");
    }

    // Closed paths are rings; open ones are joined per layer.
    std::vector<Path> rings;
    std::map<std::string, std::vector<Path>> open;
    for (Path& p : flat.paths) {
        if (p.closed)
            rings.push_back(std::move(p));
        else if (p.points.size() >= 2)
            open[p.layer].push_back(std::move(p));
    }
    for (auto& [layer, paths] : open) {
        std::vector<Path> tiny;
        std::vector<Path> kept;
        for (Path& p : paths) {
            // A path shorter than the joining distance would join what it touches to itself.
            double extent = 0;
            for (const Point2& q : p.points)
                extent = std::max(extent, std::hypot(q.x - p.points[0].x, q.y - p.points[0].y));
            if (extent > kJoin) kept.push_back(std::move(p));
        }
        for (Path& r : chains(std::move(kept), plan.skipped)) rings.push_back(std::move(r));
    }
    std::stable_sort(rings.begin(), rings.end(),
                     [](const Path& a, const Path& b) { return a.order < b.order; });

    for (Path& r : rings) {
        std::vector<Point2> v = withoutRepeats(r.points);
        double perimeter = 0;
        for (std::size_t i = 0; i < v.size(); ++i)
            perimeter +=
                std::hypot(v[(i + 1) % v.size()].x - v[i].x, v[(i + 1) % v.size()].y - v[i].y);
        const double a = v.size() >= 3 ? signedArea(v) : 0;
        if (v.size() < 3 || !(std::fabs(a) > 1e-6) ||
            !(std::fabs(a) > 1e-9 * perimeter * perimeter)) {
            ++plan.skipped.degenerate;
            continue;
        }
        if (!sphere::isSimpleRing(v)) {
            ++plan.skipped.selfIntersecting;
            continue;
        }
        if (a < 0) std::reverse(v.begin(), v.end());
        const double area = std::fabs(a);
        v = canonical(std::move(v));
        if (std::any_of(plan.outlines.begin(), plan.outlines.end(),
                        [&](const DxfOutline& o) { return samePolygon(o, v, area); })) {
            ++plan.skipped.duplicates;
            continue;
        }
        DxfOutline o;
        o.layer = r.layer;
        o.vertices = std::move(v);
        o.area = area;
        o.from = r.polyline ? DxfOutline::From::Polyline : DxfOutline::From::Chain;
        o.elevation = r.elevation;
        o.thickness = r.thickness;
        plan.outlines.push_back(std::move(o));
    }
    return plan;
}

}  // namespace

DxfPlan readDxfText(const std::string& bytes, const std::string& name,
                    const std::vector<std::string>& layers, std::optional<double> metresPerUnit) {
    try {
        return readPlan(bytes, name, layers, metresPerUnit);
    } catch (const DxfError&) {
        throw;
    } catch (const std::bad_alloc&) {
        refuse(name, "内存不足");
    } catch (const std::exception& e) {
        refuse(name, files::oneLine(e.what(), 80));
    }
}

DxfPlan readDxf(const std::filesystem::path& file, const std::vector<std::string>& layers,
                std::optional<double> metresPerUnit) {
    const std::string name = file.string();
    const Result<std::string> bytes = files::readRegularFile(file, kMaxDxfFileSize);
    if (!bytes) refuse(name, bytes.why());
    return readDxfText(bytes.value(), name, layers, metresPerUnit);
}

sphere::Site siteOf(const DxfPlan& plan, double hr, double roof, bool fromElevation) {
    sphere::Site site;
    site.hr = hr;
    std::map<std::string, int> numbers;
    for (const DxfOutline& o : plan.outlines) {
        sphere::Building b;
        b.name = o.layer + " " + std::to_string(++numbers[o.layer]);
        b.outline = o.vertices;
        b.layer = o.layer;
        b.roof = roof;
        if (fromElevation && (o.elevation || o.thickness)) {
            // A polyline at its elevation, extruded by its thickness: its top.
            const double e = o.elevation.value_or(0), t = o.thickness.value_or(0);
            const double top = std::max(e, e + t);
            if (top > 0) b.roof = top;
        }
        site.buildings.push_back(std::move(b));
    }
    return site;
}

}  // namespace tervalen::site
