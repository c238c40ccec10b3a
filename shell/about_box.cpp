#include "shell/about_box.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "shell/embedded_picture.h"
#include "version.h"
#include "view/ui_font.h"

namespace tervalen::shell {
namespace {

QLabel* place(QWidget* parent, const char* name, const QString& text, QRect geometry,
              bool wrap = false) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(geometry);
    l->setWordWrap(wrap);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

}  // namespace

QString AboutBox::purposeText() {
    return QStringLiteral(
        "    该应用程序主要是针对在制做防雷工程设计方案过程中，所遇到的一些实际数据的计算，"
        "为方案设计提供方便，节省时间，提高工作效率。");
}

QString AboutBox::licenceText() {
    return QStringLiteral("本程序是自由软件，依照 GPL-3.0-or-later 许可发布。");
}

QString AboutBox::versionText() {
    return QStringLiteral("版本 %1").arg(QLatin1String(kVersion));
}

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmGY"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setFont(view::formFont());
    // Form_Load: caption, version and title.
    setWindowTitle(QStringLiteral("关于 Tervalen"));
    // A line taller than the specified box: the licence's, under the warning.
    setFixedSize(382, 259);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("picIcon"));
    icon->setPixmap(
        QPixmap::fromImage(EmbeddedPicture::embedded(QStringLiteral(":/icon32.strips")).toImage()));
    icon->setGeometry(12, 12, 32, 32);

    QFont titleFont = font();
    titleFont.setPointSizeF(14);
    titleFont.setBold(true);
    place(this, "lblTitle", QStringLiteral("Tervalen"), {60, 8, 300, 26})->setFont(titleFont);
    place(this, "lblVersion", versionText(), {60, 36, 300, 18});
    QLabel* description =
        place(this, "lblDescription", QStringLiteral("Tervalen 项目组防雷设计室编制，设计："),
              {12, 62, 358, 20});
    // The designer's name fills the gap at the end of the sentence.
    const int gap = 12 + description->fontMetrics().horizontalAdvance(description->text()) + 2;
    place(this, "Label3", QStringLiteral("项目设计组"), {gap, 62, 370 - gap, 20});
    // A paragraph with the forms' leading between its lines (the Song face's own is
    // negative), its indent kept.
    QLabel* purpose = place(this, "Label1", QString(), {12, 88, 358, 58}, true);
    purpose->setTextFormat(Qt::RichText);
    purpose->setText(
        QStringLiteral("<div style=\"line-height:125%; white-space:pre-wrap; margin:0\">%1</div>")
            .arg(purposeText().toHtmlEscaped()));

    for (int y : {150, 151}) {  // the etched separator
        auto* line = new QFrame(this);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(y == 150 ? QFrame::Sunken : QFrame::Raised);
        line->setGeometry(6, y, 370, 2);
    }
    place(this, "lblDisclaimer", QStringLiteral("警告：未经许可，不得对本应用程序进行任何修改。"),
          {12, 162, 358, 18});
    place(this, "lblLicence", licenceText(), {12, 184, 358, 18});
    place(this, "Label2", QStringLiteral("二ＯＯ四年八月"), {12, 226, 160, 18});

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setGeometry(286, 222, 84, 25);
    ok->setDefault(true);
    // cmdOK_Click: close the box. As the cancel button it also answers Escape (QDialog).
    connect(ok, &QPushButton::clicked, this, &QDialog::close);
    connect(this, &QDialog::rejected, this, &QDialog::close);
}

}  // namespace tervalen::shell
