#include "shell/translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace tervalen::shell {

bool installChineseQtTexts(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

void ensureChineseQtTexts() {
    static bool installed = false;
    if (installed || !QCoreApplication::instance()) return;
    installed = true;
    installChineseQtTexts(*QCoreApplication::instance());
}

}  // namespace tervalen::shell
