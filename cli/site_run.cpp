#include "cli/site_run.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>

#include "calc/sphere/engine.h"
#include "drawing/dxf.h"
#include "drawing/finite.h"
#include "drawing/site_plan.h"
#include "drawing/svg.h"
#include "files/atomic_write.h"
#include "files/one_line.h"
#include "forms/display.h"
#include "sheet/document.h"
#include "sheet/site_record.h"
#include "sheet/verdict.h"
#include "site/site_file.h"

namespace tervalen::cli {
namespace {

using Json = nlohmann::ordered_json;

// Beyond this a plan coordinate or a height is no place on a site (the site file's bound).
constexpr double kMaxCoordinate = 1e5;
// Exit statuses: a plan that cannot be written, a site file that cannot be read.
constexpr int kNoExport = 3;
constexpr int kSiteFile = 4;

// One number of the command line, whole: a point for the decimal separator whatever the
// locale, nothing before or after it.
std::optional<double> numberIn(std::string_view text) {
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v) ||
        std::fabs(v) > kMaxCoordinate)
        return std::nullopt;
    return v;
}

// A value as the result boxes show it (7 significant digits), without their leading blank.
std::string shown(double v) {
    std::string s = forms::formatResult(static_cast<float>(v));
    if (!s.empty() && s.front() == ' ') s.erase(0, 1);
    return s;
}

std::string placeText(sphere::Point2 p) {
    return "(" + shown(p.x) + ", " + shown(p.y) + ")";
}

std::string buildingName(const sphere::RoofCheck& r, std::size_t i) {
    return r.name.empty() ? "第 " + std::to_string(i + 1) + " 座建筑物" : "“" + r.name + "”";
}

Json pointJson(sphere::Point2 p) {
    return Json::array({p.x, p.y});
}

Json ringJson(const std::vector<sphere::Point2>& ring) {
    Json out = Json::array();
    for (const sphere::Point2& p : ring) out.push_back(pointJson(p));
    return out;
}

// The polygons' outer rings, and beside them each one's holes.
void polygonsJson(Json& out, const char* name, const std::vector<sphere::Polygon>& ps) {
    Json outer = Json::array(), holes = Json::array();
    for (const sphere::Polygon& p : ps) {
        outer.push_back(ringJson(p.outer));
        Json h = Json::array();
        for (const auto& ring : p.holes) h.push_back(ringJson(ring));
        holes.push_back(std::move(h));
    }
    out[name] = std::move(outer);
    out[std::string(name) + "_holes"] = std::move(holes);
}

Json lowestJson(const sphere::Lowest& l) {
    return {{"x", l.at.x}, {"y", l.at.y}, {"s", l.s}};
}

// The number of separate pieces a region has: its outer rings.
std::string pieces(const std::vector<sphere::Polygon>& ps) {
    return std::to_string(ps.size()) + " 处";
}

int writePlan(const SiteOptions& o, const sphere::Site& site,
              const std::vector<sphere::LevelRegion>& levels,
              const std::vector<sphere::RoofCheck>& roofs) {
    const std::string title = "滚球法保护范围平面（hr=" + shown(site.hr) + " m）";
    const drawing::Drawing plan = drawing::sitePlan(site, levels, roofs, title);
    if (!drawing::allFinite(plan)) {
        std::cerr << "tervalen-calc: no drawing written: " << drawing::kNotFiniteReason << '\n';
        return kNoExport;
    }
    for (const auto& [path, text] :
         {std::pair{o.dxf, o.dxf.empty() ? std::string() : drawing::toDxf(plan)},
          std::pair{o.svg, o.svg.empty() ? std::string() : drawing::toSvg(plan)}}) {
        if (path.empty()) continue;
        if (const Result<> done = files::writeAtomically(path, text); !done) {
            std::cerr << "tervalen-calc: 无法写入 " << files::oneLine(path) << "：" << done.why()
                      << '\n';
            return kNoExport;
        }
    }
    return 0;
}

}  // namespace

std::optional<sphere::Point2> planPoint(const std::string& text) {
    const auto comma = text.find(',');
    if (comma == std::string::npos) return std::nullopt;
    const auto x = numberIn(std::string_view(text).substr(0, comma));
    const auto y = numberIn(std::string_view(text).substr(comma + 1));
    if (!x || !y) return std::nullopt;
    return sphere::Point2{*x, *y};
}

std::optional<double> levelHeight(const std::string& text) {
    const auto z = numberIn(text);
    if (!z || *z < 0) return std::nullopt;
    return *z == 0 ? 0.0 : *z;  // -0 as 0
}

int runSite(const SiteOptions& o) {
    sphere::Site site;
    try {
        site = site::load(std::filesystem::path(o.file));
    } catch (const site::SiteError& e) {
        std::cerr << "tervalen-calc: " << files::oneLine(e.what(), 400) << '\n';
        return kSiteFile;
    }
    const sphere::Engine engine(site);

    // The levels asked for; without any, each building's roof height once.
    std::vector<double> heights = o.levels;
    if (heights.empty())
        for (const sphere::Building& b : site.buildings)
            if (std::find(heights.begin(), heights.end(), b.roof) == heights.end())
                heights.push_back(b.roof);
    std::vector<sphere::Touch> surface;
    surface.reserve(o.at.size());
    for (const sphere::Point2& p : o.at) surface.push_back(engine.touch(p));
    std::vector<sphere::LevelRegion> levels;
    levels.reserve(heights.size());
    for (double z : heights) levels.push_back(engine.level(z));
    const std::vector<sphere::RoofCheck> roofs = engine.roofs();
    const bool allCovered =
        std::all_of(roofs.begin(), roofs.end(), [](const sphere::RoofCheck& r) { return r.ok; });

    if (o.json) {
        Json out;
        out["hr"] = site.hr;
        out["surface"] = Json::array();
        for (std::size_t i = 0; i < o.at.size(); ++i)
            out["surface"].push_back({{"x", o.at[i].x}, {"y", o.at[i].y}, {"s", surface[i].s}});
        out["levels"] = Json::array();
        for (const sphere::LevelRegion& l : levels) {
            Json j;
            j["z"] = l.z;
            j["protected_area"] = l.protectedArea;
            j["uncovered_area"] = l.uncoveredArea;
            polygonsJson(j, "uncovered", l.uncovered);
            j["worst"] = l.worst ? lowestJson(*l.worst) : Json();
            out["levels"].push_back(std::move(j));
        }
        out["roofs"] = Json::array();
        for (const sphere::RoofCheck& r : roofs) {
            Json j;
            j["name"] = r.name;
            j["height"] = r.height;
            j["uncovered_area"] = r.uncoveredArea;
            polygonsJson(j, "uncovered", r.uncovered);
            j["worst"] = lowestJson(r.worst);
            j["ok"] = r.ok;
            out["roofs"].push_back(std::move(j));
        }
        // Judged only where there is a roof to judge.
        if (!roofs.empty()) out["ok"] = allCovered;
        std::cout << out.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
    } else {
        std::cout << "滚球半径 hr = " << shown(site.hr) << " m；接闪杆 " << site.rods.size()
                  << " 根，接闪导体 " << site.conductors.size() << " 根，接闪线 "
                  << site.wires.size() << " 根，建筑物 " << site.buildings.size() << " 座\n";
        for (std::size_t i = 0; i < o.at.size(); ++i)
            std::cout << "S" << placeText(o.at[i]) << " = " << shown(surface[i].s) << " m\n";
        for (const sphere::LevelRegion& l : levels) {
            std::cout << "高度 " << shown(l.z) << " m：保护面积 " << shown(l.protectedArea)
                      << " m²，未保护面积 " << shown(l.uncoveredArea) << " m²（"
                      << pieces(l.uncovered) << "）";
            if (l.worst)
                std::cout << "，最低处 " << placeText(l.worst->at) << " S = " << shown(l.worst->s)
                          << " m";
            std::cout << '\n';
        }
        for (std::size_t i = 0; i < roofs.size(); ++i) {
            const sphere::RoofCheck& r = roofs[i];
            std::cout << (r.ok ? "" : "[保护校核] ") << "屋面 "
                      << files::oneLine(buildingName(r, i), 60) << "（" << shown(r.height)
                      << " m）：" << (r.ok ? "满足" : "不满足") << "，";
            if (!r.ok)
                std::cout << "滚球可达面积 " << shown(r.uncoveredArea) << " m²（"
                          << pieces(r.uncovered) << "），";
            std::cout << "最低处 " << placeText(r.worst.at) << " S = " << shown(r.worst.s)
                      << " m\n";
        }
        if (!roofs.empty())
            std::cout << "结论："
                      << (allCovered ? "满足，每个屋面都在滚球保护之内"
                                     : "不满足，有屋面仍为滚球所及")
                      << '\n';
    }
    if (!o.dxf.empty() || !o.svg.empty()) return writePlan(o, site, levels, roofs);
    return 0;
}

std::optional<sheet::SheetRecord> siteRecordFromFile(const std::string& file,
                                                     const std::string& label, std::string& why) {
    try {
        return sheet::siteRecordOf(site::load(std::filesystem::path(file)), label);
    } catch (const site::SiteError& e) {
        why = e.what();
    } catch (const std::invalid_argument& e) {
        why = "场地文件“" + file + "”：" + e.what();
    }
    why = files::oneLine(why, 400);
    return std::nullopt;
}

Json siteRecordJson(const sheet::SheetRecord& r) {
    const sheet::SiteCheck& c = *r.site;
    const sheet::Conclusion verdict = sheet::conclusionOf(r);
    Json out;
    out["label"] = r.label;
    out["site"] = true;
    out["hr"] = c.site.hr;
    out["roofs"] = Json::array();
    for (const sphere::RoofCheck& roof : c.roofs)
        out["roofs"].push_back({{"name", roof.name},
                                {"height", roof.height},
                                {"uncovered_area", roof.uncoveredArea},
                                {"worst", lowestJson(roof.worst)},
                                {"ok", roof.ok}});
    out["ok"] = verdict.satisfied.value_or(false);
    out["verdict"] = {{"ok", verdict.satisfied.value_or(false)}, {"text", verdict.text}};
    out["matches_saved"] = !r.mismatch;
    return out;
}

void printSiteRecord(const sheet::SheetRecord& r, std::ostream& out) {
    const sheet::SiteCheck& c = *r.site;
    out << files::oneLine(r.label, 400) << '\n'
        << "滚球半径 hr = " << shown(c.site.hr) << " m；接闪杆 " << c.site.rods.size()
        << " 根，接闪导体 " << c.site.conductors.size() << " 根，接闪线 " << c.site.wires.size()
        << " 根，建筑物 " << c.site.buildings.size() << " 座\n";
    for (std::size_t i = 0; i < c.roofs.size(); ++i) {
        const sphere::RoofCheck& roof = c.roofs[i];
        out << (roof.ok ? "" : "[保护校核] ") << "屋面 "
            << files::oneLine(buildingName(roof, i), 60) << "（" << shown(roof.height) << " m）："
            << (roof.ok ? "满足" : "不满足") << "，未保护面积 " << shown(roof.uncoveredArea)
            << " m²，最低处 " << placeText(roof.worst.at) << " S = " << shown(roof.worst.s)
            << " m\n";
    }
    out << "结论：" << files::oneLine(sheet::conclusionOf(r).text, 2000) << '\n';
    if (r.mismatch) {
        std::string saved;
        for (const sheet::Quantity& q : r.mismatch->savedResults)
            saved += (saved.empty() ? "" : "，") + q.name + " " + q.value +
                     (q.unit.empty() ? "" : " " + q.unit);
        out << sheet::kMismatchNote << "："
            << (r.mismatch->refused
                    ? "重新计算未得出结果（" + files::oneLine(r.mismatch->reason, 400) + "）；"
                    : std::string())
            << "保存时 " << files::oneLine(saved, 4000) << '\n';
    }
}

}  // namespace tervalen::cli
