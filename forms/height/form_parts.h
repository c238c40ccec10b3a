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
