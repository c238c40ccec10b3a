#include "drawing/from_record.h"

#include <algorithm>
#include <array>

#include "calc/range/rx_danz.h"

namespace tervalen::drawing {

bool hasDrawing(std::string_view formName) {
    static constexpr std::array<std::string_view, 16> kForms{
        "frmRx_DLDanZ", "frmRx_JSDanZ", "frmRx_DLShuangZ", "frmRx_JSShuangZ",
        "frmRx_DLSanZ", "frmRx_DLSiZ",  "frmRxBx_DanX",    "frmRxBx_ShuangX",
        "frmH_DLDanZ",  "frmH_JSDanZ",  "frmH_DLShuangZ",  "frmH_JSShuangZ",
        "frmH_DLSanZ",  "frmH_DLSiZ",   "frmH_DanX",       "frmH_ShuangX"};
    return std::find(kForms.begin(), kForms.end(), formName) != kForms.end();
}

std::optional<Layout> layoutOf(const forms::Record& record) {
    const std::string& unit = record.unit();
    if (unit == "calcRx_DLDanZ") {
        const auto* in = record.input<RodInput>();
        const auto* r = record.result<RxDanZ>();
        if (in && r) return SingleRod{in->Hr, in->H, in->Hx, {}, r->Rx};
    }
    if (unit == "calcRx_JSDanZ") {
        const auto* in = record.input<RodOnBuildingInput>();
        const auto* r = record.result<RxDanZ>();
        // The rod stands on the roof at Hx.
        if (in && r) return SingleRod{in->Hr, in->H, in->Hx, {in->Hx, in->yesNo}, r->Rx};
    }
    return std::nullopt;
}

std::optional<Drawing> drawingOf(const forms::Record& record, std::string_view caption) {
    const auto layout = layoutOf(record);
    if (!layout) return std::nullopt;
    return draw(*layout, caption);
}

}  // namespace tervalen::drawing
