// The 结论 of each family of forms, with and without a requirement, and what a typed
// requirement may be.

#include "sheet/verdict.h"

#include <gtest/gtest.h>

#include <variant>

#include "sheet/basis.h"
#include "sheet_test_support.h"

namespace tervalen::sheet {
namespace {

SheetRecord record(std::string form, std::vector<Quantity> known, std::vector<Quantity> results) {
    SheetRecord r;
    r.form = std::move(form);
    r.known = std::move(known);
    r.results = std::move(results);
    return r;
}

const SheetRecord kSingleRod = record("frmRx_DLDanZ", {{"Hx", "被保护面高度", "5", "m"}},
                                      {{"Rx", "保护半径", "11.70115", "m"}});
const SheetRecord kTwoRods =
    record("frmRx_DLShuangZ", {},
           {{"Rx", "", "11.70115", "m"}, {"Ho", "", "17.5", "m"}, {"Bx", "", "7.2", "m"}});
const SheetRecord kElectrodes =
    record("frmDZ_ChuiZhi", {},
           {{"D", "", "0.042", "m"}, {"R", "", "34.8401", "Ω"}, {"Rn", "", "11.61337", "Ω"}});
const SheetRecord kImpulse =
    record("frmDZ_ChuiZhi", {},
           {{"R", "", "34.8401", "Ω"}, {"Rn", "", "11.61337", "Ω"}, {"Ri", "", "9.8", "Ω"}});

SheetRecord withRequirement(SheetRecord r, std::string text, std::string symbol = {}) {
    const auto read = readRequirement(r, text, symbol);
    if (read) r.requirement = *read;
    return r;
}

struct VerdictCase {
    std::string name;
    SheetRecord record;
    Conclusion expected;
};
void PrintTo(const VerdictCase& c, std::ostream* os) {
    *os << c.name;
}

class Verdicts : public ::testing::TestWithParam<VerdictCase> {};

TEST_P(Verdicts, Sentence) {
    EXPECT_EQ(conclusionOf(GetParam().record), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Families, Verdicts,
    ::testing::Values(
        VerdictCase{"RangeCovered",
                    withRequirement(kSingleRod, "10"),
                    {"Rx = 11.70 m ≥ 10 m，满足保护要求", true}},
        VerdictCase{"RangeNotCovered",
                    withRequirement(kSingleRod, " 12.5 "),
                    {"Rx = 11.70 m < 12.5 m，不满足保护要求", false}},
        // The value as shown decides, so the sentence cannot contradict its numbers: where
        // the practical value (to 0.01, toward the safe side) would, the shown one stands.
        VerdictCase{"RangeExactlyAsShown",
                    withRequirement(kSingleRod, "11.70115"),
                    {"Rx = 11.70115 m ≥ 11.70115 m，满足保护要求", true}},
        VerdictCase{"RodPairChecksTheWidthFirst",
                    withRequirement(kTwoRods, "8"),
                    {"Bx = 7.20 m < 8 m，不满足保护要求", false}},
        VerdictCase{"RodPairRadiusChosen",
                    withRequirement(kTwoRods, "8", "Rx"),
                    {"Rx = 11.70 m ≥ 8 m，满足保护要求", true}},
        VerdictCase{"EarthingWithin",
                    withRequirement(kElectrodes, "30"),
                    {"Rn = 11.62 Ω ≤ 30 Ω，满足要求", true}},
        VerdictCase{"EarthingAbove",
                    withRequirement(kImpulse, "4"),
                    {"Ri = 9.80 Ω > 4 Ω，不满足要求", false}},
        VerdictCase{"HeightAgainstItsTarget",
                    record("frmH_DLDanZ", {{"Hr", "", "30", "m"}, {"Rxo", "", "15", "m"}},
                           {{"H", "", "21.2", "m"}, {"Rx", "", "15.00132", "m"}}),
                    {"H = 21.20 m 时，Rx = 15.00 m ≥ Rxo = 15 m，满足要求", true}},
        // Four rods name their widths Bx1 and Bx2; the target Bxo is the side's.
        VerdictCase{"HeightOfFourRods",
                    record("frmH_DLSiZ", {{"Bxo", "", "8", "m"}},
                           {{"H", "", "25", "m"}, {"Ho1", "", "20", "m"}, {"Bx1", "", "7.9", "m"}}),
                    {"H = 25.00 m 时，Bx1 = 7.90 m < Bxo = 8 m，不满足要求", false}},
        VerdictCase{"NoRequirementRestates",
                    kTwoRods,
                    {"计算得 Rx = 11.70 m，Ho = 17.50 m，Bx = 7.20 m。", std::nullopt}},
        VerdictCase{"OtherForms",
                    record("frmLJCS", {}, {{"N", "建筑物年预计雷击次数", "0.08317441", "次/a"}}),
                    {"计算得 N = 0.0832 次/a。", std::nullopt}},
        // Rounded down a width stays under a requirement it misses; rounded up a resistance
        // would pass one it meets no more, so the shown value stands.
        VerdictCase{"PracticalValueTowardTheSafeSide",
                    withRequirement(kSingleRod, "11.705"),
                    {"Rx = 11.70 m < 11.705 m，不满足保护要求", false}},
        VerdictCase{"ShownValueWherePracticalWouldContradict",
                    withRequirement(kElectrodes, "11.615"),
                    {"Rn = 11.61337 Ω ≤ 11.615 Ω，满足要求", true}}));

TEST(ReadRequirement, RefusesWhatCannotBeCompared) {
    const SheetRecord height = record("frmH_DLDanZ", {}, {{"H", "", "21.2", "m"}});
    const std::vector<std::tuple<SheetRecord, std::string, std::string, std::string>> cases = {
        {kSingleRod, "abc", "", "要求值应为数字"},
        {kSingleRod, "", "", "要求值应为数字"},
        {kSingleRod, "-3", "", "要求值不应为负数"},
        {kSingleRod, "10", "Ho", "没有可比较的结果 Ho"},
        {kElectrodes, "10", "D", "没有可比较的结果 D"},
        {height, "10", "", "该计算不设要求值"},
    };
    for (const auto& [r, text, symbol, error] : cases) {
        const auto read = readRequirement(r, text, symbol);
        ASSERT_FALSE(read.ok()) << text;
        EXPECT_EQ(read.why(), error);
    }
}

TEST(ReadRequirement, PromptAndDefaultPerFamily) {
    EXPECT_EQ(comparableResults(kTwoRods), (std::vector<std::string>{"Bx", "Rx"}));
    EXPECT_EQ(comparableResults(kImpulse), (std::vector<std::string>{"Ri", "Rn", "R"}));
    EXPECT_EQ(requirementPrompt(kSingleRod), "Hx 高度上须保护的水平距离（m）");
    EXPECT_EQ(requirementPrompt(kElectrodes), "允许的最大接地电阻（Ω）");
    EXPECT_EQ(requirementPrompt(record("frmH_DLDanZ", {}, {{"H", "", "21.2", "m"}})), "");
    const auto read = readRequirement(kSingleRod, "10");
    ASSERT_TRUE(read.ok()) << read.why();
    EXPECT_EQ(*read, (Requirement{"10", 10.0, "Rx"}));
}

struct BasisCase {
    std::string form;
    std::vector<std::string> presses;
    std::vector<Basis> expected2010;  // the sheet's edition by default
    std::vector<Basis> expected94;
};
void PrintTo(const BasisCase& c, std::ostream* os) {
    *os << c.form;
}

class Bases : public ::testing::TestWithParam<BasisCase> {};

TEST_P(Bases, PerFormButtonAndEdition) {
    SheetRecord r;
    r.form = GetParam().form;
    for (const std::string& b : GetParam().presses) r.actions.push_back(forms::Action::press(b));
    EXPECT_EQ(basisOf(r), GetParam().expected2010);
    EXPECT_EQ(basisOf(r, CodeEdition::GB50057_94), GetParam().expected94);
}

const std::string kCode94 = "《建筑物防雷设计规范》GB 50057-94（2000年版）";
const std::string kCode2010 = "《建筑物防雷设计规范》GB 50057-2010 ";
const Basis kSphere{kCode94 + "附录四（滚球法）", false};
const Basis kConversion{kCode94 + "附录三（工频接地电阻换算为冲击接地电阻）", false};
const Basis kConversion2010{kCode2010 + "附录C（接地装置冲击接地电阻与工频接地电阻的换算）", false};
const Basis kTerms{"注：本计算中的“避雷针”“避雷线”即该版规范中的“接闪杆”“接闪线”。", false};
Basis appendixD(const std::string& clause, const std::string& what) {
    return {kCode2010 + "附录D 第" + clause + "条（" + what + "，滚球法）", false};
}
const Basis kVerticalElectrodes{
    "人工垂直接地体工频接地电阻：R = ρ/(2πL1)·ln(4L1/D)；N 根：Rn = "
    "R/(η·N)，利用系数 η = 0.75",
    true};

INSTANTIATE_TEST_SUITE_P(
    Forms, Bases,
    ::testing::Values(
        BasisCase{"frmRx_DLDanZ",
                  {"CmdRun"},
                  {appendixD("D.0.1", "单支接闪杆的保护范围"), kTerms},
                  {kSphere}},
        BasisCase{"frmRx_JSShuangZ",
                  {"CmdRun"},
                  {appendixD("D.0.2", "两支等高接闪杆的保护范围"), kTerms},
                  {kSphere}},
        BasisCase{"frmH_DLSanZ",
                  {"CmdRun"},
                  {appendixD("D.0.2", "两支等高接闪杆的保护范围，用于三角形的每一边"), kTerms},
                  {kSphere}},
        BasisCase{"frmRx_BDGShuangZ",
                  {"CmdRun"},
                  {appendixD("D.0.3", "两支不等高接闪杆的保护范围"), kTerms},
                  {kSphere}},
        BasisCase{"frmH_BDGShuangZ",
                  {"CmdRun"},
                  {appendixD("D.0.3", "两支不等高接闪杆的保护范围"), kTerms},
                  {kSphere}},
        BasisCase{"frmRxBx_ShuangX",
                  {"CmdRun"},
                  {appendixD("D.0.6", "两根等高接闪线的保护范围"), kTerms},
                  {kSphere}},
        BasisCase{"frmH_DanX",
                  {"CmdRun"},
                  {appendixD("D.0.5", "单根接闪线的保护范围"), kTerms},
                  {kSphere}},
        BasisCase{"frmH_DLSiZ",
                  {"CmdRun"},
                  {appendixD("D.0.4", "矩形布置的四支等高接闪杆的保护范围"), kTerms},
                  {kSphere}},
        BasisCase{"frmDZ_GC", {"CmdRun"}, {kConversion2010}, {kConversion}},
        // The strikes cite the edition the record was computed by, whatever the sheet's.
        BasisCase{"frmLJCS",
                  {"CmdRun"},
                  {{kCode94 + "附录一（建筑物年预计雷击次数）", false}},
                  {{kCode94 + "附录一（建筑物年预计雷击次数）", false}}},
        // The electrode's formula is named, with no clause; its impulse press adds the
        // conversion.
        BasisCase{"frmDZ_ChuiZhi",
                  {"CmdRun_GP", "CmdRun_CJ"},
                  {kVerticalElectrodes, kConversion2010},
                  {kVerticalElectrodes, kConversion}},
        BasisCase{"frmDZ_ShuiPing",
                  {"CmdRun_GP"},
                  {{"人工水平接地体工频接地电阻：R = ρ/(2πL1)·[ln(L1²/(D·H)) + A]", true}},
                  {{"人工水平接地体工频接地电阻：R = ρ/(2πL1)·[ln(L1²/(D·H)) + A]", true}}},
        BasisCase{"frmDZ_XT", {"CmdRun_CJ"}, {kConversion2010}, {kConversion}},
        BasisCase{"frmZJXB",
                  {"CmdRun2"},
                  {{"直角三角形勾股定理：Lb = √(Lc² − La²)", true}},
                  {{"直角三角形勾股定理：Lb = √(Lc² − La²)", true}}}));

// The sphere's radius is justified by the category whose radius it is, or said to be the
// designer's own.
TEST(Bases, TheSphereRadiusByCategory) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"30",
         "滚球半径 Hr = 30 m：第一类防雷建筑物的滚球半径（《建筑物防雷设计规范》GB "
         "50057-2010 表5.2.12）"},
        {"45",
         "滚球半径 Hr = 45 m：第二类防雷建筑物的滚球半径（《建筑物防雷设计规范》GB "
         "50057-2010 表5.2.12）"},
        {"60",
         "滚球半径 Hr = 60 m：第三类防雷建筑物的滚球半径（《建筑物防雷设计规范》GB "
         "50057-2010 表5.2.12）"},
        {"50",
         "滚球半径 Hr = 50 m：设计给定（《建筑物防雷设计规范》GB 50057-2010 "
         "表5.2.12规定第一、二、三类防雷建筑物分别为 30 m、45 m、60 m）"},
    };
    for (const auto& [Hr, line] : cases) {
        SheetRecord r = record("frmRx_DLDanZ", {{"Hr", "滚球半径", Hr, "m"}}, {});
        r.actions.push_back(forms::Action::press("CmdRun"));
        const std::vector<Basis> lines = basisOf(r);
        ASSERT_EQ(lines.size(), 3u) << Hr;
        EXPECT_EQ(lines[1], (Basis{line, false})) << Hr;
    }
}

}  // namespace
}  // namespace tervalen::sheet
