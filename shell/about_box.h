#pragma once
#include <QDialog>

namespace tervalen::shell {

// frmGY: title, version, what the program is for, who made it and its licence. A separate,
// non-modal top-level window; "确定" is its default and cancel button.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);

    // "版本 " + major.minor.revision of this build.
    static QString versionText();
    // Label1's text, as it reads (the label shows it as a paragraph with leading).
    static QString purposeText();
    // The line under the warning: the program is free software, and under which licence.
    static QString licenceText();
};

}  // namespace tervalen::shell
