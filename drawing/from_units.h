#pragma once
// Layouts from what the units take and return. A range form's layout holds its inputs
// and printed results; a height form's the height it found and the lowest points and
// widths it printed (the drawing is the range of the rods or wires as found, labelled as
// the form's results say). The rods' radius Rx, which the pair and figure height forms
// do not print, is their reach less the plane's. Each layout carries its unit's weak
// points.

#include <optional>

#include "calc/height/h_bdgshuangz.h"
#include "calc/height/h_danx.h"
#include "calc/height/h_danz.h"
#include "calc/height/h_sansiz.h"
#include "calc/height/h_shuangx.h"
#include "calc/height/h_shuangz.h"
#include "calc/range/rx_bdgshuangz.h"
#include "calc/range/rx_danz.h"
#include "calc/range/rx_sanz_siz.h"
#include "calc/range/rx_shuangz.h"
#include "calc/range/rxbx_danx.h"
#include "calc/range/rxbx_shuangx.h"
#include "drawing/layouts.h"

namespace tervalen::drawing {

// Range forms.
SingleRod singleRod(const RodInput& in, const RxDanZ& r);
SingleRod singleRod(const RodOnBuildingInput& in, const RxDanZ& r);  // the rod on the roof at Hx
// onBuilding: the rods stand on the roof at Hx; planeIsGround: that roof is the ground.
RodPair rodPair(float Hr, float H, float Hx, float D, const TwoRods& r, bool onBuilding = false,
                bool planeIsGround = false);
RodFigure rodTriangle(float Hr, float H, float Hx, float L, const RxSanZ& r);
RodFigure rodSquare(float Hr, float H, float Hx, float L, const RxSiZ& r);
SingleWire singleWire(float Hr, float H, float Hx, float D, const RxBxDanX& r);
WirePair wirePair(float Hr, float H, float Hx, float D1, float D2, const RxBxShuangX& r);
UnequalRodPair unequalRodPair(const UnequalRodsInput& in, const RxBDGShuangZ& r);

// Height forms.
std::optional<Layout> heightLayout(float Hr, float Hx, const HDLDanZ& r);
// The rod stands on the surface at G; planeIsGround as the form's answer.
std::optional<Layout> heightLayout(float Hr, float Hx, float G, bool planeIsGround,
                                   const HJSDanZ& r);
std::optional<Layout> heightLayout(float Hr, float Hx, float D, const HDLShuangZ& r);
std::optional<Layout> heightLayout(float Hr, float Hx, float D, float G, bool planeIsGround,
                                   const HJSShuangZ& r);
std::optional<Layout> heightLayoutTriangle(float Hr, float Hx, float L, const HDLSanZ& r);
std::optional<Layout> heightLayout(float Hr, float Hx, float L, const HDLSiZ& r);
std::optional<Layout> heightLayout(float Hr, float Hx, float D, const HDanX& r);
std::optional<Layout> heightLayout(float Hr, float Hx, float D1, float D2, const HShuangX& r);
// The pair with the second rod as found: its range as the form printed it.
UnequalRodPair unequalRodPair(const UnequalRodHeightInput& in, const HBDGShuangZ& r);

}  // namespace tervalen::drawing
