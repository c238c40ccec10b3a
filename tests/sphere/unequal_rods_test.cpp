// The pair of rods of different heights against the engine: where the unit says the
// protection is lowest and narrowest, the sphere reaches exactly that low.
#include <gtest/gtest.h>

#include <vector>

#include "calc/range/rx_bdgshuangz.h"
#include "calc/sphere/engine.h"

namespace tervalen::sphere {
namespace {

// Rod 1 at the origin, rod 2 at (D, 0): S at (D1, Bx) is Hx, S at (D1, 0) is Ho.
TEST(UnequalRodsAgainstTheEngine, LowestPointAndWidthAtHx) {
    for (const UnequalRodsInput in :
         std::vector<UnequalRodsInput>{{45, 20, 30, 60, 5}, {30, 28, 12, 35, 7.5f}}) {
        const auto r = std::get<RxBDGShuangZ>(calcRx_BDGShuangZ(in));
        ASSERT_TRUE(r.waist);
        const std::vector<Rod> rods{{0, 0, 0, in.H1}, {in.D, 0, 0, in.H2}};
        EXPECT_NEAR(surfaceOf(in.Hr, rods, {}, {r.waist->D1, r.waist->Bx}), in.Hx, 1e-4) << in.H1;
        EXPECT_NEAR(surfaceOf(in.Hr, rods, {}, {r.waist->D1, 0}), r.waist->Ho, 1e-4) << in.H1;
    }
}

}  // namespace
}  // namespace tervalen::sphere
