// Tervalen: lightning-protection design calculators.

#include <QApplication>
#include <QStringList>

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
    // Qt has taken its own options out: the first argument left that is no option is a
    // project to open. One that cannot be read is reported, and the project stays empty.
    for (const QString& arg : QApplication::arguments().mid(1)) {
        if (arg.startsWith(QLatin1Char('-'))) continue;
        window.openProjectFile(arg);
        break;
    }
    return QApplication::exec();
}
