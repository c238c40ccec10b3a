// A record whose results, computed again from a project file, differ from the ones saved:
// its 计算结果 says 结果与保存时不同 and lists both values of each result that differs.

#include <gtest/gtest.h>

#include "forms/catalog.h"
#include "sheet/document.h"
#include "sheet/text_render.h"

namespace tervalen::sheet {
namespace {

using forms::Action;

SheetRecord rodPair() {
    return *replay(*forms::findForm("frmRx_DLShuangZ"),
                   std::vector{Action::set("CmbH", "20"), Action::set("CmbHx", "10"),
                               Action::set("CmbD", "50"), Action::press("CmdRun")});
}

std::string resultsPart(const SheetRecord& r) {
    const std::string text = plainText(recordDocument(r, 1));
    const auto from = text.find("1.4 计算结果");
    // Up to the part after it (保护范围图 or 结论).
    return text.substr(from, text.find("\n1.5 ", from) - from);
}

TEST(Mismatch, ListsEachResultThatDiffersWithBothValues) {
    SheetRecord r = rodPair();
    ASSERT_EQ(r.results.size(), 3u);  // Rx, Ho, Bx
    Mismatch m{false, {}, r.results};
    m.savedResults[0].value = "5.9";                      // differs
    m.savedResults.erase(m.savedResults.begin() + 2);     // Bx: not saved then
    m.savedResults.push_back({"Q", "旧结果", "1", "m"});  // saved then, not computed now
    r.mismatch = m;
    const std::string part = resultsPart(r);
    EXPECT_NE(part.find("结果与保存时不同：以上为重新计算的结果，两次的数值如下。"),
              std::string::npos)
        << part;
    EXPECT_NE(part.find("保存时  重新计算"), std::string::npos) << part;
    // Ho is the same both times and is not listed again.
    EXPECT_EQ(part.find("Ho ", part.find("保存时")), std::string::npos) << part;
    for (const char* row : {"Rx    ", "Q     旧结果", "Bx    "}) {
        const auto at = part.find(row, part.find("保存时"));
        ASSERT_NE(at, std::string::npos) << row << "\n" << part;
    }
    EXPECT_NE(part.find("5.9"), std::string::npos);
    EXPECT_NE(part.find("5.923592"), std::string::npos);
    EXPECT_NE(part.find("-9.131923"), std::string::npos);

    r.mismatch.reset();
    EXPECT_EQ(resultsPart(r).find(kMismatchNote), std::string::npos);
}

TEST(Mismatch, ARefusedRecordSaysWhyAndShowsWhatWasSaved) {
    SheetRecord r = rodPair();
    r.mismatch = Mismatch{true, "避雷针太高！\n避雷针高度 H 不应大于滚球半径 Hr ！", r.results};
    const std::string part = resultsPart(r);
    EXPECT_NE(
        part.find("结果与保存时不同：按保存的操作重新计算未得出结果（避雷针太高！避雷针高度 H "
                  "不应大于滚球半径 Hr ！），以上为保存时的结果。"),
        std::string::npos)
        << part;
    EXPECT_NE(part.find("5.923592"), std::string::npos);
}

}  // namespace
}  // namespace tervalen::sheet
