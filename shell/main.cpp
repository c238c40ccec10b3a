// Tervalen: lightning-protection design calculators.

#include <QApplication>

#include "shell/info_options.h"
#include "shell/main_window.h"
#include "shell/startup.h"

int main(int argc, char** argv) {
    if (const int status = tervalen::shell::answerInfoOption(argc, argv); status >= 0)
        return status;
    QApplication app(argc, argv);
    tervalen::shell::prepareApplication(app);
    tervalen::shell::MDIFangLei window;
    window.show();
    return QApplication::exec();
}
