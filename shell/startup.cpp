#include "shell/startup.h"

#include <QApplication>

#include "shell/translation.h"

namespace tervalen::shell {

void prepareApplication(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("Tervalen"));
    installChineseQtTexts(app);
}

}  // namespace tervalen::shell
