#include "forms/range/form_rows.h"

#include "calc/range/rx_sanz_siz.h"
#include "forms/form.h"

namespace tervalen::forms {

std::vector<Row> equalRodInputs(Row spacingRow) {
    return rows(
        {sphereRadiusRows(KeyFilter::None),
         {inputRow("Lab_H", "避雷针高度（H）：", input("CmbH").numeric("H 值输入错误，只为数字！")),
          inputRow("Lab_Hx", "被保护面高度（Hx）：",
                   input("CmbHx").numeric("Hx 值输入错误，只为数字！")),
          std::move(spacingRow)}});
}

Row spanNoteRow() {
    // The blanks after "与" push "150m" to the start of the note's second line.
    return {paragraph(
        {}, "支柱间距说明：D小于120m，弧垂为2m。D在120m与               150m之间，弧垂为3m。")};
}

void printTwoRods(Form& f, const TwoRods& r) {
    f.print("PicRx", r.Rx);
    f.print("PicHo", r.Ho);
    f.print("PicBx", r.Bx);
}

void printDiagonal(Form& f, float Ho2, const std::optional<float>& Bx2) {
    f.print("PicHo2", Ho2);
    if (Bx2)
        f.print("PicBx2", *Bx2);
    else
        f.message(kDiagonalUncovered);
}

std::vector<Row> widthAtSphereRadiusRows() {
    return {{label("避雷线在 Hr 高度上的最小保护宽度为："),
             label("LabJG", "该项无计算结果").inRed().hidden().atRight().changes(kVisible)},
            resultRow({{"Bx2=", "PicBx2"}})};
}

}  // namespace tervalen::forms
