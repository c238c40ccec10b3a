#include "forms/range/unequal_rods_rows.h"

#include <string>

#include "forms/form.h"

namespace tervalen::forms {

Row rodHeightRow(int rod) {
    const std::string n = std::to_string(rod);
    return inputRow("Lab_H" + n, "避雷针" + n + "高度（H" + n + "）：",
                    input("CmbH" + n).numeric("H" + n + " 值输入错误，只为数字！"));
}

Row spacingRow() {
    return inputRow("Lab_D", "避雷针间距（D）：",
                    input("CmbD").numeric("D 值输入错误，只为数字！"));
}

Row surfaceRow() {
    return inputRow("Lab_Hx", "被保护面高度（Hx）：",
                    input("CmbHx").numeric("Hx 值输入错误，只为数字！"));
}

std::vector<Row> unequalRodResults() {
    return {
        heading("Lab_JieGuo", "避雷针1在Hx高度的平面上的保护半径为："),
        resultRow({{"Rx1=", "PicRx1"}}),
        heading({}, "避雷针2在Hx高度的平面上的保护半径为："),
        resultRow({{"Rx2=", "PicRx2"}}),
        // Said when each rod is a single rod, in place of the three boxes below.
        {label("LabDZ", "两针各按单支避雷针计算，无下列三项").inRed().hidden().changes(kVisible)},
        heading({}, "保护最低点所在截面距避雷针1的距离："),
        resultRow({{"D1=", "PicD1"}}),
        heading({}, "两针之间的保护最低点为："),
        resultRow({{"Ho=", "PicHo"}}),
        heading({}, "两针之间在Hx高度平面上的最小保护宽度："),
        resultRow({{"Bx=", "PicBx"}})};
}

void printUnequalRods(Form& f, const RxBDGShuangZ& r) {
    // Why each rod is a single rod stands in the working; the form says that it is.
    f.setVisible("LabDZ", !r.waist);
    f.print("PicRx1", r.Rx1);
    f.print("PicRx2", r.Rx2);
    if (!r.waist) return;
    f.print("PicD1", r.waist->D1);
    f.print("PicHo", r.waist->Ho);
    f.print("PicBx", r.waist->Bx);
}

}  // namespace tervalen::forms
