// The annual strikes on the sheet by the edition chosen: the record carries the form's
// settings and is read again with them, 计算依据 names the edition (and the category
// clauses for a chosen use) and gives N by the other edition, the 结论 states the
// category by N for the chosen use.

#include <gtest/gtest.h>

#include "forms/catalog.h"
#include "sheet/basis.h"
#include "sheet/verdict.h"
#include "sheet_test_support.h"

namespace tervalen::sheet {
namespace {

using forms::Action;

const std::vector<Action> kWorked = {Action::set("CmbTd", "40"), Action::set("CmbL", "50"),
                                     Action::set("CmbW", "20"), Action::set("CmbH", "30"),
                                     Action::press("CmdRun")};

SheetRecord pressed(const forms::Settings& settings, const std::vector<Action>& actions = kWorked) {
    forms::Form f(*forms::findForm("frmLJCS"));
    f.setSettings(settings);
    forms::applyAll(f, actions);
    auto r = recordOf(f);
    EXPECT_TRUE(r);
    return r ? *r : SheetRecord{};
}

TEST(StrikesRecord, CarriesItsSettingsAndIsReadAgainWithThem) {
    const SheetRecord r = pressed({{"edition", "2010"}, {"use", "civil"}});
    EXPECT_EQ(r.settings, (forms::Settings{{"edition", "2010"}, {"use", "civil"}}));
    ASSERT_EQ(r.results.size(), 1u);
    EXPECT_EQ(r.results[0].value, "0.1080805");
    const forms::FormDef& def = *forms::findForm("frmLJCS");
    EXPECT_EQ(replay(def, r.settings, r.actions), r);
    // The actions alone are the default edition: the settings are what reproduces it.
    const auto bare = replay(def, r.actions);
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->results[0].value, "0.07844704");
    EXPECT_EQ(bare->settings.at("edition"), "1994");
    EXPECT_THROW(replay(def, {{"edition", "2000"}}, r.actions), std::invalid_argument);
}

const std::string kTitle = "《建筑物防雷设计规范》";

TEST(StrikesBasis, NamesTheEditionAndComparesWithTheOther) {
    EXPECT_EQ(basisOf(pressed({})),
              (std::vector<Basis>{
                  {kTitle + "GB 50057-94（2000年版）附录一（建筑物年预计雷击次数）", false},
                  {"对照：按 GB 50057-2010 附录A，Ng = 0.1×Td = 4 次/(km²·a)，N = 0.1080805 "
                   "次/a（仅供对照，本计算不采用）",
                   true}}));
    EXPECT_EQ(
        basisOf(pressed({{"edition", "2010"}, {"use", "public"}})),
        (std::vector<Basis>{
            {kTitle + "GB 50057-2010 附录A（建筑物年预计雷击次数）", false},
            {kTitle +
                 "GB 50057-2010 第3.0.3条第9款、第3.0.4条第2款（按年预计雷击次数划分防雷类别）",
             false},
            {"对照：按 GB 50057-94（2000年版）附录一，Ng = 0.024×Td^1.3 = 2.903282 "
             "次/(km²·a)，N = 0.07844704 次/a（仅供对照，本计算不采用）",
             true}}));
    EXPECT_EQ(basisOf(pressed({{"use", "industrial"}}))[1].text,
              kTitle + "GB 50057-94（2000年版）第2.0.4条（按年预计雷击次数划分防雷类别）");
}

TEST(StrikesBasis, NoComparisonWhereTheOtherEditionGivesNoN) {
    // A negative Td has no power 1.3: by 2010 N is computed, by 1994 it is not.
    std::vector<Action> actions = kWorked;
    actions[0] = Action::set("CmbTd", "-40");
    const auto lines = basisOf(pressed({{"edition", "2010"}}, actions));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, kTitle + "GB 50057-2010 附录A（建筑物年预计雷击次数）");
}

SheetRecord strikes(const std::string& edition, const std::string& use, const std::string& N) {
    SheetRecord r;
    r.form = "frmLJCS";
    r.settings = {{"edition", edition}, {"use", use}};
    r.results = {{"N", "建筑物年预计雷击次数", N, "次"}};
    return r;
}

const std::string kOthers =
    "。防雷类别还须按规范其他条款（建筑物用途、高度、爆炸危险等）综合确定。";

struct CategoryVerdict {
    std::string name;
    SheetRecord record;
    std::string text;
};
void PrintTo(const CategoryVerdict& c, std::ostream* os) {
    *os << c.name;
}

class StrikesVerdict : public ::testing::TestWithParam<CategoryVerdict> {};

TEST_P(StrikesVerdict, StatesTheCategoryByNWithItsThresholdAndClause) {
    EXPECT_EQ(conclusionOf(GetParam().record), (Conclusion{GetParam().text, std::nullopt}));
}

INSTANTIATE_TEST_SUITE_P(
    Uses, StrikesVerdict,
    ::testing::Values(
        CategoryVerdict{"Civil1994Third", strikes("1994", "civil", "0.07844704"),
                        "计算得 N = 0.07844704 次。建筑物用途为住宅、办公楼等一般性民用建筑物，"
                        "0.06 ≤ N ≤ 0.3，依据 GB 50057-94（2000年版）第2.0.4条，"
                        "按年预计雷击次数属第三类防雷建筑物" +
                            kOthers},
        CategoryVerdict{"Civil2010Third", strikes("2010", "civil", "0.1080805"),
                        "计算得 N = 0.1080805 次。建筑物用途为住宅、办公楼等一般性民用建筑物，"
                        "0.05 ≤ N ≤ 0.25，依据 GB 50057-2010 第3.0.4条第3款，"
                        "按年预计雷击次数属第三类防雷建筑物" +
                            kOthers},
        // The value as shown decides: 0.25 itself is the third category's bound.
        CategoryVerdict{"ShownBoundIsThird", strikes("2010", "industrial", "0.25"),
                        "计算得 N = 0.25 次。建筑物用途为一般性工业建筑物，0.05 ≤ N ≤ 0.25，依据 "
                        "GB 50057-2010 第3.0.4条第3款，按年预计雷击次数属第三类防雷建筑物" +
                            kOthers},
        CategoryVerdict{"Public2010Second", strikes("2010", "public", "0.1080805"),
                        "计算得 N = 0.1080805 次。建筑物用途为部、省级办公建筑物及其他重要或人员"
                        "密集的公共建筑物（含火灾危险场所），N > 0.05，依据 GB 50057-2010 "
                        "第3.0.3条第9款，按年预计雷击次数属第二类防雷建筑物" +
                            kOthers},
        CategoryVerdict{"Industrial1994HasNoSecond", strikes("1994", "industrial", "1.5"),
                        "计算得 N = 1.5 次。建筑物用途为一般性工业建筑物，N ≥ 0.06，依据 "
                        "GB 50057-94（2000年版）第2.0.4条，按年预计雷击次数属第三类防雷建筑物"
                        "（该版规范未按年预计雷击次数规定此类建筑物的第二类）" +
                            kOthers},
        CategoryVerdict{"Public1994BelowTheBound", strikes("1994", "public", "0.01199999"),
                        "计算得 N = 0.01199999 次。建筑物用途为部、省级办公建筑物及其他重要或人员"
                        "密集的公共建筑物（含火灾危险场所），N < 0.012（GB 50057-94（2000年版）"
                        "第2.0.4条的下限），按年预计雷击次数可不划为第三类防雷建筑物" +
                            kOthers},
        // No use chosen: the results restated, no category.
        CategoryVerdict{"NoUse", strikes("2010", "none", "0.1080805"),
                        "计算得 N = 0.1080805 次。"}));

}  // namespace
}  // namespace tervalen::sheet
