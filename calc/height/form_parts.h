#pragma once
// Rows that the height forms share.

#include <string>
#include <utility>
#include <vector>

#include "forms/form_def.h"

namespace tervalen::forms::height {

inline Row surfaceRow() {
    return inputRow("Lab_Hx", "被保护面高度（Hx）：",
                    input("CmbHx").numeric("Hx 值输入错误，只为数字！"));
}

// A note under an input row, wrapped across the frame.
inline Row noteRow(std::string text) {
    return {paragraph({}, std::move(text))};
}

// The support spacing note of the wire forms.
inline const char* const kSpanNote =
    "支柱间距说明：D小于120m，弧垂为2m。D在120m与               150m之间，弧垂为3m。";

// A row of results each followed by its own unit label "米".
inline Row eachInMetres(std::vector<std::pair<std::string, std::string>> prefixAndBox) {
    Row r;
    for (auto& pb : prefixAndBox) {
        Row one = resultRow({std::move(pb)}, "米");
        r.insert(r.end(), one.begin(), one.end());
    }
    return r;
}

}  // namespace tervalen::forms::height
