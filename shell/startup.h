#pragma once
// What the program does to its application object before it makes the main window; the
// start-up probe (bench/) does the same, so that it measures what the program does.

class QApplication;

namespace tervalen::shell {

// The application's name. (Qt's own texts in Chinese follow once the window has shown:
// ensureChineseQtTexts in translation.h.)
void prepareApplication(QApplication& app);

}  // namespace tervalen::shell
