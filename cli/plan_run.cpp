#include "cli/plan_run.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>

#include "drawing/number_text.h"
#include "files/atomic_write.h"
#include "files/one_line.h"
#include "forms/action.h"
#include "site/dxf_import.h"
#include "site/site_file.h"

namespace tervalen::cli {
namespace {

using Json = nlohmann::ordered_json;
using forms::ActionError;

// Exit statuses: no outline (or no site made of them), a plan that cannot be read.
constexpr int kNoOutline = 3;
constexpr int kPlanFile = 4;
// The site's bounds on a height and on the sphere's radius.
constexpr double kMaxHeight = 1e5;
constexpr double kMaxRadius = 1e3;

// One number of the command line, whole, with a point for the decimal separator
// whatever the locale; nothing unless it is within (0, max].
std::optional<double> positive(std::string_view text, double max) {
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(v) || !(v > 0) || v > max)
        return std::nullopt;
    return v;
}

// --units: a unit's name or the metres in one drawing unit.
std::optional<double> unitMetres(const std::string& text) {
    static const std::map<std::string, double> names = {
        {"mm", 0.001}, {"cm", 0.01},   {"dm", 0.1},    {"m", 1},
        {"km", 1000},  {"in", 0.0254}, {"ft", 0.3048}, {"yd", 0.9144}};
    if (const auto it = names.find(text); it != names.end()) return it->second;
    return positive(text, 1e6);
}

std::string number(double v) {
    return drawing::numberText(v, 7, 1e-9);
}

const char* fromText(site::DxfOutline::From from) {
    return from == site::DxfOutline::From::Polyline ? "polyline" : "chain";
}

// "另有 2 条未闭合的线、1 个自相交的轮廓未读入", or empty.
std::string skippedText(const site::DxfSkipped& s) {
    std::string text;
    const std::pair<int, const char*> parts[] = {
        {s.open, " 组未闭合的线、弧或多段线"}, {s.selfIntersecting, " 个自相交的轮廓"},
        {s.degenerate, " 个面积约为零的轮廓"}, {s.duplicates, " 个重复的轮廓"},
        {s.notInPlan, " 个不在平面内的图元"},  {s.damaged, " 个数据损坏的图元"}};
    for (const auto& [count, what] : parts)
        if (count > 0) text += (text.empty() ? "" : "、") + std::to_string(count) + what;
    return text.empty() ? text : "未读入：" + text;
}

Json skippedJson(const site::DxfSkipped& s) {
    return Json{{"open", s.open},
                {"self_intersecting", s.selfIntersecting},
                {"degenerate", s.degenerate},
                {"duplicates", s.duplicates},
                {"not_in_plan", s.notInPlan},
                {"damaged", s.damaged}};
}

void printText(const site::DxfPlan& plan, const std::string& file) {
    std::cout << "DXF 文件 " << files::oneLine(file) << "：";
    if (plan.units.empty())
        std::cout << "未注明图形单位，按 1 个图形单位 = " << number(plan.metresPerUnit) << " m";
    else
        std::cout << "图形单位 " << plan.units << "（1 个图形单位 = " << number(plan.metresPerUnit)
                  << " m）";
    if (!plan.version.empty()) std::cout << "，版本 " << plan.version;
    std::cout << "\n图层：";
    for (std::size_t i = 0; i < plan.layers.size(); ++i)
        std::cout << (i ? "、" : "") << files::oneLine(plan.layers[i]);
    std::cout << '\n';
    for (std::size_t i = 0; i < plan.outlines.size(); ++i) {
        const site::DxfOutline& o = plan.outlines[i];
        double x0 = o.vertices[0].x, x1 = x0, y0 = o.vertices[0].y, y1 = y0;
        for (const sphere::Point2& p : o.vertices) {
            x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
            y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
        }
        std::cout << "轮廓 " << i + 1 << "：图层 “" << files::oneLine(o.layer) << "”，"
                  << (o.from == site::DxfOutline::From::Polyline ? "闭合多段线" : "首尾相接的线段")
                  << "，" << o.vertices.size() << " 个顶点，面积 " << number(o.area)
                  << " m²，范围 (" << number(x0) << ", " << number(y0) << ")–(" << number(x1)
                  << ", " << number(y1) << ")";
        if (o.elevation) std::cout << "，标高 " << number(*o.elevation) << " m";
        if (o.thickness) std::cout << "，厚度 " << number(*o.thickness) << " m";
        std::cout << '\n';
    }
    std::cout << "共 " << plan.outlines.size() << " 个闭合轮廓";
    if (const std::string s = skippedText(plan.skipped); !s.empty()) std::cout << "；" << s;
    std::cout << '\n';
}

Json planJson(const site::DxfPlan& plan) {
    Json out;
    out["units"] = plan.units.empty() ? Json(nullptr) : Json(plan.units);
    out["metres_per_unit"] = plan.metresPerUnit;
    out["version"] = plan.version.empty() ? Json(nullptr) : Json(plan.version);
    out["layers"] = plan.layers;
    Json outlines = Json::array();
    for (const site::DxfOutline& o : plan.outlines) {
        Json vertices = Json::array();
        for (const sphere::Point2& p : o.vertices) vertices.push_back(Json::array({p.x, p.y}));
        Json one{{"layer", o.layer},
                 {"vertices", std::move(vertices)},
                 {"area", o.area},
                 {"from", fromText(o.from)}};
        if (o.elevation) one["elevation"] = *o.elevation;
        if (o.thickness) one["thickness"] = *o.thickness;
        outlines.push_back(std::move(one));
    }
    out["outlines"] = std::move(outlines);
    out["skipped"] = skippedJson(plan.skipped);
    return out;
}

}  // namespace

std::optional<PlanOptions> planOptions(const std::vector<std::string>& args) {
    if (std::find(args.begin(), args.end(), "--import-dxf") == args.end()) return std::nullopt;
    PlanOptions o;
    bool hrGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--import-dxf" && hasValue && o.file.empty()) {
            o.file = args[++i];
        } else if (a == "--layer" && hasValue) {
            o.layers.push_back(args[++i]);
        } else if (a == "--json") {
            o.json = true;
        } else if (a == "--units" && hasValue) {
            o.metresPerUnit = unitMetres(args[++i]);
            if (!o.metresPerUnit)
                throw ActionError(
                    "--units needs mm, cm, dm, m, km, in, ft, yd or the metres in "
                    "one drawing unit, not '" +
                    args[i] + "'");
        } else if (a == "--roof" && hasValue) {
            o.roof = positive(args[++i], kMaxHeight);
            if (!o.roof)
                throw ActionError(
                    "--roof needs a height above 0 and up to 100000 m with a point "
                    "for the decimal separator, not '" +
                    args[i] + "'");
        } else if (a == "--hr" && hasValue) {
            const auto hr = positive(args[++i], kMaxRadius);
            if (!hr)
                throw ActionError(
                    "--hr needs a radius above 0 and up to 1000 m with a point for "
                    "the decimal separator, not '" +
                    args[i] + "'");
            o.hr = *hr;
            hrGiven = true;
        } else if (a == "--site-out" && hasValue) {
            o.siteOut = args[++i];
        } else if (a == "--import-dxf" && hasValue) {
            throw ActionError("--import-dxf takes one file");
        } else if (!hasValue && (a == "--import-dxf" || a == "--layer" || a == "--units" ||
                                 a == "--roof" || a == "--hr" || a == "--site-out")) {
            throw ActionError("unknown option " + a + " without a value");
        } else {
            throw ActionError(
                "--import-dxf goes with --layer, --json, --units, --roof, --hr and "
                "--site-out only, not " +
                a);
        }
    }
    if (o.file.empty()) throw ActionError("--import-dxf needs a file");
    if (o.roof.has_value() != !o.siteOut.empty())
        throw ActionError("--roof and --site-out go together");
    if (hrGiven && !o.roof) throw ActionError("--hr goes with --roof and --site-out");
    if (!o.siteOut.empty() && files::sameFile(o.siteOut, o.file))
        throw ActionError("--site-out would write over the plan " + o.file);
    return o;
}

int runPlan(const PlanOptions& options) {
    site::DxfPlan plan;
    try {
        plan = site::readDxf(std::filesystem::path(options.file), options.layers,
                             options.metresPerUnit);
    } catch (const site::DxfError& e) {
        std::cerr << "tervalen-calc: " << files::oneLine(e.what()) << '\n';
        return kPlanFile;
    }
    if (plan.outlines.empty()) {
        std::string where = options.layers.empty() ? "" : "所选图层上";
        std::string why = skippedText(plan.skipped);
        std::cerr << "tervalen-calc: " << files::oneLine(options.file) << " 的模型空间" << where
                  << "没有闭合的轮廓" << (why.empty() ? "" : "（" + why + "）") << '\n';
        return kNoOutline;
    }
    Json out = planJson(plan);
    if (!options.siteOut.empty()) {
        const sphere::Site site = site::siteOf(plan, options.hr, *options.roof);
        if (const std::string why = sphere::problemOf(site); !why.empty()) {
            std::cerr << "tervalen-calc: 未写入场地文件 " << files::oneLine(options.siteOut) << "："
                      << files::oneLine(why) << '\n';
            return kNoOutline;
        }
        if (const Result<> saved = site::save(site, std::filesystem::path(options.siteOut));
            !saved) {
            std::cerr << "tervalen-calc: " << files::oneLine(saved.why()) << '\n';
            return kNoOutline;
        }
        out["site"] = {
            {"file", options.siteOut}, {"hr", options.hr}, {"buildings", site.buildings.size()}};
    }
    if (options.json) {
        std::cout << out.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
    } else {
        printText(plan, options.file);
        if (!options.siteOut.empty())
            std::cout << "已写入场地文件 " << files::oneLine(options.siteOut) << "：建筑物 "
                      << plan.outlines.size() << " 座，滚球半径 hr = " << number(options.hr)
                      << " m\n";
    }
    return 0;
}

}  // namespace tervalen::cli
