// Every range and height form checks its press with the exact rolling sphere: where its
// formula is exact the sphere agrees with the printed 7 digits; the weak points the
// formula does not describe (the centre of three and four rods) are asked about too; and
// what the sphere finds is in the working the panel, the sheet and the driver show.

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "calc/height/h_danx.h"
#include "calc/height/h_danz.h"
#include "calc/height/h_sansiz.h"
#include "calc/height/h_shuangx.h"
#include "calc/height/h_shuangz.h"
#include "calc/range/rx_danz.h"
#include "calc/range/rx_sanz_siz.h"
#include "calc/range/rx_shuangz.h"
#include "calc/range/rxbx_danx.h"
#include "calc/range/rxbx_shuangx.h"
#include "forms/action.h"
#include "forms/catalog.h"
#include "forms/form.h"

namespace tervalen::forms {
namespace {

// The check a press's unit made, whatever the unit.
template <class R>
const SphereCheck* checkOf(const Record& r) {
    if (const auto* result = r.result<R>()) return &result->sphere;
    if (const auto* result = r.result<std::optional<R>>())
        return *result ? &(*result)->sphere : nullptr;
    return nullptr;
}

const SphereCheck* sphereCheckOf(const Record& r) {
    for (const SphereCheck* c :
         {checkOf<RxDanZ>(r), checkOf<TwoRods>(r), checkOf<RxSanZ>(r), checkOf<RxSiZ>(r),
          checkOf<RxBxDanX>(r), checkOf<RxBxShuangX>(r), checkOf<HDLDanZ>(r), checkOf<HJSDanZ>(r),
          checkOf<RodPairHeight>(r), checkOf<HJSShuangZ>(r), checkOf<HDLSiZ>(r), checkOf<HDanX>(r),
          checkOf<HShuangX>(r)})
        if (c) return c;
    return nullptr;
}

struct Pressed {
    std::unique_ptr<Form> form;
    const SphereCheck* check = nullptr;
};

// A press in the driver's words: "frmRx_DLSanZ CmbHr=30 CmbH=15 …", then 计 算.
Pressed press(const std::string& words) {
    std::istringstream in(words);
    std::string name, w;
    in >> name;
    std::vector<std::string> args;
    while (in >> w) args.push_back(w);
    Pressed p{std::make_unique<Form>(*findForm(name)), nullptr};
    p.form->setSink([](const Message&) {});
    auto actions = parseActions(args, p.form->def());
    actions.push_back(Action::press("CmdRun"));
    applyAll(*p.form, actions);
    if (p.form->lastPress()) p.check = sphereCheckOf(*p.form->lastPress());
    return p;
}

const SphereProbe* probe(const SphereCheck& c, std::string_view symbol) {
    for (const SphereProbe& p : c.probes)
        if (p.point.symbol == symbol) return &p;
    return nullptr;
}

struct Exact {
    const char* name;
    std::string words;
    double base;  // the plane the printed heights are measured from (the roof, for 是)
    double Hx;
    // Printed values the sphere must agree with: result box, the check's symbol.
    std::vector<std::pair<std::string, std::string>> printed;
};

class FormsCheckedBySphere : public ::testing::TestWithParam<Exact> {};

TEST_P(FormsCheckedBySphere, TheSphereAgreesWhereTheFormulaIsExact) {
    const Exact& c = GetParam();
    const Pressed p = press(c.words);
    ASSERT_TRUE(p.form->lastPress()) << c.words;
    ASSERT_NE(p.check, nullptr) << "no check recorded";
    ASSERT_TRUE(p.check->done) << p.check->why;
    for (const auto& [box, symbol] : c.printed) {
        const SphereProbe* at = probe(*p.check, symbol);
        ASSERT_NE(at, nullptr) << symbol;
        const double printed = std::strtod(p.form->text(box).c_str(), nullptr);
        // The point asked about is the one printed, and S there is the printed height, or Hx
        // at the edge of a printed width.
        EXPECT_NEAR(at->point.shownValue, printed, 1e-6 * std::max(1.0, printed)) << symbol;
        const double expected = at->point.edge ? c.Hx : c.base + printed;
        EXPECT_NEAR(at->s, expected, 1e-4) << symbol << " printed " << p.form->text(box);
        EXPECT_EQ(at->agreement, Agreement::Agrees) << symbol;
    }
    // The working ends with the line that says it, as the panel, the sheet and the driver
    // show the working.
    const Working& w = p.form->lastPress()->working();
    ASSERT_FALSE(w.empty());
    EXPECT_EQ(w.back().note.rfind(std::string(kSphereCheck), 0), 0u) << w.back().note;
    for (const auto& [box, symbol] : c.printed)
        EXPECT_NE(w.back().note.find(symbol), std::string::npos) << w.back().note;
    // A weak point the line states is one the press names.
    if (w.back().note.find("无保护") != std::string::npos) {
        EXPECT_FALSE(p.form->lastPress()->warnings().empty()) << w.back().note;
    }
}

INSTANTIATE_TEST_SUITE_P(
    SixteenForms, FormsCheckedBySphere,
    ::testing::Values(
        Exact{"Rx_DLDanZ", "frmRx_DLDanZ CmbH=20 CmbHx=5", 0, 5, {{"PicRx", "Rx"}}},
        Exact{"Rx_JSDanZ_Yes",
              "frmRx_JSDanZ --pick CmbYesNo=是 CmbH=40 CmbHx=15",
              15,
              15,
              {{"PicRx", "Rx"}}},
        Exact{"Rx_JSDanZ_No",
              "frmRx_JSDanZ --pick CmbYesNo=否 CmbH=25 CmbHx=10",
              0,
              10,
              {{"PicRx", "Rx"}}},
        Exact{"Rx_DLShuangZ",
              "frmRx_DLShuangZ CmbH=20 CmbHx=5 CmbD=30",
              0,
              5,
              {{"PicRx", "Rx"}, {"PicHo", "Ho"}, {"PicBx", "Bx"}}},
        Exact{"Rx_JSShuangZ_Yes",
              "frmRx_JSShuangZ --pick CmbYesNo=是 CmbH=25 CmbHx=10 CmbD=20",
              10,
              10,
              {{"PicRx", "Rx"}, {"PicHo", "Ho"}, {"PicBx", "Bx"}}},
        Exact{"Rx_DLSanZ",
              "frmRx_DLSanZ CmbHr=30 CmbH=15 CmbHx=5 CmbL=30",
              0,
              5,
              {{"PicRx", "Rx"}, {"PicHo", "Ho"}, {"PicBx", "Bx"}}},
        Exact{"Rx_DLSiZ",
              "frmRx_DLSiZ CmbHr=45 CmbH=30 CmbHx=10 CmbL=40",
              0,
              10,
              {{"PicRx", "Rx"}, {"PicHo1", "Ho1"}, {"PicBx1", "Bx1"}}},
        Exact{"RxBx_DanX",
              "frmRxBx_DanX CmbH=20 CmbHx=5 CmbD=100",
              0,
              5,
              {{"PicBx1", "Bx1"}, {"PicBx2", "Bx2"}}},
        Exact{"RxBx_ShuangX",
              "frmRxBx_ShuangX CmbH=20 CmbHx=5 CmbD1=100 CmbD2=20",
              0,
              5,
              {{"PicHo", "Ho"}, {"PicBx1", "Bx1"}}},
        Exact{"H_DLDanZ", "frmH_DLDanZ CmbRxo=10 CmbHx=5", 0, 5, {{"PicRx", "Rx"}}},
        Exact{"H_JSDanZ_Yes",
              "frmH_JSDanZ --pick CmbYesNo=是 CmbRxo=20 CmbHx=15 CmbG=15",
              15,
              15,
              {{"PicRx", "Rx"}}},
        Exact{"H_DLShuangZ", "frmH_DLShuangZ CmbBxo=5 CmbHx=5 CmbD=30", 0, 5, {{"PicHo", "Ho"}}},
        Exact{"H_JSShuangZ_Yes",
              "frmH_JSShuangZ --pick CmbYesNo=是 CmbBxo=5 CmbHx=15 CmbD=20 CmbG=15",
              15,
              15,
              {{"PicHo", "Ho"}}},
        Exact{"H_DLSanZ", "frmH_DLSanZ CmbBxo=3 CmbHx=0 CmbL=40", 0, 0, {{"PicHo", "Ho"}}},
        Exact{"H_DLSiZ",
              "frmH_DLSiZ CmbHr=45 CmbBxo=5 CmbHx=5 CmbL=30",
              0,
              5,
              {{"PicHo1", "Ho1"}, {"PicBx1", "Bx1"}}},
        Exact{"H_DanX",
              "frmH_DanX CmbBx1o=10 CmbHx=5 CmbD=100",
              0,
              5,
              {{"PicBx1", "Bx1"}, {"PicBx2", "Bx2"}}},
        Exact{"H_ShuangX",
              "frmH_ShuangX CmbHoo=15 CmbHx=5 CmbD1=100 CmbD2=20",
              0,
              5,
              {{"PicHo", "Ho"}, {"PicBx1", "Bx1"}}}),
    [](const auto& info) { return std::string(info.param.name); });

// The width a height search met lies inside what the height found gives: S there is at
// least Hx, never below.
TEST(SphereCheckOfHeights, TheWidthASearchMetIsCovered) {
    for (const char* words : {"frmH_DLShuangZ CmbBxo=5 CmbHx=5 CmbD=30",
                              "frmH_JSShuangZ --pick CmbYesNo=是 CmbBxo=5 CmbHx=15 CmbD=20 CmbG=15",
                              "frmH_DLSanZ CmbBxo=3 CmbHx=0 CmbL=40"}) {
        const Pressed p = press(words);
        ASSERT_NE(p.check, nullptr) << words;
        const SphereProbe* bx = probe(*p.check, "Bx");
        ASSERT_NE(bx, nullptr) << words;
        EXPECT_EQ(bx->point.claim, Claim::AtLeast);
        EXPECT_GE(bx->s, bx->point.value - 1e-4) << words;
        EXPECT_EQ(bx->agreement, Agreement::Agrees) << words;
    }
}

// The weak points inside the figures: where the sphere comes down lowest, whether the plane
// Hx is protected there, and how the formula compares.
struct Weak {
    const char* name;
    std::string words;
    const char* place;    // the weakest point
    double s;             // S there, 7 digits
    bool covered;         // the plane Hx protected there
    const char* symbol;   // the formula's value at that point
    Agreement agreement;  // and how it compares with the sphere
    const char* words_;   // what the line says of it
    const char* warning;  // the place of a weak point the press names, or nullptr
};

class SphereWeakPoints : public ::testing::TestWithParam<Weak> {};

TEST_P(SphereWeakPoints, AreFoundWhereTheSphereComesDown) {
    const Weak& c = GetParam();
    const Pressed p = press(c.words);
    ASSERT_NE(p.check, nullptr) << c.words;
    ASSERT_TRUE(p.check->weakest);
    const SphereProbe& w = p.check->probes[*p.check->weakest];
    EXPECT_EQ(w.point.place, c.place);
    EXPECT_NEAR(w.s, c.s, 1e-6);
    EXPECT_EQ(p.check->covered, c.covered);
    const SphereProbe* at = probe(*p.check, c.symbol);
    ASSERT_NE(at, nullptr);
    EXPECT_EQ(at->agreement, c.agreement);
    const std::string& line = p.form->lastPress()->working().back().note;
    EXPECT_NE(line.find(c.words_), std::string::npos) << line;
    bool named = false;
    for (const Warning& warning : p.form->lastPress()->warnings())
        named = named || (c.warning && warning.where == c.warning);
    EXPECT_EQ(named, c.warning != nullptr) << line;
}

INSTANTIATE_TEST_SUITE_P(
    Figures, SphereWeakPoints,
    ::testing::Values(
        Weak{"ThreeRodsCentreOpen", "frmRx_DLSanZ CmbHr=30 CmbH=15 CmbL=40 CmbHx=4.5", "三针中心",
             4.148542, false, "Hoc", Agreement::Agrees,
             "三针中心 S = 4.148542 m < Hx = 4.5 m，该处在 Hx 高度无保护", "三针中心"},
        Weak{"ThreeRodsCentreCovered", "frmRx_DLSanZ CmbHr=30 CmbH=15 CmbL=30 CmbHx=4.5",
             "三角形边中点", 8.786797, true, "Hoc", Agreement::Agrees,
             "三角形边中点 S = 8.786797 m ≥ Hx = 4.5 m，该处在 Hx 高度受保护", nullptr},
        // The diagonal's formula gives 4.019238 m at the centre; the sphere on four tips
        // stays at 6.213203 m. The formula's own weak point stays named.
        Weak{"FourRodsCentre", "frmRx_DLSiZ CmbHr=30 CmbH=15 CmbL=30 CmbHx=5", "正方形中心",
             6.213203, true, "Ho2", Agreement::FormulaSafer,
             "公式 Ho2 = 4.019238 m，滚球几何高于公式，公式偏于安全", "正方形中心（对角线上）"},
        Weak{"FourRodsCentreOnTheGround", "frmRx_DLSiZ CmbHr=30 CmbH=15 CmbL=50 CmbHx=5",
             "正方形中心", 0, false, "Ho2", Agreement::Agrees, "滚球落至地面，该处在 Hx 高度无保护",
             "正方形中心（对角线上）"},
        // Wires above the sphere's radius: the sphere passes between them below the wires,
        // where the formula has it resting on both.
        Weak{"TwoWiresAboveTheSphere", "frmH_ShuangX CmbHoo=16 CmbHx=5 CmbD1=100 CmbD2=58",
             "两线之间档距中央", 0, false, "Ho", Agreement::FormulaUnsafe,
             "公式 Ho = 16.00039 m，滚球几何低于公式，公式偏于不安全，以滚球几何为准",
             "两线之间档距中央"},
        Weak{"TwoWiresAboveTheSphereAboveHx", "frmH_ShuangX CmbHoo=15 CmbHx=5 CmbD1=100 CmbD2=58",
             "两线之间档距中央", 8.969717, true, "Ho", Agreement::FormulaUnsafe,
             "公式 Ho = 15.00055 m，滚球几何低于公式，公式偏于不安全", "两线之间档距中央"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SphereCheckOfTriangles, TheCentreIsTheSphereOnTheThreeTips) {
    // Side 30, H 15, Hr 30: H + √(Hr² − (L/√3)²) − Hr at the centroid.
    const Pressed p = press("frmRx_DLSanZ CmbHr=30 CmbH=15 CmbL=30 CmbHx=4.5");
    ASSERT_NE(p.check, nullptr);
    const SphereProbe* centre = probe(*p.check, "Hoc");
    ASSERT_NE(centre, nullptr);
    EXPECT_NEAR(centre->s, 9.494897, 1e-6);
}

}  // namespace
}  // namespace tervalen::forms
