// The sheet as plain text: its order of sections and parts, tables aligned by display
// width, and each step of the working on a line of its own.

#include <gtest/gtest.h>

#include "forms/catalog.h"
#include "sheet/document.h"
#include "sheet/text_render.h"
#include "sheet/verdict.h"
#include "sheet_test_support.h"

namespace tervalen::sheet {
namespace {

using forms::Action;

TEST(StepText, FormulaNumbersValueOrNote) {
    const std::vector<std::pair<Step, std::string>> cases = {
        {{"h0", "√(H×(2×Hr−H))", "√(20×(2×30−20))", "28.28427", "m", ""},
         "h0 = √(H×(2×Hr−H)) = √(20×(2×30−20)) = 28.28427 m"},
        {{"Hr", "", "", "30", "m", "第一类防雷建筑物"}, "Hr = 30 m（第一类防雷建筑物）"},
        {{"", "", "", "", "", "H ≤ Hr，可按滚球法计算"}, "H ≤ Hr，可按滚球法计算"},
        {{"A", "0.378", "0.378", "0.378", "", ""}, "A = 0.378 = 0.378"},
    };
    for (const auto& [step, text] : cases) EXPECT_EQ(stepText(step), text);
}

TEST(DisplayWidth, AChineseCharacterTakesTwoColumns) {
    EXPECT_EQ(displayWidth("Rx"), 2u);
    EXPECT_EQ(displayWidth("滚球半径"), 8u);
    EXPECT_EQ(displayWidth("Ω·m"), 3u);
    EXPECT_EQ(displayWidth("（Hr）："), 8u);
}

TEST(PlainText, TwoRecordsInOrder) {
    Sheet sheet;
    sheet.header.project = "某厂区";
    sheet.header.calculator = "张工";
    sheet.header.date = "2024-05-17";
    sheet.add(*replay(*forms::findForm("frmRx_DLDanZ"),
                      std::vector{Action::set("CmbH", "20"), Action::set("CmbHx", "5"),
                                  Action::press("CmdRun")}));
    auto chain = *replay(testing_support::chainForm(),
                         std::vector{Action::set("Cmbρ", "100"), Action::set("CmbL", "5"),
                                     Action::press("CmdRun_GP"), Action::press("CmdRun_CJ")});
    chain.requirement = Requirement{"4", 4, "Ri"};
    sheet.add(std::move(chain));

    const Document d = sheetDocument(sheet.header, sheet.records);
    EXPECT_EQ(d.project, "某厂区");
    EXPECT_EQ(plainText(d), R"(防雷计算书

  工程名称    某厂区
  子项
  计算书编号
  版次
  设计单位
  规范版本    GB 50057-2010
  日期        2024-05-17
        姓名  签字  日期
  设计  张工
  校对
  审核
  审定

目录

  序号  名称
        计算汇总表
  1     独立单针保护范围计算
  2     测试接地计算

计算汇总表

  序号  名称                  计算项目              主要结果         要求   结论
  1     独立单针保护范围计算  独立单针保护范围计算  Rx = 11.70115 m  —      —
  2     测试接地计算          测试接地计算          Ri = 5 Ω         ≤ 4 Ω  不满足
中间结果显示 7 位有效数字，计算按未舍入值进行。


1 独立单针保护范围计算
1.1 计算依据
《建筑物防雷设计规范》GB 50057-2010 附录D 第D.0.1条（单支接闪杆的保护范围，滚球法）
滚球半径 Hr = 30 m：第一类防雷建筑物的滚球半径（《建筑物防雷设计规范》GB 50057-2010 表5.2.12）
注：本计算中的“避雷针”“避雷线”即该版规范中的“接闪杆”“接闪线”。
1.2 已知条件
  符号  名称          数值  单位
  Hr    滚球半径      30    m
  H     避雷针高度    20    m
  Hx    被保护面高度  5     m
1.3 计算过程
  H = 20 ≤ Hr = 30
  Hx = 5 ≤ H = 20
  Rx = √(H×(2×Hr−H))−√(Hx×(2×Hr−Hx)) = √(20×(2×30−20))−√(5×(2×30−5)) = 11.70115 m
  按滚球几何精确校核：距针 Rx 处 S = 5 m，即 Hx = 5 m，为保护范围的边缘；Rx 与公式相符
1.4 计算结果
  符号  名称                              数值      单位
  Rx    避雷针在Hx高度的平面上的保护半径  11.70115  m
1.5 保护范围图
  独立单针保护范围计算：剖面与平面，比例 1:800，见 PDF 或打印的计算书
1.6 结论
计算得 Rx = 11.70 m。

2 测试接地计算
2.1 计算依据
《建筑物防雷设计规范》GB 50057-2010 附录C（接地装置冲击接地电阻与工频接地电阻的换算）
2.2 已知条件
  符号  名称        数值  单位
  ρ     土壤电阻率  100   Ω·m
  L     长度        5     m
2.3 计算过程
  R = ρ/10 = 100/10 = 10 Ω
  L > 0
  Ri = R/2 = 10/2 = 5 Ω
2.4 计算结果
  符号  名称  数值  单位
  R           10    Ω
  Ri          5     Ω
2.5 结论
Ri = 5.00 Ω > 4 Ω，不满足要求
本计算书由 Tervalen 程序生成，计算条件与结果须经设计人校核后使用。
)");
}

// A sheet built through the section cache reads as one built afresh, after every kind of
// change: a record moved (renumbered), changed, removed, the edition switched.
TEST(SectionCache, GivesWhatAFreshBuildGives) {
    Sheet sheet;
    for (const char* H : {"15", "20", "25"})
        sheet.add(*replay(*forms::findForm("frmRx_DLDanZ"),
                          std::vector{Action::set("CmbH", H), Action::set("CmbHx", "5"),
                                      Action::press("CmdRun")}));
    sheet.add(*replay(testing_support::chainForm(),
                      std::vector{Action::set("Cmbρ", "100"), Action::set("CmbL", "5"),
                                  Action::press("CmdRun_GP"), Action::press("CmdRun_CJ")}));
    SectionCache cache;
    const auto same = [&] {
        EXPECT_EQ(plainText(sheetDocument(sheet.header, sheet.records, &cache)),
                  plainText(sheetDocument(sheet.header, sheet.records)));
    };
    same();
    std::swap(sheet.records[0], sheet.records[3]);
    same();
    sheet.records[1].requirement = Requirement{"12", 12, "Rx"};
    same();
    sheet.records.erase(sheet.records.begin());
    same();
    sheet.records.push_back(sheet.records.front());  // the same calculation twice
    same();
    sheet.header.edition = CodeEdition::GB50057_94;
    same();
}

struct SummaryCase {
    std::string name;
    std::optional<std::string> requirement;
    bool mismatch;
    std::vector<std::string> row;
};

class SummaryRows : public ::testing::TestWithParam<SummaryCase> {};

// The summary's row: label, form, the result judged (or the first), what it must reach,
// and the 结论's verdict.
TEST_P(SummaryRows, StateTheResultAndTheVerdict) {
    SheetRecord r = *replay(
        *forms::findForm("frmRx_DLDanZ"),
        std::vector{Action::set("CmbH", "20"), Action::set("CmbHx", "5"), Action::press("CmdRun")},
        "屋面");
    if (GetParam().requirement) r.requirement = readRequirement(r, *GetParam().requirement).value();
    if (GetParam().mismatch) r.mismatch = Mismatch{false, {}, {}};
    EXPECT_EQ(summaryRow(r, 4), GetParam().row);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SummaryRows,
    ::testing::Values(
        SummaryCase{"unjudged",
                    std::nullopt,
                    false,
                    {"4", "屋面", "独立单针保护范围计算", "Rx = 11.70115 m", "—", "—"}},
        SummaryCase{"met",
                    "10",
                    false,
                    {"4", "屋面", "独立单针保护范围计算", "Rx = 11.70115 m", "≥ 10 m", "满足"}},
        SummaryCase{
            "missed",
            "11.71",
            false,
            {"4", "屋面", "独立单针保护范围计算", "Rx = 11.70115 m", "≥ 11.71 m", "不满足"}},
        SummaryCase{"marked",
                    "10",
                    true,
                    {"4", "屋面", "独立单针保护范围计算", "Rx = 11.70115 m", "≥ 10 m", "满足 ※"}}),
    [](const auto& info) { return info.param.name; });

TEST(PlainText, ARecordAloneWithItsMessagesAndEarlierInputs) {
    const auto r = *replay(testing_support::chainForm(),
                           std::vector{Action::set("Cmbρ", "100"), Action::press("CmdRun_GP"),
                                       Action::set("Cmbρ", "50"), Action::set("CmbL", "150"),
                                       Action::press("CmdRun_CJ")});
    const std::string text = plainText(recordDocument(r, 3));
    EXPECT_TRUE(text.starts_with("\n3 \n3.1 计算依据\n")) << text;
    EXPECT_NE(text.find("  ρ     土壤电阻率  50    Ω·m\n  L     长度        150   m\n"
                        "“求工频电阻”按以下不同的输入计算：土壤电阻率（ρ） 100 Ω·m。\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("提示：长度大于有效长度按有效长度计算\n3.5 结论\n"), std::string::npos)
        << text;
}

}  // namespace
}  // namespace tervalen::sheet
