#include "sheet_qt/song_font.h"

#include <QStringList>

namespace tervalen::sheet_qt {

QFont sheetFont() {
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"), QStringLiteral("NSimSun"),
                      QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing"),
                      QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("WenQuanYi Zen Hei")});
    font.setPointSizeF(10.5);
    return font;
}

}  // namespace tervalen::sheet_qt
