#include "shell/sheet_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QColor>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFocusFrame>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QShortcut>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

#include "sheet/text_render.h"
#include "sheet/verdict.h"
#include "sheet_qt/paged_sheet.h"
#include "sheet_qt/rich_text.h"
#include "shell/print_preview.h"
#include "view/message_boxes.h"

namespace tervalen::shell {
namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

// The header fields in order, with the member each one edits, whether it is remembered
// between runs, and for a person who signs the cover, the date beside the name.
struct Field {
    const char* caption;
    std::string sheet::SheetHeader::*member;
    const char* remembered = nullptr;  // settings key, or nullptr
    const char* dateCaption = nullptr;
    std::string sheet::SheetHeader::*date = nullptr;
    // A short field that goes on the row of the field before it.
    bool besidePrevious = false;
};
using H = sheet::SheetHeader;
constexpr Field kFields[] = {
    {"工程名称", &H::project},
    {"子项/编号", &H::subitem},
    {"计算书编号", &H::number},
    {"版次", &H::revision, nullptr, nullptr, nullptr, true},
    {"设计单位", &H::designer, "sheet/designer"},
    {"日期", &H::date, nullptr, nullptr, nullptr, true},
    {"计算人", &H::calculator, "sheet/calculator", "计算人日期", &H::calculatorDate},
    {"校对人", &H::checker, nullptr, "校对人日期", &H::checkerDate},
    {"审核人", &H::reviewer, nullptr, "审核人日期", &H::reviewerDate},
    {"审定人", &H::approver, nullptr, "审定人日期", &H::approverDate},
};

QString quantities(const std::vector<sheet::Quantity>& list) {
    QStringList parts;
    for (const sheet::Quantity& v : list)
        parts << QStringLiteral("%1 = %2%3")
                     .arg(q(v.symbol.empty() ? v.name : v.symbol), q(v.value),
                          v.unit.empty() ? QString() : " " + q(v.unit));
    return parts.join(QStringLiteral("，"));
}

// Both values of a record whose results came out differently when its project was read.
QString mismatchNote(const sheet::SheetRecord& r) {
    const QString saved = QStringLiteral("保存时：%1").arg(quantities(r.mismatch->savedResults));
    if (r.mismatch->refused)
        return saved + QStringLiteral("\n重新计算未得出结果：%1").arg(q(r.mismatch->reason));
    return saved + QStringLiteral("\n重新计算：%1").arg(quantities(r.results));
}

QPushButton* button(const char* caption, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setAutoDefault(false);
    // As narrow as its text allows, when the window is at its narrowest.
    b->setMinimumWidth(b->fontMetrics().horizontalAdvance(b->text()) + 16);
    return b;
}

}  // namespace

SheetWindow::SheetWindow(sheet::Sheet& sheet,
                         std::function<void(const sheet::SheetRecord&)> openAgain, QWidget* parent)
    : QWidget(parent),
      m_sheet(sheet),
      m_openAgain(std::move(openAgain)),
      m_list(new QListWidget(this)),
      m_requirementPrompt(new QLabel(this)),
      m_requirement(new QLineEdit(this)),
      m_requirementSymbol(new QComboBox(this)),
      m_setRequirement(button("设定要求", this)),
      m_preview(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("SheetWindow"));
    setWindowTitle(QString::fromUtf8(kCaption));

    auto* header = new QFormLayout;
    const auto fieldEdit = [this](const QString& caption, std::string sheet::SheetHeader::*member,
                                  const char* remembered) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(caption);
        connect(edit, &QLineEdit::textEdited, this,
                [this, member, remembered](const QString& text) {
                    m_sheet.header.*member = text.toStdString();
                    if (remembered) QSettings().setValue(remembered, text);
                    showHeader();
                    emit changed();
                });
        m_fields.push_back({caption, edit, member});
        return edit;
    };
    QHBoxLayout* last = nullptr;
    for (const Field& f : kFields) {
        QLineEdit* edit = fieldEdit(QString::fromUtf8(f.caption), f.member, f.remembered);
        if (f.besidePrevious && last) {
            auto* caption = new QLabel(QString::fromUtf8(f.caption), this);
            caption->setBuddy(edit);
            last->addWidget(caption);
            last->addWidget(edit, 2);
            continue;
        }
        if (!f.date) {
            last = new QHBoxLayout;
            last->addWidget(edit, 3);
            header->addRow(QString::fromUtf8(f.caption), last);
            continue;
        }
        last = nullptr;
        // A person who signs the cover, with the date beside the name.
        auto* row = new QHBoxLayout;
        row->addWidget(edit, 3);
        auto* dateCaption = new QLabel(QStringLiteral("日期"), this);
        QLineEdit* date = fieldEdit(QString::fromUtf8(f.dateCaption), f.date, nullptr);
        date->setPlaceholderText(QStringLiteral("2024-05-17"));
        dateCaption->setBuddy(date);
        row->addWidget(dateCaption);
        row->addWidget(date, 2);
        header->addRow(QString::fromUtf8(f.caption), row);
    }
    // The edition of the code the sheet cites for the methods both editions share.
    m_edition = new QComboBox(this);
    m_edition->setObjectName(QStringLiteral("规范版本"));
    for (const CodeEdition e : {CodeEdition::GB50057_2010, CodeEdition::GB50057_94})
        m_edition->addItem(q(std::string(editionName(e))), static_cast<int>(e));
    connect(m_edition, &QComboBox::activated, this, [this] {
        const auto chosen = static_cast<CodeEdition>(m_edition->currentData().toInt());
        if (chosen == m_sheet.header.edition) return;
        m_sheet.header.edition = chosen;
        refresh();
        emit changed();
    });
    auto* editionRow = new QHBoxLayout;
    editionRow->addWidget(m_edition);
    header->addRow(QStringLiteral("规范版本"), editionRow);
    m_recordPerPage = new QCheckBox(QStringLiteral("每条记录另起一页"), this);
    m_recordPerPage->setObjectName(QStringLiteral("RecordPerPage"));
    connect(m_recordPerPage, &QCheckBox::toggled, this, [this](bool on) {
        if (on == m_sheet.header.recordPerPage) return;
        m_sheet.header.recordPerPage = on;
        rebuildPreview();
        emit changed();
    });
    editionRow->addWidget(m_recordPerPage);

    m_list->setObjectName(QStringLiteral("SheetRecords"));
    m_requirementSymbol->setObjectName(QStringLiteral("RequirementSymbol"));
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        showRequirement();
        showInPreview(row);
    });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { rename(); });

    auto* rowButtons = new QHBoxLayout;
    QPushButton* renameButton = button("重命名", this);
    renameButton->setToolTip(QStringLiteral("重命名选中的记录（F2）"));
    QPushButton* up = button("上移", this);
    QPushButton* down = button("下移", this);
    QPushButton* del = button("删除", this);
    del->setToolTip(QStringLiteral("从计算书中删除选中的记录（Delete）"));
    QPushButton* again = button("重新打开", this);
    for (QPushButton* b : {renameButton, up, down, del, again}) rowButtons->addWidget(b);
    auto* adoptRow = new QHBoxLayout;
    m_adopt = button("采用重新计算结果", this);
    m_adopt->setObjectName(QStringLiteral("AdoptRecomputed"));
    m_adopt->setToolTip(
        QStringLiteral("选中的记录采用本程序重新计算的结果，不再标记“结果与保存时不同”"));
    adoptRow->addWidget(m_adopt);
    adoptRow->addStretch(1);
    connect(m_adopt, &QPushButton::clicked, this, [this] { adoptRecomputed(); });
    connect(renameButton, &QPushButton::clicked, this, [this] { rename(); });
    connect(up, &QPushButton::clicked, this, [this] { move(-1); });
    connect(down, &QPushButton::clicked, this, [this] { move(+1); });
    connect(del, &QPushButton::clicked, this, [this] { remove(); });
    connect(again, &QPushButton::clicked, this, [this] {
        if (const int i = current(); i >= 0 && m_openAgain) m_openAgain(m_sheet.records[i]);
    });

    auto* requirementRow = new QHBoxLayout;
    m_requirement->setObjectName(QStringLiteral("Requirement"));
    m_requirement->setPlaceholderText(QStringLiteral("不填则结论只陈述结果"));
    requirementRow->addWidget(m_requirementSymbol);
    requirementRow->addWidget(m_requirement, 1);
    requirementRow->addWidget(m_setRequirement);
    connect(m_setRequirement, &QPushButton::clicked, this, [this] { applyRequirement(); });
    connect(m_requirement, &QLineEdit::returnPressed, this, [this] { applyRequirement(); });

    auto* left = new QWidget(this);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->addLayout(header);
    leftLayout->addWidget(new QLabel(QStringLiteral("记录："), left));
    leftLayout->addWidget(m_list, 1);
    leftLayout->addLayout(rowButtons);
    leftLayout->addLayout(adoptRow);
    leftLayout->addWidget(m_requirementPrompt);
    leftLayout->addLayout(requirementRow);

    auto* exportRow = new QHBoxLayout;
    QPushButton* pdf = button("导出 PDF…", this);
    QPushButton* printButton = button("打印…", this);
    QPushButton* copy = button("复制为文本", this);
    exportRow->addStretch(1);
    for (QPushButton* b : {pdf, printButton, copy}) exportRow->addWidget(b);
    connect(pdf, &QPushButton::clicked, this, [this] { askPdf(); });
    connect(printButton, &QPushButton::clicked, this, [this] { print(); });
    connect(copy, &QPushButton::clicked, this, [this] {
        QApplication::clipboard()->setText(plainText());
        emit said(QStringLiteral("已将计算书复制为文本（%1 条记录）").arg(m_sheet.records.size()));
    });

    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    m_preview->setObjectName(QStringLiteral("SheetPreview"));
    rightLayout->addWidget(m_preview, 1);
    rightLayout->addLayout(exportRow);

    auto* split = new QSplitter(this);
    split->addWidget(left);
    split->addWidget(right);
    split->setStretchFactor(1, 1);
    split->setChildrenCollapsible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(split);
    refresh();
    keepUsable(left);

    // The keyboard: Tab as the window reads, top to bottom, left to right.
    std::vector<QWidget*> order;
    for (const FieldEdit& f : m_fields) order.push_back(f.edit);
    order.push_back(m_edition);
    order.push_back(m_recordPerPage);
    order.push_back(m_list);
    for (QPushButton* b : {renameButton, up, down, del, again, m_adopt}) order.push_back(b);
    order.push_back(m_requirementSymbol);
    order.push_back(m_requirement);
    order.push_back(m_setRequirement);
    order.push_back(m_preview);
    for (QPushButton* b : {pdf, printButton, copy}) order.push_back(b);
    takeKeys(order);
}

void SheetWindow::takeKeys(const std::vector<QWidget*>& order) {
    for (std::size_t i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);
    // Tab leaves the preview (it edits nothing); the list and the preview show the focus
    // with a ring in the colour a focused input box shows (the style draws none for them).
    m_preview->setTabChangesFocus(true);
    m_preview->setFocusPolicy(Qt::StrongFocus);
    m_list->setFocusPolicy(Qt::StrongFocus);
    m_focusRing = new QFocusFrame(this);
    m_focusRing->setObjectName(QStringLiteral("FocusRing"));
    QPalette ring = m_focusRing->palette();
    ring.setColor(QPalette::WindowText, palette().color(QPalette::Highlight));
    m_focusRing->setPalette(ring);
    for (QWidget* w : {static_cast<QWidget*>(m_list), static_cast<QWidget*>(m_preview)})
        w->installEventFilter(this);
    // F2 renames the chosen record and Delete removes it (after the question), from the list.
    auto* renameKey = new QShortcut(QKeySequence(Qt::Key_F2), m_list);
    renameKey->setContext(Qt::WidgetShortcut);
    connect(renameKey, &QShortcut::activated, this, [this] { rename(); });
    auto* deleteKey = new QShortcut(QKeySequence(QKeySequence::Delete), m_list);
    deleteKey->setContext(Qt::WidgetShortcut);
    connect(deleteKey, &QShortcut::activated, this, [this] { remove(); });
}

bool SheetWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn)
        m_focusRing->setWidget(static_cast<QWidget*>(watched));
    else if (event->type() == QEvent::FocusOut && m_focusRing->widget() == watched)
        m_focusRing->setWidget(nullptr);
    return QWidget::eventFilter(watched, event);
}

void SheetWindow::keepUsable(QWidget* left) {
    // Never smaller than what shows every header field whole, a few records with their
    // buttons, and a preview whose header table keeps
    // its captions on one line each: an arrangement of the windows then overlaps them, or
    // the main window's area scrolls, instead of crushing this one.
    m_list->setMinimumHeight(4 * fontMetrics().height() + 2 * m_list->frameWidth() + 4);
    left->setMinimumWidth(left->minimumSizeHint().width());
    // The cover's caption column takes 22 % of the page, around the longest caption with
    // the cells' padding and borders.
    const QFontMetrics page(m_preview->document()->defaultFont());
    const int caption = page.horizontalAdvance(QStringLiteral("计算书编号")) + 2 * 4 + 6;
    m_preview->setMinimumWidth(caption * 100 / 22 + 2 * m_preview->frameWidth() +
                               m_preview->verticalScrollBar()->sizeHint().width() +
                               2 * static_cast<int>(m_preview->document()->documentMargin()));
    setMinimumSize(minimumSizeHint());
}

void SheetWindow::fillRememberedFields(sheet::SheetHeader& header) {
    QSettings settings;
    for (const Field& f : kFields)
        if (f.remembered && (header.*f.member).empty())
            header.*f.member = settings.value(f.remembered).toString().toStdString();
}

QLineEdit* SheetWindow::headerField(const QString& caption) const {
    for (const FieldEdit& f : m_fields)
        if (f.caption == caption) return f.edit;
    return nullptr;
}

int SheetWindow::current() const {
    const int row = m_list->currentRow();
    return row >= 0 && row < static_cast<int>(m_sheet.records.size()) ? row : -1;
}

void SheetWindow::refresh() {
    for (const FieldEdit& f : m_fields) {
        // The text being typed is the header's already: its caret stays where it is.
        const QString text = q(m_sheet.header.*f.member);
        if (f.edit->text() != text) f.edit->setText(text);
    }
    m_edition->setCurrentIndex(m_edition->findData(static_cast<int>(m_sheet.header.edition)));
    {
        const QSignalBlocker quiet(m_recordPerPage);
        m_recordPerPage->setChecked(m_sheet.header.recordPerPage);
    }
    const int keep = m_list->currentRow();
    {
        // The preview follows the selection once, after the list is filled again.
        const QSignalBlocker quiet(m_list);
        m_list->clear();
        for (const sheet::SheetRecord& r : m_sheet.records) {
            QString text = q(sheet::shownLabel(r));
            if (r.requirement) text += QStringLiteral("（要求 %1）").arg(q(r.requirement->text));
            // The verdict the 结论 gives, where the record is judged.
            const sheet::Conclusion c = sheet::conclusionOf(r);
            if (c.satisfied)
                text += *c.satisfied ? QStringLiteral("  满足") : QStringLiteral("  不满足");
            auto* item = new QListWidgetItem(text, m_list);
            if (c.satisfied == false) item->setForeground(QColor(0xc0, 0, 0));
            if (r.mismatch) {
                item->setText(text +
                              QStringLiteral("（%1）").arg(QString::fromUtf8(kMismatchMark)));
                item->setForeground(Qt::darkRed);
                item->setToolTip(view::plainToolTip(mismatchNote(r)));
            }
        }
    }
    rebuildPreview();
    select(std::min(keep < 0 ? 0 : keep, m_list->count() - 1));
}

sheet::Document SheetWindow::document() const {
    return sheet::sheetDocument(m_sheet.header, m_sheet.records, &m_sections);
}

void SheetWindow::rebuildPreview() {
    // The rich document, with the drawings; the preview owns it and drops the one before.
    const int scrolled = m_preview->verticalScrollBar()->value();
    auto rich = sheet_qt::richDocument(document());
    rich->setUndoRedoEnabled(false);  // the cover is rewritten in place as the header changes
    rich->setParent(m_preview);
    m_preview->setDocument(rich.release());
    m_preview->verticalScrollBar()->setValue(scrolled);
}

void SheetWindow::showHeader() {
    std::vector<sheet::Table> cover;
    for (const sheet::Block& b : sheet::coverBlocks(m_sheet.header))
        if (const auto* t = std::get_if<sheet::Table>(&b)) cover.push_back(*t);
    if (!sheet_qt::updateTables(*m_preview->document(), cover)) rebuildPreview();
}

void SheetWindow::adoptRecomputed() {
    const int i = current();
    if (i < 0 || !m_sheet.adoptRecomputed(static_cast<std::size_t>(i))) return;
    refresh();
    emit changed();
    emit said(
        QStringLiteral("“%1”已采用重新计算的结果").arg(q(sheet::shownLabel(m_sheet.records[i]))));
}

void SheetWindow::select(int row) {
    m_list->setCurrentRow(row);
    showRequirement();
}

void SheetWindow::showRequirement() {
    const int i = current();
    const std::string prompt = i < 0 ? std::string() : sheet::requirementPrompt(m_sheet.records[i]);
    const bool takes = !prompt.empty();
    m_requirementPrompt->setText(takes ? q(prompt) : QStringLiteral("这条记录不设要求"));
    m_requirementSymbol->clear();
    if (takes)
        for (const std::string& s : sheet::comparableResults(m_sheet.records[i]))
            m_requirementSymbol->addItem(q(s));
    m_adopt->setEnabled(i >= 0 && m_sheet.records[i].mismatch &&
                        !m_sheet.records[i].mismatch->refused);
    const auto& req = i < 0 ? std::nullopt : m_sheet.records[i].requirement;
    m_requirement->setText(req ? q(req->text) : QString());
    if (req) m_requirementSymbol->setCurrentText(q(req->symbol));
    for (QWidget* w :
         {static_cast<QWidget*>(m_requirement), static_cast<QWidget*>(m_requirementSymbol),
          static_cast<QWidget*>(m_setRequirement)})
        w->setEnabled(takes);
}

void SheetWindow::applyRequirement() {
    const int i = current();
    if (i < 0) return;
    sheet::SheetRecord& r = m_sheet.records[i];
    const QString text = m_requirement->text().trimmed();
    if (text.isEmpty()) {
        r.requirement.reset();
    } else {
        const auto read = sheet::readRequirement(r, text.toStdString(),
                                                 m_requirementSymbol->currentText().toStdString());
        if (!read) {
            view::plainMessage(this, QMessageBox::Warning, QString::fromUtf8(kCaption),
                               q(read.why()));
            return;
        }
        r.requirement = *read;
    }
    refresh();
    emit changed();
}

void SheetWindow::rename() {
    const int i = current();
    if (i < 0) return;
    bool ok = false;
    const QString label =
        QInputDialog::getText(this, QStringLiteral("重命名"), QStringLiteral("记录名称："),
                              QLineEdit::Normal, q(sheet::shownLabel(m_sheet.records[i])), &ok);
    if (!ok || label.trimmed().isEmpty()) return;
    m_sheet.records[i].label = label.trimmed().toStdString();
    refresh();
    emit changed();
}

void SheetWindow::move(int by) {
    const int i = current();
    const int j = i + by;
    if (i < 0 || j < 0 || j >= static_cast<int>(m_sheet.records.size())) return;
    std::swap(m_sheet.records[i], m_sheet.records[j]);
    m_list->setCurrentRow(j);
    refresh();
    emit changed();
}

void SheetWindow::remove() {
    const int i = current();
    if (i < 0) return;
    const auto answer = view::plainMessage(
        this, QMessageBox::Question, QString::fromUtf8(kCaption),
        QStringLiteral("从计算书中删除“%1”吗？").arg(q(sheet::shownLabel(m_sheet.records[i]))),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes) return;
    m_sheet.records.erase(m_sheet.records.begin() + i);
    refresh();
    emit changed();
}

QString SheetWindow::plainText() const {
    return q(sheet::plainText(document()));
}

Result<> SheetWindow::exportPdf(const QString& path) const {
    return sheet_qt::writePdf(document(), path);
}

QString SheetWindow::withPdfSuffix(const QString& path) {
    return path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)
               ? path
               : path + QStringLiteral(".pdf");
}

void SheetWindow::askPdf() {
    QString name = m_sheet.header.project.empty()
                       ? QStringLiteral("防雷计算书")
                       : q(m_sheet.header.project) + QStringLiteral("计算书");
    if (const QString folder = m_folder ? m_folder() : QString(); !folder.isEmpty())
        name = QDir(folder).filePath(name);
    const QString chosen = QFileDialog::getSaveFileName(this, QStringLiteral("导出 PDF"),
                                                        name + QStringLiteral(".pdf"),
                                                        QStringLiteral("PDF 文件 (*.pdf)"));
    if (chosen.isEmpty()) return;
    const QString path = withPdfSuffix(chosen);
    if (const Result<> done = exportPdf(path); !done) {
        view::plainMessage(this, QMessageBox::Critical, QString::fromUtf8(kCaption),
                           QStringLiteral("无法写入 %1：\n%2").arg(path, q(done.why())));
        return;
    }
    emit said(QStringLiteral("已导出 PDF：%1").arg(QDir::toNativeSeparators(path)));
}

// The record's section heading brought into view: the sections are the document's only
// second-level headings, in the order of the records.
void SheetWindow::showInPreview(int row) {
    if (row < 0) return;
    int seen = 0;
    for (QTextBlock b = m_preview->document()->begin(); b.isValid(); b = b.next()) {
        if (b.blockFormat().headingLevel() != 2) continue;
        if (seen++ != row) continue;
        QTextCursor at(b);
        m_preview->setTextCursor(at);
        const QRect r = m_preview->cursorRect(at);
        m_preview->verticalScrollBar()->setValue(m_preview->verticalScrollBar()->value() + r.top());
        return;
    }
}

void SheetWindow::print() {
    const sheet::Document doc = document();
    int pages = 0;
    const Result<bool> printed = printWithPreview(
        this, [&](QPagedPaintDevice& device) { pages = sheet_qt::paintSheet(doc, device); });
    if (!printed) {
        view::plainMessage(
            this, QMessageBox::Critical, QString::fromUtf8(kCaption),
            QStringLiteral("无法打印：找不到程序的打印模块。\n%1").arg(q(printed.why())));
        return;
    }
    if (*printed) emit said(QStringLiteral("已将计算书送去打印（共 %1 页）").arg(pages));
}

}  // namespace tervalen::shell
