#include "site/site_file.h"

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <optional>

#include "files/atomic_write.h"
#include "files/json_document.h"
#include "files/json_reader.h"
#include "files/one_line.h"
#include "files/read_file.h"

namespace tervalen::site {
namespace {

// Written with its keys in a fixed order; read into sorted maps.
using Json = nlohmann::ordered_json;
using InJson = nlohmann::json;
using files::inQuotes;

// The file's keys, each named here alone.
namespace key {
constexpr const char* format = "format";
constexpr const char* version = "version";
constexpr const char* hr = "hr";
constexpr const char* rods = "rods";
constexpr const char* conductors = "conductors";
constexpr const char* wires = "wires";
constexpr const char* buildings = "buildings";
constexpr const char* x = "x";
constexpr const char* y = "y";
constexpr const char* base = "base";
constexpr const char* tip = "tip";
constexpr const char* from = "from";
constexpr const char* to = "to";
constexpr const char* sag = "sag";
constexpr const char* name = "name";
constexpr const char* outline = "outline";
constexpr const char* roof = "roof";
constexpr const char* layer = "layer";
}  // namespace key

constexpr const char* kFormat = "tervalen-site";
// The longest message about a file (the rest is cut with "…").
constexpr std::size_t kMessageCharacters = 400;

// ---------------------------------------------------------------- writing

// A number as the shortest text that reads back as the same double; a whole number
// without a fraction ("20", not "20.0"), and -0 as 0.
Json number(double v) {
    constexpr double kWhole = 9007199254740992.0;  // 2^53: every integer below is exact
    if (std::isfinite(v) && v == std::trunc(v) && std::fabs(v) < kWhole)
        return static_cast<std::int64_t>(v);
    return v;
}

Json point(const sphere::Point3& p) {
    return Json::array({number(p.x), number(p.y), number(p.z)});
}

// ---------------------------------------------------------------- reading

[[noreturn]] void fail(const std::string& what) {
    throw SiteError(what);
}

// An object of the document, named for the messages ("第 2 根接闪杆"), that has only the
// keys it may have.
class Reader : public files::JsonReader<SiteError> {
public:
    using JsonReader::JsonReader;

    // An array of `n` numbers: a point in space or a corner in plan.
    std::vector<double> numbers(const InJson& j, std::size_t n, const std::string& what) const {
        // A space after a quoted key, none after a Chinese word.
        const std::string subject = what + (what.ends_with("”") ? " " : "");
        const char* shape = n == 3 ? "应为 3 个数的数组 [x, y, z]" : "应为 2 个数的数组 [x, y]";
        if (!j.is_array() || j.size() != n) fail(subject + shape);
        std::vector<double> out;
        for (const InJson& v : j) {
            if (!v.is_number()) fail(subject + shape);
            out.push_back(v.get<double>());
            if (!std::isfinite(out.back())) fail(subject + "应为有限的数");
        }
        return out;
    }
    sphere::Point3 point(const char* k) const {
        const std::vector<double> v = numbers(at(k), 3, named(k));
        return {v[0], v[1], v[2]};
    }
};

std::string nth(std::size_t i, const char* what) {
    return "第 " + std::to_string(i + 1) + " " + what;
}

sphere::Site siteFrom(const InJson& doc, bool checked) {
    if (!doc.is_object()) fail("不是 Tervalen 场地文件（内容不是 JSON 对象）");
    const auto format = doc.find(key::format);
    if (format == doc.end() || !format->is_string() || *format != kFormat)
        fail("不是 Tervalen 场地文件（" + inQuotes(key::format) + " 不是 " + inQuotes(kFormat) +
             "）");
    const Reader top(doc, "场地文件",
                     {key::format, key::version, key::hr, key::rods, key::conductors, key::wires,
                      key::buildings});
    const InJson& version = top.at(key::version);
    // Any positive integer, however large, is a version (a newer one than this).
    if (!version.is_number_unsigned() || version.get<std::uint64_t>() < 1)
        fail(top.named(key::version) + " 应为正整数");
    if (version.get<std::uint64_t>() > static_cast<std::uint64_t>(kVersion))
        fail("由更新版本的 Tervalen 保存（文件版本 " +
             std::to_string(version.get<std::uint64_t>()) + "，本程序能读到版本 " +
             std::to_string(kVersion) + "）");

    sphere::Site site;
    site.hr = top.number(key::hr);
    const InJson& rods = top.list(key::rods);
    for (std::size_t i = 0; i < rods.size(); ++i) {
        const Reader r(rods[i], nth(i, "根接闪杆"), {key::x, key::y, key::base, key::tip});
        site.rods.push_back(
            {r.number(key::x), r.number(key::y), r.number(key::base, 0), r.number(key::tip)});
    }
    const InJson& conductors = top.list(key::conductors);
    for (std::size_t i = 0; i < conductors.size(); ++i) {
        const Reader c(conductors[i], nth(i, "根接闪导体"), {key::from, key::to});
        site.conductors.push_back({c.point(key::from), c.point(key::to)});
    }
    const InJson& wires = top.list(key::wires);
    for (std::size_t i = 0; i < wires.size(); ++i) {
        const Reader w(wires[i], nth(i, "根接闪线"), {key::from, key::to, key::sag});
        sphere::Wire wire{w.point(key::from), w.point(key::to), std::nullopt};
        if (w.has(key::sag)) wire.sag = w.number(key::sag);
        site.wires.push_back(wire);
    }
    const InJson& buildings = top.list(key::buildings);
    for (std::size_t i = 0; i < buildings.size(); ++i) {
        const Reader b(buildings[i], nth(i, "座建筑物"),
                       {key::name, key::outline, key::base, key::roof, key::layer});
        sphere::Building building;
        building.name = b.text(key::name, "");
        building.layer = b.text(key::layer, "");
        const InJson& outline = b.at(key::outline);
        if (!outline.is_array()) fail(b.named(key::outline) + " 应为角点 [x, y] 的数组");
        for (std::size_t k = 0; k < outline.size(); ++k) {
            const std::vector<double> v =
                b.numbers(outline[k], 2, b.named(key::outline) + " " + nth(k, "个角点"));
            building.outline.push_back({v[0], v[1]});
        }
        building.base = b.number(key::base, 0);
        building.roof = b.number(key::roof);
        site.buildings.push_back(std::move(building));
    }
    // What the engine cannot take: heights below the ground, a rod upside down, an outline
    // that crosses itself, a long wire without its sag...
    if (!checked) return site;
    if (const std::string why = sphere::problemOf(site); !why.empty()) fail(why);
    return site;
}

std::string pathText(const std::filesystem::path& p) {
    const auto u8 = p.u8string();
    return std::string(u8.begin(), u8.end());
}

// A file's name in a message: whole, but on one line.
std::string fileQuoted(const std::filesystem::path& p) {
    return "“" + files::oneLine(pathText(p)) + "”";
}

// The site in a document's text; checked: only a site the engine can take.
sphere::Site read(std::string_view text, bool checked) {
    try {
        InJson doc;
        try {
            doc = files::jsonDocument(text);
        } catch (const files::JsonDocumentError& e) {
            fail(e.what());
        }
        return siteFrom(doc, checked);
    } catch (const SiteError& e) {
        // One line however the file's texts came into it, and not too long to read.
        fail(files::oneLine(e.what(), kMessageCharacters));
    } catch (const std::bad_alloc&) {
        fail("无法读取：内存不足");
    } catch (const std::exception& e) {
        fail(files::oneLine(std::string("无法读取：") + e.what(), kMessageCharacters));
    }
}

}  // namespace

sphere::Site parse(std::string_view text) {
    return read(text, true);
}

sphere::Site parseAsWritten(std::string_view text) {
    return read(text, false);
}

std::string serialize(const sphere::Site& site) {
    Json doc;
    doc[key::format] = kFormat;
    doc[key::version] = kVersion;
    doc[key::hr] = number(site.hr);
    doc[key::rods] = Json::array();
    for (const sphere::Rod& r : site.rods)
        doc[key::rods].push_back({{key::x, number(r.x)},
                                  {key::y, number(r.y)},
                                  {key::base, number(r.base)},
                                  {key::tip, number(r.tip)}});
    doc[key::conductors] = Json::array();
    for (const sphere::Conductor& c : site.conductors)
        doc[key::conductors].push_back({{key::from, point(c.from)}, {key::to, point(c.to)}});
    doc[key::wires] = Json::array();
    for (const sphere::Wire& w : site.wires) {
        Json out = {{key::from, point(w.from)}, {key::to, point(w.to)}};
        if (w.sag) out[key::sag] = number(*w.sag);
        doc[key::wires].push_back(std::move(out));
    }
    doc[key::buildings] = Json::array();
    for (const sphere::Building& b : site.buildings) {
        Json outline = Json::array();
        for (const sphere::Point2& p : b.outline)
            outline.push_back(Json::array({number(p.x), number(p.y)}));
        Json out = {{key::name, b.name},
                    {key::outline, std::move(outline)},
                    {key::base, number(b.base)},
                    {key::roof, number(b.roof)}};
        if (!b.layer.empty()) out[key::layer] = b.layer;
        doc[key::buildings].push_back(std::move(out));
    }
    // A name that is not UTF-8 (it can only come from elsewhere than a file) is written
    // with U+FFFD rather than making the file unwritable.
    return doc.dump(2, ' ', false, Json::error_handler_t::replace) + '\n';
}

sphere::Site load(const std::filesystem::path& file) {
    const std::string name = fileQuoted(file);
    const Result<std::string> text = files::readRegularFile(file, kMaxFileSize);
    if (!text) fail("无法读取场地文件" + name + "：" + text.why());
    try {
        return parse(*text);
    } catch (const SiteError& e) {
        fail("无法打开场地文件" + name + "：" + e.what());
    }
}

Result<> save(const sphere::Site& site, const std::filesystem::path& file) {
    if (const Result<> done = files::writeAtomically(file, serialize(site)); !done)
        return Failure{"无法保存场地文件" + fileQuoted(file) + "：" + done.why()};
    return {};
}

}  // namespace tervalen::site
