// The key filter of every input box of the catalog: what a point, a letter and a minus
// typed after a digit do, and the text each refused key shows with the critical icon.

#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "form_test_support.h"
#include "forms/catalog.h"
#include "forms/key_filter.h"

using namespace tervalen::forms;
using tervalen::forms::testing::Recorded;

namespace {

struct FilteredBox {
    const char* form;
    const char* box;
    KeyFilter filter;
    const char* refusal;  // "" where the box has no filter
};

std::ostream& operator<<(std::ostream& o, const FilteredBox& c) {
    return o << c.form << ' ' << c.box;
}

constexpr auto N = KeyFilter::Numeric;
constexpr auto DO = KeyFilter::DigitsOnly;
constexpr auto None = KeyFilter::None;

const char* const kHrDigits = "Hr 值错误，只为数字！";
const char* const kHrPick = "Hr 值输入错误，请选择！";
const char* const kH = "H 值输入错误，只为数字！";
const char* const kHx = "Hx 值输入错误，只为数字！";
const char* const kD = "D 值输入错误，只为数字！";
const char* const kRxo = "Rxo 值输入错误，只为数字！";

const std::vector<FilteredBox>& table() {
    static const std::vector<FilteredBox> boxes{
        // Protection ranges
        {"frmRx_DLDanZ", "CmbHr", DO, kHrDigits},
        {"frmRx_DLDanZ", "CmbH", N, kH},
        {"frmRx_DLDanZ", "CmbHx", N, kHx},
        {"frmRx_JSDanZ", "CmbHr", DO, kHrDigits},
        {"frmRx_JSDanZ", "CmbH", N, kH},
        {"frmRx_JSDanZ", "CmbHx", N, kHx},
        {"frmRx_DLShuangZ", "CmbHr", None, ""},
        {"frmRx_DLShuangZ", "CmbH", N, kH},
        {"frmRx_DLShuangZ", "CmbHx", N, kHx},
        {"frmRx_DLShuangZ", "CmbD", N, kD},
        {"frmRx_JSShuangZ", "CmbHr", None, ""},
        {"frmRx_JSShuangZ", "CmbYesNo", None, ""},
        {"frmRx_JSShuangZ", "CmbH", N, kH},
        {"frmRx_JSShuangZ", "CmbHx", N, kHx},
        {"frmRx_JSShuangZ", "CmbD", N, kD},
        {"frmRx_DLSanZ", "CmbHr", None, ""},
        {"frmRx_DLSanZ", "CmbH", N, kH},
        {"frmRx_DLSanZ", "CmbHx", N, kHx},
        {"frmRx_DLSanZ", "CmbL", N, "L 值输入错误，只为数字！"},
        {"frmRx_DLSiZ", "CmbHr", None, ""},
        {"frmRx_DLSiZ", "CmbH", N, kH},
        {"frmRx_DLSiZ", "CmbHx", N, kHx},
        {"frmRx_DLSiZ", "CmbL", N, kD},
        {"frmRxBx_DanX", "CmbHr", DO, kHrDigits},
        {"frmRxBx_DanX", "CmbH", N, kH},
        {"frmRxBx_DanX", "CmbD", N, kD},
        {"frmRxBx_DanX", "CmbHx", N, kHx},
        {"frmRxBx_ShuangX", "CmbHr", N, kHrDigits},
        {"frmRxBx_ShuangX", "CmbH", N, kH},
        {"frmRxBx_ShuangX", "CmbD1", N, "D1 值输入错误，只为数字！"},
        {"frmRxBx_ShuangX", "CmbD2", N, "D2 值输入错误，只为数字！"},
        {"frmRxBx_ShuangX", "CmbHx", N, kHx},
        {"frmRx_BDGShuangZ", "CmbHr", N, "Hr 值输入错误，只为数字！"},
        {"frmRx_BDGShuangZ", "CmbH1", N, "H1 值输入错误，只为数字！"},
        {"frmRx_BDGShuangZ", "CmbH2", N, "H2 值输入错误，只为数字！"},
        {"frmRx_BDGShuangZ", "CmbD", N, kD},
        {"frmRx_BDGShuangZ", "CmbHx", N, kHx},
        // Heights
        {"frmH_DLDanZ", "CmbHr", DO, kHrDigits},
        {"frmH_DLDanZ", "CmbRxo", N, kRxo},
        {"frmH_DLDanZ", "CmbHx", N, kHx},
        {"frmH_JSDanZ", "CmbYesNo", None, ""},
        {"frmH_JSDanZ", "CmbHr", DO, kHrDigits},
        {"frmH_JSDanZ", "CmbRxo", N, kRxo},
        {"frmH_JSDanZ", "CmbHx", N, kHx},
        {"frmH_JSDanZ", "CmbG", N, "G 值输入错误，只为数字！"},
        {"frmH_DLShuangZ", "CmbHr", N, kHrPick},
        {"frmH_DLShuangZ", "CmbBxo", N, kRxo},
        {"frmH_DLShuangZ", "CmbHx", N, kHx},
        {"frmH_DLShuangZ", "CmbD", N, kD},
        {"frmH_JSShuangZ", "CmbYesNo", N, kRxo},
        {"frmH_JSShuangZ", "CmbHr", N, kHrPick},
        {"frmH_JSShuangZ", "CmbBxo", N, kRxo},
        {"frmH_JSShuangZ", "CmbHx", N, kHx},
        {"frmH_JSShuangZ", "CmbD", N, kD},
        {"frmH_JSShuangZ", "CmbG", None, ""},
        {"frmH_DLSanZ", "CmbHr", N, kHrPick},
        {"frmH_DLSanZ", "CmbBxo", N, kRxo},
        {"frmH_DLSanZ", "CmbHx", N, kHx},
        {"frmH_DLSanZ", "CmbL", N, kD},
        {"frmH_DLSiZ", "CmbHr", N, kHrPick},
        {"frmH_DLSiZ", "CmbBxo", N, kRxo},
        {"frmH_DLSiZ", "CmbHx", N, kHx},
        {"frmH_DLSiZ", "CmbL", N, kD},
        {"frmH_DanX", "CmbHr", DO, kHrDigits},
        {"frmH_DanX", "CmbBx1o", None, ""},
        {"frmH_DanX", "CmbD", N, kD},
        {"frmH_DanX", "CmbHx", N, kHx},
        {"frmH_ShuangX", "CmbHr", N, kHrDigits},
        {"frmH_ShuangX", "CmbHoo", N, "Hoo 值输入错误，只为数字！"},
        {"frmH_ShuangX", "CmbD1", N, "D1 值输入错误，只为数字！"},
        {"frmH_ShuangX", "CmbD2", N, "D2 值输入错误，只为数字！"},
        {"frmH_ShuangX", "CmbHx", N, kHx},
        {"frmH_BDGShuangZ", "CmbHr", N, kHrPick},
        {"frmH_BDGShuangZ", "CmbH1", N, "H1 值输入错误，只为数字！"},
        {"frmH_BDGShuangZ", "CmbD", N, kD},
        {"frmH_BDGShuangZ", "CmbHx", N, kHx},
        {"frmH_BDGShuangZ", "CmbBxo", N, "Bxo 值输入错误，只为数字！"},
        // Earthing
        {"frmDZ_GC", "CmbR", N, "R 值错误，只为数字！"},
        {"frmDZ_GC", "Cmbρ", N, "ρ 值错误，只为数字！"},
        {"frmDZ_GC", "CmbL", N, "L 值错误，只为数字！"},
        {"frmDZ_ChuiZhi", "CmbGg", N, "B 值错误，只为数字！"},
        {"frmDZ_ChuiZhi", "Cmbρ", N, "ρ 值错误，只为数字！"},
        {"frmDZ_ChuiZhi", "CmbN", N, "N 值错误，只为数字！"},
        {"frmDZ_ChuiZhi", "CmbGx", None, ""},
        {"frmDZ_ChuiZhi", "CmbL1", None, ""},
        {"frmDZ_ChuiZhi", "CmbL2", None, ""},
        {"frmDZ_ShuiPing", "CmbGg", N, "b 值错误，只为数字！"},
        {"frmDZ_ShuiPing", "Cmbρ", N, "ρ 值错误，只为数字！"},
        {"frmDZ_ShuiPing", "CmbH", N, "H 值错误，只为数字！"},
        {"frmDZ_ShuiPing", "CmbL1", None, ""},
        {"frmDZ_XT", "CmbRB", N, "RB 值错误，只为数字！"},
        {"frmDZ_XT", "CmbRP", N, "Rp 值错误，只为数字！"},
        {"frmDZ_XT", "CmbRM", N, "RM 值错误，只为数字！"},
        {"frmDZ_XT", "CmbN", N, "N 值错误，只为数字！"},
        {"frmDZ_XT", "CmbYesNo", None, ""},
        {"frmDZ_XT", "Cmbρ", None, ""},
        {"frmDZ_XT", "CmbL", None, ""},
        // Other calculators
        {"frmLJCS", "CmbK", DO, "K 值错误，只为数字！"},
        {"frmLJCS", "CmbTd", N, "Td 值输入错误，只为数字！"},
        {"frmLJCS", "CmbL", N, "L 值输入错误，只为数字！"},
        {"frmLJCS", "CmbW", N, "W 值输入错误，只为数字！"},
        {"frmLJCS", "CmbH", N, kH},
        {"frmZJXB", "CmbLa1", N, "La 值错误，只为数字！"},
        {"frmZJXB", "CmbLb", N, "Lb 值错误，只为数字！"},
        {"frmZJXB", "CmbLa2", N, "La 值错误，只为数字！"},
        {"frmZJXB", "CmbLc", N, "Lc 值错误，只为数字！"},
    };
    return boxes;
}

class KeyFilters : public ::testing::TestWithParam<FilteredBox> {};

// After a digit: a point passes all but the digits-only boxes, a letter and a minus pass
// only boxes without a filter; each refused key leaves the text and shows the box's text.
TEST_P(KeyFilters, PointLetterAndMinusAfterADigit) {
    const FilteredBox& c = GetParam();
    Recorded r(c.form);
    r.form.setText(c.box, "1");
    std::string typed = "1";
    std::vector<Message> refusals;
    for (const char32_t key : {U'.', U'a', U'-'}) {
        const bool passes =
            c.filter == KeyFilter::None || (key == U'.' && c.filter == KeyFilter::Numeric);
        EXPECT_EQ(r.form.typeKey(c.box, key), passes) << char(key);
        if (passes)
            typed += char(key);
        else
            refusals.push_back({c.refusal, Icon::Critical});
    }
    EXPECT_EQ(r.form.text(c.box), typed);
    EXPECT_EQ(r.messages, refusals);
}

INSTANTIATE_TEST_SUITE_P(Catalog, KeyFilters, ::testing::ValuesIn(table()));

TEST(KeyFilters, EveryFilteredBoxOfTheCatalogIsInTheTable) {
    std::set<std::pair<std::string, std::string>> listed;
    for (const FilteredBox& c : table()) listed.insert({c.form, c.box});
    for (const FormDef* def : allForms()) {
        Form f(*def);
        for (const Control* c : f.controls())
            if (c->filter != KeyFilter::None) {
                EXPECT_TRUE(listed.count({def->name, c->name})) << def->name << ' ' << c->name;
            }
    }
}

}  // namespace
