#pragma once
// The program speaks Chinese whatever the locale: Qt's own texts (message-box buttons,
// the input boxes' context menu, the child windows' system menu) come from Qt's Chinese
// translation.

class QCoreApplication;

namespace tervalen::shell {

// Loads Qt's Chinese translation into the application. Returns false, and leaves Qt's
// English texts, when the translation file is not installed.
bool installChineseQtTexts(QCoreApplication& app);

// Installs them into the running application the first time it is called. The program
// does so once its window has shown (with the menus' entries) or before it reports
// anything: the first paint shows none of Qt's texts and does not wait for them.
void ensureChineseQtTexts();

}  // namespace tervalen::shell
