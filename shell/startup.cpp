#include "shell/startup.h"

#include <QApplication>

namespace tervalen::shell {

void prepareApplication(QApplication&) {
    QApplication::setApplicationName(QStringLiteral("Tervalen"));
}

}  // namespace tervalen::shell
