#pragma once
// Whether every coordinate and size of a drawing is a number: a press whose geometry
// degenerates (a zero spacing, say) may leave NaN or infinity in it, which no file the
// programs write may carry.

#include "drawing/model.h"

namespace tervalen::drawing {

bool allFinite(const Drawing& d);

// Why a drawing with a coordinate that is not a number is not written.
inline constexpr const char* kNotFiniteReason = "图中有无法计算的坐标（例如间距为零），不写入文件";

}  // namespace tervalen::drawing
