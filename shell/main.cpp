// Tervalen: lightning-protection design calculators.

#include <QApplication>

#include "shell/main_window.h"
#include "shell/translation.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tervalen"));
    tervalen::shell::installChineseQtTexts(app);
    tervalen::shell::MDIFangLei window;
    window.show();
    return QApplication::exec();
}
