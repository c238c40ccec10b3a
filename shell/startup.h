#pragma once
// What the program does to its application object before it makes the main window; the
// start-up probe (bench/) does the same, so that it measures what the program does.

#include <QString>

class QApplication;

namespace tervalen::shell {

// The application's and its organisation's names (where its settings live), and the
// settings of the versions before the organisation had a name moved to that place.
// (Qt's own texts in Chinese follow once the window has shown: ensureChineseQtTexts in
// translation.h.)
void prepareApplication(QApplication& app);

// The organisation under which Qt kept the settings while the application named none.
inline const QString kUnnamedOrganisation = QStringLiteral("Unknown Organization");

// Moves the application's settings kept under `organisation` to where the application's
// own organisation keeps them, once: only when that place holds nothing yet; the old
// values are then removed (an ini file left empty is deleted). True when it moved them.
bool moveSettingsFrom(const QString& organisation);

}  // namespace tervalen::shell
