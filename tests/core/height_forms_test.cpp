// The height forms' definitions as a user meets them: menu order and captions, default
// texts, Enter and Escape, the two-wire note label.

#include <gtest/gtest.h>

#include "form_test_support.h"
#include "forms/height/forms.h"

using namespace tervalen::forms;
using tervalen::forms::testing::Recorded;

namespace {

TEST(HeightForms, ListedInMenuOrderWithTheirCaptions) {
    const std::vector<std::pair<std::string, std::string>> expected{
        {"frmH_DLDanZ", "独立单针针高计算"},
        {"frmH_JSDanZ", "架设于建筑物上的单针针高计算"},
        {"frmH_DLShuangZ", "独立等高双针针高计算"},
        {"frmH_JSShuangZ", "架设于建筑物上等高双针针高计算"},
        {"frmH_DLSanZ", "独立等高等边三角形布置三针针高计算"},
        {"frmH_DLSiZ", "独立等高正方形布置四针针高计算"},
        {"frmH_DanX", "架空单线高度计算"},
        {"frmH_ShuangX", "架空双线高度计算"},
        {"frmH_BDGShuangZ", "不等高双针针高计算"}};
    std::vector<std::pair<std::string, std::string>> listed;
    for (const FormDef* def : heightForms()) listed.emplace_back(def->name, def->caption);
    EXPECT_EQ(listed, expected);
}

TEST(HeightForms, OpenWithTheirDefaultsEnterCalculatesEscapeCloses) {
    for (const FormDef* def : heightForms()) {
        Recorded r(def->name.c_str());
        EXPECT_EQ(r.form.text("CmbHr"), "30") << def->name;
        EXPECT_EQ(r.form.control("CmbHr").list, (std::vector<std::string>{"30", "45", "60"}));
        EXPECT_EQ(r.form.text("CmbHx"), "") << def->name;
        if (r.form.has("CmbYesNo")) {
            EXPECT_EQ(r.form.text("CmbYesNo"), "是") << def->name;
        }
        // Enter presses "计 算": with the inputs blank it stops silently, nothing is typed.
        EXPECT_FALSE(r.form.typeKey("CmbHx", 13)) << def->name;
        EXPECT_TRUE(r.messages.empty()) << def->name;
        EXPECT_EQ(r.form.text("CmbHx"), "");
        EXPECT_FALSE(r.form.typeKey("CmbHx", 27));
        EXPECT_TRUE(r.form.closeRequested()) << def->name;
    }
}

TEST(HeightForms, TwoWireNoteIsARedLabelAtTheRightOfItsHeadingThatTheDriverWatches) {
    Recorded r("frmH_ShuangX");
    const Control& note = r.form.control("LabJG");
    EXPECT_EQ(note.text, "该项无计算结果");
    EXPECT_TRUE(note.red && note.right && !note.visible);
    EXPECT_EQ(note.dynamic, unsigned{kVisible});
    EXPECT_FALSE(r.form.state("LabJG").visible);
}

}  // namespace
