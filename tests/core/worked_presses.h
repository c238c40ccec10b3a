#pragma once
// A worked press of every calculator form: the actions from a freshly opened form up to
// and including the press, and the result texts that press shows. A form with two
// calculations has a row for each; an impulse press follows the power-frequency press
// whose resistance it converts.

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "forms/action.h"

namespace tervalen::forms::testing {

struct WorkedPress {
    std::string name;  // the test's name: the form, then what the row shows
    std::string form;
    std::vector<Action> actions;                             // ends with the press
    std::vector<std::pair<std::string, std::string>> shown;  // result boxes the press fills
};

inline std::ostream& operator<<(std::ostream& o, const WorkedPress& w) {
    return o << w.name;
}

inline const std::vector<WorkedPress>& workedPresses() {
    using A = Action;
    const auto set = [](std::vector<std::pair<std::string, std::string>> boxes) {
        std::vector<Action> out;
        for (auto& [box, text] : boxes) out.push_back(A::set(box, text));
        return out;
    };
    const auto then = [](std::vector<Action> a, std::vector<Action> b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    static const std::vector<WorkedPress> presses = {
        {"frmRx_DLDanZ",
         "frmRx_DLDanZ",
         then(set({{"CmbH", "20"}, {"CmbHx", "5"}}), {A::press("CmdRun")}),
         {{"PicRx", " 11.70115"}}},
        {"frmRx_JSDanZ_Yes",
         "frmRx_JSDanZ",
         then({A::pick("CmbYesNo", "是")},
              then(set({{"CmbH", "40"}, {"CmbHx", "15"}}), {A::press("CmdRun")})),
         {{"PicRx", " 29.5804"}}},
        {"frmRx_JSDanZ_No",
         "frmRx_JSDanZ",
         then({A::pick("CmbYesNo", "否")},
              then(set({{"CmbH", "20"}, {"CmbHx", "5"}}), {A::press("CmdRun")})),
         {{"PicRx", " 11.70115"}}},
        {"frmRx_DLShuangZ",
         "frmRx_DLShuangZ",
         then(set({{"CmbH", "20"}, {"CmbHx", "10"}, {"CmbD", "50"}}), {A::press("CmdRun")}),
         {{"PicRx", " 5.923592"}, {"PicHo", " 3.074176"}, {"PicBx", "-9.131923"}}},
        {"frmRx_JSShuangZ",
         "frmRx_JSShuangZ",
         then(set({{"CmbH", "25"}, {"CmbHx", "10"}, {"CmbD", "20"}}), {A::press("CmdRun")}),
         {{"PicRx", " 25.98076"}, {"PicHo", " 11.97224"}, {"PicBx", " 23.97916"}}},
        {"frmRx_DLSanZ",
         "frmRx_DLSanZ",
         then(set({{"CmbH", "20"}, {"CmbHx", "5"}, {"CmbL", "30"}}), {A::press("CmdRun")}),
         {{"PicRx", " 11.70115"}, {"PicHo", " 11.97224"}, {"PicBx", " 7.396033"}}},
        {"frmRx_DLSiZ",
         "frmRx_DLSiZ",
         then(set({{"CmbHr", "45"}, {"CmbH", "30"}, {"CmbHx", "10"}, {"CmbL", "40"}}),
              {A::press("CmdRun")}),
         {{"PicRx", " 14.14214"},
          {"PicHo1", " 20"},
          {"PicBx1", " 9.132302"},
          {"PicHo2", " 12.98438"},
          {"PicBx2", " 3.338505"}}},
        {"frmRx_DLSiZ_DiagonalUncovered",
         "frmRx_DLSiZ",
         then(set({{"CmbH", "20"}, {"CmbHx", "5"}, {"CmbL", "45"}}), {A::press("CmdRun")}),
         {{"PicRx", " 11.70115"}}},
        {"frmRxBx_DanX_AboveSphere",
         "frmRxBx_DanX",
         then(set({{"CmbH", "40"}, {"CmbHx", "5"}, {"CmbD", "100"}}), {A::press("CmdRun")}),
         {{"PicHh", " 20"}, {"PicBx1", " 12.33054"}, {"PicBx2", " 11.70115"}}},
        {"frmRxBx_DanX_Sag3",
         "frmRxBx_DanX",
         then(set({{"CmbH", "20"}, {"CmbHx", "5"}, {"CmbD", "130"}}), {A::press("CmdRun")}),
         {{"PicHh", " 20"}, {"PicBx1", " 10.45389"}, {"PicBx2", " 11.70115"}}},
        {"frmRxBx_ShuangX",
         "frmRxBx_ShuangX",
         then(set({{"CmbH", "30"},
                   {"CmbHr", "45"},
                   {"CmbHx", "10"},
                   {"CmbD1", "100"},
                   {"CmbD2", "30"}}),
              {A::press("CmdRun")}),
         {{"PicHo", " 25.42641"}, {"PicBx1", " 11.402"}}},
        {"frmH_DLDanZ",
         "frmH_DLDanZ",
         then(set({{"CmbRxo", "10"}, {"CmbHx", "5"}}), {A::press("CmdRun")}),
         {{"PicH", " 16.10027"}}},
        {"frmH_JSDanZ_Yes",
         "frmH_JSDanZ",
         then(set({{"CmbRxo", "5"}, {"CmbHx", "10"}, {"CmbG", "12"}}), {A::press("CmdRun")}),
         {{"PicHj", " 10.42"}, {"PicHt", "-1.58"}}},
        {"frmH_JSDanZ_No",
         "frmH_JSDanZ",
         then({A::pick("CmbYesNo", "否")},
              then(set({{"CmbRxo", "10"}, {"CmbHx", "5"}, {"CmbG", "3"}}), {A::press("CmdRun")})),
         {{"PicHj", " 16.1"}}},
        {"frmH_DLShuangZ",
         "frmH_DLShuangZ",
         then(set({{"CmbBxo", "10"}, {"CmbHx", "5"}, {"CmbD", "20"}}), {A::press("CmdRun")}),
         {{"PicH", " 20.35037"}}},
        {"frmH_JSShuangZ",
         "frmH_JSShuangZ",
         then(set({{"CmbBxo", "10"}, {"CmbHx", "5"}, {"CmbD", "20"}, {"CmbG", "3"}}),
              {A::press("CmdRun")}),
         {}},
        {"frmH_DLSanZ",
         "frmH_DLSanZ",
         then(set({{"CmbBxo", "10"}, {"CmbHx", "5"}, {"CmbL", "20"}}), {A::press("CmdRun")}),
         {{"PicH", " 20.35037"}, {"PicHo", " 16.1034"}, {"PicBx", " 10.00254"}}},
        {"frmH_DLSiZ",
         "frmH_DLSiZ",
         then(set({{"CmbBxo", "10"}, {"CmbHx", "5"}, {"CmbL", "20"}}), {A::press("CmdRun")}),
         {{"PicH", " 20.35037"}, {"PicHo1", " 16.1034"}, {"PicBx1", " 10.00418"}}},
        {"frmH_DanX",
         "frmH_DanX",
         then(set({{"CmbBx1o", "0"}, {"CmbHx", "0"}, {"CmbD", "100"}}), {A::press("CmdRun")}),
         {{"PicH", " 3.01"}, {"PicHc", " 2"}, {"PicHh", " 3.01"}, {"PicBx1", " 7.718801"}}},
        {"frmH_DanX_NoSag",
         "frmH_DanX",
         then(set({{"CmbBx1o", "0"}, {"CmbHx", "0"}, {"CmbD", "160"}}), {A::press("CmdRun")}),
         {{"PicH", " 3.01"}, {"PicHc", " 0"}, {"PicBx1", " 0"}, {"PicBx2", " 13.09732"}}},
        {"frmH_ShuangX_WithinSphere",
         "frmH_ShuangX",
         then(set({{"CmbHoo", "10"}, {"CmbHx", "5"}, {"CmbD1", "100"}, {"CmbD2", "20"}}),
              {A::press("CmdRun")}),
         {}},
        {"frmH_ShuangX_AboveSphere",
         "frmH_ShuangX",
         then(set({{"CmbHoo", "32"}, {"CmbHx", "5"}, {"CmbD1", "100"}, {"CmbD2", "50"}}),
              {A::press("CmdRun")}),
         {{"PicBx1", " 0"}}},
        {"frmDZ_ChuiZhi_PowerFrequency",
         "frmDZ_ChuiZhi",
         then(set({{"CmbGg", "0.05"}, {"Cmbρ", "300"}, {"CmbL1", "2.5"}, {"CmbN", "4"}}),
              {A::press("CmdRun_GP")}),
         {}},
        {"frmDZ_ChuiZhi_ImpulseAfterPowerFrequency",
         "frmDZ_ChuiZhi",
         then(set({{"CmbGg", "0.05"}, {"Cmbρ", "300"}, {"CmbL1", "2.5"}, {"CmbN", "4"}}),
              {A::press("CmdRun_GP"), A::set("CmbL2", "10"), A::press("CmdRun_CJ")}),
         {}},
        {"frmDZ_ShuiPing_PowerFrequency",
         "frmDZ_ShuiPing",
         then(set({{"CmbGg", "0.04"}, {"Cmbρ", "200"}, {"CmbL1", "20"}, {"CmbH", "0.8"}}),
              {A::select("OptA4"), A::press("CmdRun_GP")}),
         {{"PicA", " 2.14"}, {"PicD", " 0.02"}}},
        {"frmDZ_ShuiPing_ImpulseAfterPowerFrequency",
         "frmDZ_ShuiPing",
         then(set({{"CmbGg", "0.04"}, {"Cmbρ", "1500"}, {"CmbL1", "20"}, {"CmbH", "0.8"}}),
              {A::pick("CmbGx", "圆钢"), A::press("CmdRun_GP"), A::set("CmbL2", "60"),
               A::press("CmdRun_CJ")}),
         {}},
        {"frmDZ_XT_Modules",
         "frmDZ_XT",
         then(set({{"CmbRB", "10"}, {"CmbRP", "20"}, {"CmbRM", "5"}, {"CmbN", "4"}}),
              {A::press("CmdRun_GP")}),
         {}},
        {"frmDZ_XT_ImpulseWithoutModules",
         "frmDZ_XT",
         then({A::pick("CmbYesNo", "否")},
              then(set({{"CmbRB", "10"}, {"CmbRP", "20"}, {"Cmbρ", "700"}, {"CmbL", "20"}}),
                   {A::press("CmdRun_GP"), A::press("CmdRun_CJ")})),
         {}},
        {"frmDZ_GC_Sloped",
         "frmDZ_GC",
         then(set({{"CmbR", "10"}, {"Cmbρ", "510"}, {"CmbL", "5"}}), {A::press("CmdRun")}),
         {{"PicRi", " 9.32943"}}},
        {"frmDZ_GC_Flat",
         "frmDZ_GC",
         then(set({{"CmbR", "10"}, {"Cmbρ", "500"}, {"CmbL", "5"}}), {A::press("CmdRun")}),
         {{"PicRi", " 6.666667"}}},
        {"frmDZ_GC_LowResistivity",
         "frmDZ_GC",
         then(set({{"CmbR", "7.5"}, {"Cmbρ", "80"}, {"CmbL", "1000"}}), {A::press("CmdRun")}),
         {{"PicRi", " 7.5"}}},
        {"frmDZ_GC_TopLine",
         "frmDZ_GC",
         then(set({{"CmbR", "10"}, {"Cmbρ", "3000"}, {"CmbL", "30"}}), {A::press("CmdRun")}),
         {}},
        {"frmLJCS",
         "frmLJCS",
         then(set({{"CmbTd", "40"}, {"CmbL", "50"}, {"CmbW", "20"}, {"CmbH", "30"}}),
              {A::press("CmdRun")}),
         {{"PicN", " 0.07844704"}}},
        {"frmLJCS_Tall",
         "frmLJCS",
         then(set({{"CmbTd", "40"}, {"CmbL", "50"}, {"CmbW", "20"}, {"CmbH", "100"}}),
              {A::press("CmdRun")}),
         {{"PicN", " 0.1347585"}}},
        {"frmZJXB_Hypotenuse",
         "frmZJXB",
         then(set({{"CmbLa1", "30"}, {"CmbLb", "45"}}), {A::press("CmdRun1")}),
         {{"PicLc", " 54.08327"}}},
        {"frmZJXB_Leg",
         "frmZJXB",
         then(set({{"CmbLa2", "12.5"}, {"CmbLc", "60"}}), {A::press("CmdRun2")}),
         {{"PicLb", " 58.68347"}}},
    };
    return presses;
}

}  // namespace tervalen::forms::testing
