#pragma once
// Expected number of lightning strikes per year on a building, by the edition of the
// lightning-protection design code chosen, and the protection category that edition
// assigns by the expected strikes alone.

#include <optional>
#include <string>
#include <string_view>

#include "calc/common/arith.h"
#include "calc/common/working.h"

namespace tervalen {

// The edition of GB 50057 a calculation follows. The two differ in the ground flash
// density (0.024·Td^1.3 against 0.1·Td) and in the thresholds of the categories; the
// equivalent collection area is the same in both.
enum class CodeEdition { GB50057_94, GB50057_2010 };

// "GB 50057-94（2000年版）", "GB 50057-2010".
std::string_view editionName(CodeEdition edition);
// A part of the edition after its name: "GB 50057-2010 附录A", "GB 50057-94（2000年版）附录一".
std::string cited(CodeEdition edition, std::string_view part);
// The appendix that gives the expected strikes: "附录A", "附录一".
std::string_view strikesAppendix(CodeEdition edition);

struct LJCS {
    float N;   // expected strikes per year
    float Ae;  // equivalent collection area, km²
    float Ng;  // ground flash density, strikes per km² and year
    // How far around the building it collects, in metres: sqrt(H(200 − H)) below 100 m,
    // H itself from 100 m on (fromHeight).
    double reachOut;
    bool fromHeight;
    Working working;
};

// What the expected strikes are computed from.
struct LjcsInput {
    float K;   // correction factor for the surroundings
    float Td;  // thunderstorm days per year
    // Length, width and height of the building in metres. L is kept in double precision
    // as typed, never rounded to single.
    double L;
    float W, H;
    CodeEdition edition = CodeEdition::GB50057_94;
};

Outcome<LJCS> calcLJCS(const LjcsInput& in);

// What the building is used for, as the code's category clauses tell buildings apart.
enum class BuildingUse {
    Civil,       // 住宅、办公楼等一般性民用建筑物
    Industrial,  // 一般性工业建筑物
    Important,  // 部、省级办公建筑物及其他重要或人员密集的公共建筑物（含火灾危险场所）
};

// The protection category the edition gives a building of that use by N alone (N is one
// criterion among several: the use, the height and explosion hazards decide as well).
struct CategoryByN {
    int category = 0;  // 2 or 3; 0 when N is below the third category's lower bound
    // The third category's bounds as the code writes them: lower ≤ N ≤ upper, the second
    // above upper. No upper bound where the edition sets no second category by N.
    std::string_view lower;
    std::optional<std::string_view> upper;
    // The clause that decides ("第3.0.4条第3款"); below the lower bound, the clause whose
    // lower bound N misses.
    std::string_view clause;
};
CategoryByN categoryByN(CodeEdition edition, BuildingUse use, double N);
// The clauses that set the categories by N for that use: "第3.0.3条第10款、第3.0.4条第3款".
std::string categoryClauses(CodeEdition edition, BuildingUse use);

// The units' names, as the records of their presses carry them.
namespace unit_id {
inline constexpr const char* calcLJCS = "calcLJCS";
}  // namespace unit_id

}  // namespace tervalen
