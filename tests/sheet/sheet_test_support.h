#pragma once
// A small earthing form for the sheet's tests: 求工频电阻 computes R = ρ/10 and keeps it,
// 求冲击电阻 halves the kept R (refusing a length that is not positive, saying so of one above
// 100); both record their working as units do.

#include <ostream>

#include "forms/form.h"
#include "sheet/sheet_record.h"

namespace tervalen::sheet {

inline void PrintTo(const Quantity& q, std::ostream* os) {
    *os << "{" << q.symbol << " | " << q.name << " | " << q.value << " | " << q.unit << "}";
}

namespace testing_support {

struct Resistance {
    float R;
    Working working;
};

inline void pressGP(forms::Form& f) {
    f.clear({"PicR"});
    if (f.anyBlank({"Cmbρ"})) return;
    const float rho = f.number("Cmbρ");
    Recorder rec;
    const float R = rho / 10;
    rec.step("R", "{ρ}/10", {{"ρ", rho}}, R, "Ω");
    f.show("unitGP", rho, Outcome<Resistance>{Resistance{R, rec.take()}}, [&](const Resistance& r) {
        f.print("PicR", r.R);
        f.kept("R") = r.R;
    });
}

inline void pressCJ(forms::Form& f) {
    f.clear({"PicRi"});
    if (f.anyBlank({"CmbL"})) return;
    const float L = f.number("CmbL");
    const float R = f.kept("R");
    Recorder rec;
    rec.note("L > 0");
    rec.step("Ri", "{R}/2", {{"R", R}}, R / 2, "Ω");
    const Outcome<Resistance> out = L > 0 ? Outcome<Resistance>{Resistance{R / 2, rec.take()}}
                                          : Outcome<Resistance>{Refusal{"长度须大于零"}};
    f.show("unitCJ", L, out, [&](const Resistance& r) {
        f.print("PicRi", r.R);
        if (L > 100) f.message("长度大于有效长度\n按有效长度计算");
    });
}

inline const forms::FormDef& chainForm() {
    using namespace forms;
    static const FormDef def{
        .name = "frmDZ_Chain",
        .caption = "测试接地计算",
        .frames = {inputFrame({inputRow({}, "土壤电阻率（ρ）：", input("Cmbρ"), "Ω·m"),
                               inputRow({}, "长度（L）：", input("CmbL"), "m")}),
                   resultFrame(
                       {resultRow({{"R=", "PicR"}}, "Ω"), resultRow({{"Ri=", "PicRi"}}, "Ω")})},
        .buttons = {button("CmdRun_GP", "求工频电阻", pressGP),
                    button("CmdRun_CJ", "求冲击电阻", pressCJ)},
        .defaultButton = "",
        .cancelButton = "",
        .kept = {"R"},
        .family = Family::Earthing,
        .basis = {impulseConversion("CmdRun_CJ")},
    };
    return def;
}

}  // namespace testing_support
}  // namespace tervalen::sheet
