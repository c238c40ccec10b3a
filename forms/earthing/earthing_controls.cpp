#include "forms/earthing/earthing_controls.h"

#include <optional>

#include "calc/earthing/dz_electrodes.h"
#include "calc/earthing/dz_gc.h"

namespace tervalen::forms {
namespace {

// The size label for a steel type, tested in this order; other texts have none.
std::optional<std::string> sizeCaption(std::string_view type) {
    if (type == "等边角钢") return "等边角钢的边长（b）：";
    if (type == "圆钢") return "圆钢的直径（d）：";
    if (type == "钢管") return "钢管的外径(d)：";
    if (type == "扁钢") return "扁钢的边长（b）:";
    return std::nullopt;
}

// Only a pick from the list switches the label; typing into the box does not.
void CmbGx_Click(Form& f) {
    if (const auto caption = sizeCaption(f.text("CmbGx"))) f.setCaption("LabGg", *caption);
}

}  // namespace

Row steelTypeRow(std::string caption, std::string initialType) {
    return inputRow({}, std::move(caption),
                    input("CmbGx", std::move(initialType))
                        .withList({"圆钢", "钢管", "扁钢", "等边角钢"})
                        .onPick(CmbGx_Click)
                        .sized(100),  // room for "等边角钢" beside the drop-down button
                    {});
}

Row steelSizeRow(std::string initialCaption, std::string refusal) {
    Row r = inputRow("LabGg", std::move(initialCaption), input("CmbGg").numeric(std::move(refusal)),
                     "m");
    r[0] = r[0].changes(kCaption);
    return r;
}

Row soilRow(KeyFilter filter) {
    Control box = input("Cmbρ");
    if (filter != KeyFilter::None) box = box.numeric("ρ 值错误，只为数字！");
    return inputRow({}, "接地体处土壤电阻率（ρ）：", box, "Ω·m");
}

Row branchLengthRow() {
    Row r = inputRow({}, "接地体最长支线实际长度（L2）：", input("CmbL2"), "m");
    r.push_back(label("求冲击电阻"));
    return r;
}

Row impulseResultLine() {
    return resultRow({{"接地系统冲击接地电阻值（Ri）为：", "PicRi"}}, "Ω");
}

void keepForImpulse(Form& f, float R) {
    f.kept(kStoredR) = R;
    f.focus("CmdRun_CJ");
}

void impulseFromStored(Form& f, std::string_view lengthBox, const char* storedSymbol) {
    f.clear({"PicRi"});
    if (f.anyBlank({"Cmbρ", lengthBox})) return;
    // Without a power-frequency resistance there is nothing to convert (the stored value
    // would be the 0 the form starts with, and Ri = 0 Ω passes every requirement).
    if (f.keptFrom().empty()) {
        f.message(kPowerFrequencyFirst);
        return;
    }
    const float rho = f.number("Cmbρ"), L = f.number(lengthBox);
    const ImpulseInput in{f.kept(kStoredR), rho, L, storedSymbol};
    f.show(unit_id::calcDZ_GC, in, calcDZ_GC(in), [&](const DzGc& r) { f.print("PicRi", r.Ri); });
}

std::vector<Control> powerFrequencyButtons(Handler CmdRun_GP_Click, const std::string& lengthBox,
                                           const char* storedSymbol) {
    return {button("CmdRun_GP", "求工频电阻", std::move(CmdRun_GP_Click)).sized(89, 25),
            button("CmdRun_CJ", "求冲击电阻",
                   [lengthBox, storedSymbol](Form& f) {
                       impulseFromStored(f, lengthBox, storedSymbol);
                   })
                .sized(89, 25),
            closeButton().sized(89, 25)};
}

}  // namespace tervalen::forms
