// Tervalen: lightning-protection design calculators.

#include <QApplication>

#include "shell/info_options.h"
#include "shell/main_window.h"
#include "shell/translation.h"

int main(int argc, char** argv) {
    if (const int status = tervalen::shell::answerInfoOption(argc, argv); status >= 0)
        return status;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tervalen"));
    tervalen::shell::installChineseQtTexts(app);
    tervalen::shell::MDIFangLei window;
    window.show();
    return QApplication::exec();
}
