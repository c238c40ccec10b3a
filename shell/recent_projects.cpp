#include "shell/recent_projects.h"

#include <QSettings>

namespace tervalen::shell {
namespace {

const QString kKey = QStringLiteral("projects/recent");

void store(const QStringList& list) {
    QSettings().setValue(kKey, list);
}

}  // namespace

QStringList recentProjects() {
    QStringList list = QSettings().value(kKey).toStringList();
    // A settings file edited by hand may hold blanks, duplicates or more than the menu shows.
    list.removeAll(QString());
    list.removeDuplicates();
    return list.mid(0, kRecentProjects);
}

QStringList withFirst(QStringList list, const QString& file) {
    list.removeAll(file);
    list.prepend(file);
    return list.mid(0, kRecentProjects);
}

void rememberProject(const QString& file) {
    store(withFirst(recentProjects(), file));
}

void forgetProject(const QString& file) {
    QStringList list = recentProjects();
    list.removeAll(file);
    store(list);
}

}  // namespace tervalen::shell
