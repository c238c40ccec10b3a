#pragma once
#include <QDialog>

namespace tervalen::shell {

// frmGY: title, version, what the program is for and who made it. A separate,
// non-modal top-level window; "确定" is its default and cancel button.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);

    // "版本 " + major.minor.revision of this build.
    static QString versionText();
};

}  // namespace tervalen::shell
