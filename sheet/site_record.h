#pragma once
// A site checked with the rolling sphere as a record of the calculation sheet
// (屋面/总平面防雷校核): the site's objects, the radius and its basis, each roof at its own
// height with its uncovered area and worst point, and the verdict, 满足 only when every
// roof is protected.

#include <string>
#include <vector>

#include "calc/sphere/engine.h"
#include "sheet/sheet_record.h"

namespace tervalen::sheet {

// The record's caption (its 计算项目) and the requirement it is judged by.
inline constexpr const char* kSiteCaption = "屋面/总平面防雷校核";
inline constexpr const char* kSiteRequirement = "各屋面全部受保护";

// The check of the site by the engine, each roof at its own height, as a record labelled
// `label` (empty: Sheet::add gives it the caption). A site the engine refuses (problemOf),
// or one without a building whose roof could be checked, throws std::invalid_argument
// with the one line that says why.
SheetRecord siteRecordOf(const sphere::Site& site, std::string label = {});
// The record of a site with its roofs as saved, not computed: for a record read from a
// project whose site the engine does not take now (the caller marks it as such).
SheetRecord savedSiteRecord(const sphere::Site& site, std::vector<sphere::RoofCheck> roofs,
                            std::string label);

// "滚球半径 hr = 45 m：第二类防雷建筑物的滚球半径（…表5.2.12）", or that a radius typed is
// none of the table's.
std::string hrBasis(double hr);
// A roof's name as the sheet shows it: the building's, or "第 2 座建筑物" (i from 0).
std::string roofName(const sphere::RoofCheck& roof, std::size_t i);
// The roofs' results as rows of values (uncovered area, worst point, S there, verdict of
// each roof), as shown: what a record read again from a project is compared by.
std::vector<Quantity> roofResults(const std::vector<sphere::RoofCheck>& roofs);

}  // namespace tervalen::sheet
