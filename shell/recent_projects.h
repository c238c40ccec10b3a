#pragma once
// The projects opened or saved last, most recent first, kept in the settings between
// runs: what 文件 ▸ 最近打开的工程 lists.

#include <QStringList>

namespace tervalen::shell {

inline constexpr int kRecentProjects = 8;

// The list as remembered (absolute paths, at most kRecentProjects).
QStringList recentProjects();
// Puts the file first (once), dropping the oldest beyond kRecentProjects.
void rememberProject(const QString& file);
// Takes the file off the list.
void forgetProject(const QString& file);

// The list with `file` first, each path once, at most kRecentProjects entries.
QStringList withFirst(QStringList list, const QString& file);

}  // namespace tervalen::shell
