#include "sheet/site_record.h"

#include <algorithm>
#include <stdexcept>

#include "drawing/construct.h"

namespace tervalen::sheet {

std::string hrBasis(double hr) {
    const std::string given = "滚球半径 hr = " + drawing::num(hr) + " m：";
    const char* category = hr == 30   ? "第一类"
                           : hr == 45 ? "第二类"
                           : hr == 60 ? "第三类"
                                      : nullptr;
    const std::string table = "《建筑物防雷设计规范》GB 50057-2010 表5.2.12";
    if (!category)
        return given + "设计给定，不是" + table +
               "所列第一、二、三类防雷建筑物的滚球半径（30 m、45 m、60 m）之一";
    return given + category + "防雷建筑物的滚球半径（" + table + "）";
}

std::string roofName(const sphere::RoofCheck& roof, std::size_t i) {
    return roof.name.empty() ? "第 " + std::to_string(i + 1) + " 座建筑物" : roof.name;
}

std::vector<Quantity> roofResults(const std::vector<sphere::RoofCheck>& roofs) {
    std::vector<Quantity> out;
    for (std::size_t i = 0; i < roofs.size(); ++i) {
        const sphere::RoofCheck& r = roofs[i];
        // Numbered: two buildings may have the same name.
        const std::string n = std::to_string(i + 1) + "# " + roofName(r, i) + " ";
        out.push_back({"", n + "未保护面积", drawing::num(r.uncoveredArea), "m²"});
        out.push_back({"", n + "最不利点",
                       "(" + drawing::num(r.worst.at.x) + ", " + drawing::num(r.worst.at.y) + ")",
                       "m"});
        out.push_back({"", n + "最不利点 S", drawing::num(r.worst.s), "m"});
        out.push_back({"", n + "结论", r.ok ? "满足" : "不满足", ""});
    }
    return out;
}

SheetRecord savedSiteRecord(const sphere::Site& site, std::vector<sphere::RoofCheck> roofs,
                            std::string label) {
    SheetRecord rec;
    rec.label = std::move(label);
    rec.caption = kSiteCaption;
    rec.results = roofResults(roofs);
    SiteCheck check;
    check.site = site;
    check.hrBasis = hrBasis(site.hr);
    check.ok = !roofs.empty() &&
               std::all_of(roofs.begin(), roofs.end(), [](const auto& r) { return r.ok; });
    check.roofs = std::move(roofs);
    rec.site = std::move(check);
    return rec;
}

SheetRecord siteRecordOf(const sphere::Site& site, std::string label) {
    if (const std::string why = sphere::problemOf(site); !why.empty())
        throw std::invalid_argument(why);
    if (site.buildings.empty()) throw std::invalid_argument("场地中没有建筑物，没有可校核的屋面");
    const sphere::Engine engine(site);
    return savedSiteRecord(site, engine.roofs(), std::move(label));
}

}  // namespace tervalen::sheet
