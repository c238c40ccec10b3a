#pragma once
// The 计算书 window: the calculations recorded for the calculation sheet, in order, with
// rename, move up and down, delete and open-again; the sheet's header fields; one
// requirement per record; a live preview of the whole sheet; and 导出 PDF…, 打印…,
// 复制为文本. 设计单位 and 计算人 are remembered between runs. A record read from a project
// whose results came out differently on reading is marked "结果与保存时不同" and may take
// the values computed now (采用重新计算结果). The preview keeps each record's part: a
// keystroke in a header field rewrites the cover alone.
// Keyboard: Tab follows the layout; in the list F2 renames and Delete removes.

#include <QWidget>
#include <functional>
#include <vector>

#include "calc/common/result.h"
#include "sheet/document.h"

class QCheckBox;
class QComboBox;
class QFocusFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTextBrowser;

namespace tervalen::shell {

class SheetWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kCaption = "计算书";
    static constexpr const char* kMismatchMark = "结果与保存时不同";

    // `openAgain` opens a record's form with its inputs and shows its results.
    SheetWindow(sheet::Sheet& sheet, std::function<void(const sheet::SheetRecord&)> openAgain,
                QWidget* parent = nullptr);

    // Shows the sheet as it now stands (after a record was added elsewhere, or another
    // project was opened).
    void refresh();
    // Fills the header fields left empty that are remembered between runs (设计单位,
    // 计算人) with what was typed last: a new sheet starts with them.
    static void fillRememberedFields(sheet::SheetHeader& header);
    QListWidget* records() const { return m_list; }
    QTextBrowser* preview() const { return m_preview; }
    // The header field of that caption ("工程名称"…, and "计算人日期"… for the date beside
    // a name).
    QLineEdit* headerField(const QString& caption) const;
    QCheckBox* recordPerPage() const { return m_recordPerPage; }
    // 采用重新计算结果 for the chosen record.
    QPushButton* adoptButton() const { return m_adopt; }

    // The sheet as plain text, as 复制为文本 puts it on the clipboard.
    QString plainText() const;
    // Writes the PDF; an empty text, or the reason it could not be written.
    Result<> exportPdf(const QString& path) const;
    // Where the export dialog starts: the project's folder (empty: the dialog's own).
    void setFolder(std::function<QString()> folder) { m_folder = std::move(folder); }
    // The suffix a PDF's name gets when the user typed none.
    static QString withPdfSuffix(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // The user changed the sheet: its header, a record's label, place or requirement, or
    // removed a record.
    void changed();
    // What an export or a copy did, for the status bar.
    void said(const QString& text);

private:
    void keepUsable(QWidget* left);
    void takeKeys(const std::vector<QWidget*>& order);
    int current() const;
    void select(int row);
    void showRequirement();
    void applyRequirement();
    void rename();
    void move(int by);
    void remove();
    void askPdf();
    void print();
    void showInPreview(int row);
    void rebuildPreview();
    // The header changed: the cover in the preview follows (the rest stays as laid out).
    void showHeader();
    void adoptRecomputed();
    sheet::Document document() const;

    sheet::Sheet& m_sheet;
    std::function<void(const sheet::SheetRecord&)> m_openAgain;
    struct FieldEdit {
        QString caption;
        QLineEdit* edit;
        std::string sheet::SheetHeader::*member;
    };
    std::vector<FieldEdit> m_fields;
    QCheckBox* m_recordPerPage = nullptr;
    QPushButton* m_adopt = nullptr;
    // Each record's section as last built (its drawing above all).
    mutable sheet::SectionCache m_sections;
    QListWidget* m_list;
    QLabel* m_requirementPrompt;
    QLineEdit* m_requirement;
    QComboBox* m_requirementSymbol;
    QPushButton* m_setRequirement;
    QTextBrowser* m_preview;
    QFocusFrame* m_focusRing = nullptr;
    QComboBox* m_edition = nullptr;
    std::function<QString()> m_folder;
};

}  // namespace tervalen::shell
