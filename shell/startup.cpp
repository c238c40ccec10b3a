#include "shell/startup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace tervalen::shell {

void prepareApplication(QApplication&) {
    QApplication::setApplicationName(QStringLiteral("Tervalen"));
    QApplication::setOrganizationName(QStringLiteral("Tervalen"));
    QApplication::setOrganizationDomain(QStringLiteral("tervalen.org"));
    moveSettingsFrom(kUnnamedOrganisation);
}

bool moveSettingsFrom(const QString& organisation) {
    QSettings old(organisation, QCoreApplication::applicationName());
    old.setFallbacksEnabled(false);  // the user's own values only, not the system's
    const QStringList keys = old.allKeys();
    if (keys.isEmpty()) return false;
    QSettings now;
    now.setFallbacksEnabled(false);
    // The new place in use already (a newer run was first): what is there stays, and so
    // does the old file.
    if (!now.allKeys().isEmpty()) return false;
    for (const QString& key : keys) now.setValue(key, old.value(key));
    now.sync();
    if (now.status() != QSettings::NoError) return false;
    old.clear();
    old.sync();
    const QFileInfo file(old.fileName());
    if (file.isFile()) {
        QFile::remove(file.absoluteFilePath());
        QDir().rmdir(file.absolutePath());  // only when nothing else is kept there
    }
    return true;
}

}  // namespace tervalen::shell
