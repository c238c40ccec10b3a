// The known conditions and the results read from any form's definition: names and
// symbols from captions and prefixes, texts as typed or shown, units from unit labels.

#include "sheet/form_reading.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/catalog.h"
#include "forms/form.h"
#include "sheet_test_support.h"

namespace tervalen::sheet {

namespace {

struct CaptionCase {
    std::string caption;
    Quantity expected;  // symbol and name only
};
void PrintTo(const CaptionCase& c, std::ostream* os) {
    *os << c.caption;
}

class SplitCaption : public ::testing::TestWithParam<CaptionCase> {};

TEST_P(SplitCaption, NameAndSymbol) {
    const Quantity q = splitCaption(GetParam().caption);
    EXPECT_EQ(q.symbol, GetParam().expected.symbol);
    EXPECT_EQ(q.name, GetParam().expected.name);
}

INSTANTIATE_TEST_SUITE_P(
    Captions, SplitCaption,
    ::testing::Values(
        CaptionCase{"滚球半径（Hr）：", {"Hr", "滚球半径", {}, {}}},
        CaptionCase{"钢管的外径(d)：", {"d", "钢管的外径", {}, {}}},
        CaptionCase{"扁钢的边长（b）:", {"b", "扁钢的边长", {}, {}}},
        CaptionCase{"Rx=", {"Rx", "", {}, {}}}, CaptionCase{"H(针尖)=", {"H(针尖)", "", {}, {}}},
        CaptionCase{"接地系统冲击接地电阻值（Ri）为：", {"Ri", "接地系统冲击接地电阻值", {}, {}}},
        CaptionCase{"建筑整体是否为一个与大地连通的等电位体：",
                    {"", "建筑整体是否为一个与大地连通的等电位体", {}, {}}},
        CaptionCase{"请根据建筑物所处的环境，选择校正系数K值：", {"", "校正系数K值", {}, {}}},
        CaptionCase{"计算得出斜边为（Lc）：", {"Lc", "计算得出斜边", {}, {}}},
        CaptionCase{"选择水平接地体形状：", {"", "水平接地体形状", {}, {}}}));

TEST(UnitOf, MetresAreWrittenAsMAndOtherUnitsAsShown) {
    EXPECT_EQ(unitOf("单位：米"), "m");
    EXPECT_EQ(unitOf("米"), "m");
    EXPECT_EQ(unitOf("Ω·m"), "Ω·m");
    EXPECT_EQ(unitOf("天/年"), "天/年");
    EXPECT_EQ(unitOf("根"), "根");
}

struct ReadCase {
    std::string name;
    std::string form;
    std::vector<std::pair<std::string, std::string>> set;  // box, text (a list box is picked)
    std::vector<std::string> options;
    std::string press;
    std::vector<Quantity> known;
    std::vector<Quantity> results;
};
void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class ReadForm : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadForm, KnownConditionsAndResults) {
    const ReadCase& c = GetParam();
    forms::Form f(*forms::findForm(c.form));
    f.setSink([](const forms::Message&) {});
    for (const auto& [box, text] : c.set) {
        if (f.control(box).list.empty())
            f.setText(box, text);
        else
            f.pick(box, text);
    }
    for (const std::string& o : c.options) f.select(o);
    f.press(c.press);
    EXPECT_EQ(knownConditions(f), c.known);
    EXPECT_EQ(resultsShown(f), c.results);
}

std::string caseName(const ::testing::TestParamInfo<ReadCase>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ReadForm,
    ::testing::Values(
        ReadCase{"SingleRodOnBuilding",
                 "frmRx_JSDanZ",
                 {{"CmbYesNo", "否"}, {"CmbH", "20"}, {"CmbHx", " 5"}},
                 {},
                 "CmdRun",
                 {{"", "建筑整体是否为一个与大地连通的等电位体", "否", ""},
                  {"Hr", "滚球半径", "30", "m"},
                  {"H", "避雷针针尖高度", "20", "m"},
                  {"Hx", "被保护面高度", " 5", "m"}},
                 {{"Rx", "避雷针在Hx高度的平面上的保护半径", "11.70115", "m"}}},
        // Two results on a row: no heading names them, the unit at the row's end is
        // each one's.
        ReadCase{"FourRodsSharedUnit",
                 "frmRx_DLSiZ",
                 {{"CmbHr", "30"}, {"CmbH", "20"}, {"CmbHx", "5"}, {"CmbL", "30"}},
                 {},
                 "CmdRun",
                 {{"Hr", "滚球半径", "30", "m"},
                  {"H", "避雷针高度", "20", "m"},
                  {"Hx", "被保护面高度", "5", "m"},
                  {"L", "正方形边长", "30", "m"}},
                 {{"Rx", "避雷针外端在Hx高度的平面上的保护半径", "11.70115", "m"},
                  {"Ho1", "正方形边长上的保护最低点", "11.97224", "m"},
                  {"Bx1", "边长上的保护最低点在Hx高度平面上的保护宽度", "7.396033", "m"},
                  {"Ho2", "正方形对角线上的保护最低点", "6.547921", "m"},
                  {"Bx2", "对角线上的保护最低点在Hx高度平面上的保护宽度", "2.125163", "m"}}},
        // Each result has a unit label of its own; the heading's trailing symbol is not
        // part of the name.
        ReadCase{"RodHeightOnBuilding",
                 "frmH_JSDanZ",
                 {{"CmbRxo", "15"}, {"CmbHx", "5"}, {"CmbG", "5"}},
                 {},
                 "CmdRun",
                 {{"", "建筑整体是否为一个与大地连通的等电位体", "是", ""},
                  {"Hr", "滚球半径", "30", "m"},
                  {"Rxo", "所需保护半径", "15", "m"},
                  {"Hx", "被保护面高度", "5", "m"},
                  {"G", "架针物面高度", "5", "m"}},
                 {{"H(针尖)", "针尖距地面高度", "9.02", "m"},
                  {"H(针体)", "针体高出架针物面的长度", "4.02", "m"},
                  {"Rx", "该高度避雷针在 Hx 高度平面上的保护半径", "15.00132", "m"}}},
        // The size label follows the steel picked; Ω·m and 根 as shown; the note after
        // Rn's unit is not its unit; a blank box is no known condition.
        ReadCase{"VerticalElectrodes",
                 "frmDZ_ChuiZhi",
                 {{"CmbGx", "圆钢"},
                  {"CmbGg", "0.05"},
                  {"Cmbρ", "100"},
                  {"CmbL1", "2.5"},
                  {"CmbN", "4"}},
                 {},
                 "CmdRun_GP",
                 {{"Gx", "垂直接地体钢材类型", "圆钢", ""},
                  {"d", "圆钢的直径", "0.05", "m"},
                  {"ρ", "接地体处土壤电阻率", "100", "Ω·m"},
                  {"L1", "垂直接地体长度", "2.5", "m"},
                  {"N", "垂直接地体根数", "4", "根"}},
                 {{"D", "接地体直径或等效直径", "0.05", "m"},
                  {"R", "单根人工垂直接地体的工频接地电阻值", "33.73014", "Ω"},
                  {"Rn", "N 根人工垂直接地体的工频接地电阻值", "11.24338", "Ω"}}},
        // A layout is stated by its name; a result without a unit label has none.
        ReadCase{"HorizontalElectrodeLayout",
                 "frmDZ_ShuiPing",
                 {{"CmbGg", "0.04"}, {"Cmbρ", "100"}, {"CmbL1", "20"}, {"CmbH", "0.8"}},
                 {"OptA4"},
                 "CmdRun_GP",
                 {{"Gx", "水平接地体钢材类型", "扁钢", ""},
                  {"b", "扁钢的边长", "0.04", "m"},
                  {"ρ", "接地体处土壤电阻率", "100", "Ω·m"},
                  {"L1", "水平接地体长度", "20", "m"},
                  {"H", "水平接地体埋深", "0.8", "m"},
                  {"", "水平接地体形状", "十字形", ""}},
                 {{"A", "水平接地体的形状系数", "2.14", ""},
                  {"D", "接地体直径或等效直径", "0.02", "m"},
                  {"R", "人工水平接地体的工频接地电阻值", "9.761476", "Ω"}}},
        // A symbol the caption writes without parentheses; 天/年 and 次 as shown.
        ReadCase{"AnnualStrikes",
                 "frmLJCS",
                 {{"CmbTd", "40"}, {"CmbL", "60"}, {"CmbW", "20"}, {"CmbH", "30"}},
                 {},
                 "CmdRun",
                 {{"K", "校正系数K值", "1.0", ""},
                  {"Td", "年均雷暴日", "40", "天/年"},
                  {"L", "建筑物长度", "60", "m"},
                  {"W", "建筑物宽度", "20", "m"},
                  {"H", "建筑物高度", "30", "m"}},
                 {{"N", "建筑物年预计雷击次数", "0.08317441", "次/a"}}},
        // Only the calculation pressed shows a result; the prefix names it.
        ReadCase{
            "RightTriangle",
            "frmZJXB",
            {{"CmbLa1", "3"}, {"CmbLb", "4"}},
            {},
            "CmdRun1",
            {{"La", "直角三角形第一直角边", "3", "m"}, {"Lb", "直角三角形第二直角边", "4", "m"}},
            {{"Lc", "计算得出斜边", "5", "m"}}}),
    caseName);

}  // namespace
}  // namespace tervalen::sheet
