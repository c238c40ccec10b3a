// The main window's project: 新建工程, 打开工程…, 保存工程, 工程另存为…, 最近打开的工程,
// the unsaved-changes question and the window title.

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>
#include <filesystem>

#include "files/read_file.h"
#include "project/project.h"
#include "shell/main_window.h"
#include "shell/mdi_area.h"
#include "shell/recent_projects.h"
#include "shell/sheet_window.h"
#include "shell/translation.h"
#include "shell/window_placement.h"
#include "view/form_panel.h"
#include "view/form_view.h"
#include "view/message_boxes.h"
#include "view/fs_path.h"
#include "view/site_window.h"

namespace tervalen::shell {
namespace {

using view::fsPath;
using view::qPath;

const QString kTitle = QStringLiteral("Tervalen");
const QString kFilter = QStringLiteral("Tervalen 工程文件 (*.tvp)");

QString shown(const QString& file) {
    return QDir::toNativeSeparators(file);
}

void showError(QWidget* parent, const QString& text) {
    view::plainMessage(parent, QMessageBox::Critical, kTitle, text);
}

}  // namespace

QString MDIFangLei::projectCaption() const {
    return QString::fromStdString(m_session.caption());
}

QString MDIFangLei::projectFile() const {
    return qPath(m_session.file());
}

void MDIFangLei::updateTitle() {
    setWindowFilePath(projectFile());
    setWindowTitle(projectCaption());
    setWindowModified(hasUnsavedChanges());
}

bool MDIFangLei::hasUnsavedChanges() const {
    return m_session.unsaved(m_sheet, openFormsState(), openSitesState());
}

std::map<std::string, forms::FormSnapshot> MDIFangLei::openFormsState() const {
    std::map<std::string, forms::FormSnapshot> state;
    for (QMdiSubWindow* w : m_mdi->subWindowList()) {
        const view::FormView* v = w->isHidden() ? nullptr : formViewOf(w);
        if (!v) continue;
        forms::FormSnapshot snap = v->form().snapshot();
        const forms::Form fresh(v->form().def());
        if (snap.lastPress.empty() && snap.controls == fresh.snapshot().controls) continue;
        state.emplace(snap.form, std::move(snap));
    }
    return state;
}

void MDIFangLei::watchForChanges(QMdiSubWindow* window, view::FormView* formView) {
    // Typing, a list pick, an option, a press, a setting; and the window closing.
    for (QLineEdit* e : formView->findChildren<QLineEdit*>())
        connect(e, &QLineEdit::textChanged, this, &MDIFangLei::updateTitle);
    for (QRadioButton* b : formView->findChildren<QRadioButton*>())
        connect(b, &QRadioButton::clicked, this, &MDIFangLei::updateTitle);  // after the form's
    connect(formView, &view::FormView::pressed, this, &MDIFangLei::updateTitle);
    connect(formView, &view::FormView::settingsChanged, this, &MDIFangLei::updateTitle);
    // Once the window is gone, not while it goes.
    connect(window, &QObject::destroyed, this, &MDIFangLei::updateTitle, Qt::QueuedConnection);
}

void MDIFangLei::sheetChanged() {
    updateTitle();
}

void MDIFangLei::fillRememberedHeader() {
    // Both copies: the fields filled in are no change of the user's.
    if (m_headerFilled) return;
    SheetWindow::fillRememberedFields(m_sheet.header);
    SheetWindow::fillRememberedFields(m_session.savedHeader());
    m_headerFilled = true;
}

void MDIFangLei::fillRecentProjects() {
    // Only while the menu is closed (when it is made, and as it opens): an entry is never
    // deleted while it runs.
    m_recentProjects->clear();
    const QStringList files = recentProjects();
    if (files.isEmpty()) {
        m_recentProjects->addAction(QStringLiteral("（无）"))->setEnabled(false);
        return;
    }
    const QFontMetrics metrics(m_recentProjects->font());
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString& file = files[i];
        const QString path = metrics.elidedText(shown(file), Qt::ElideMiddle, 480);
        QAction* a = m_recentProjects->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(path));
        a->setObjectName(QStringLiteral("RecentProject%1").arg(i + 1));
        a->setStatusTip(shown(file));
        a->setToolTip(view::plainToolTip(shown(file)));
        connect(a, &QAction::triggered, this, [this, file] { openRecentProject(file); });
    }
}

void MDIFangLei::openRecentProject(const QString& file) {
    if (!QFileInfo::exists(file)) {
        forgetProject(file);
        QMessageBox box(
            QMessageBox::Information, kTitle,
            QStringLiteral("找不到工程文件 %1，已将它从“最近打开的工程”中移除。").arg(shown(file)),
            QMessageBox::Ok, this);
        box.setTextFormat(Qt::PlainText);
        box.exec();
        return;
    }
    if (!settleUnsavedChanges()) return;
    openProjectFile(file);
}

bool MDIFangLei::settleUnsavedChanges() {
    // The site windows are the project's: its question covers them, and once it is
    // settled, closing them with the project asks nothing of their own.
    if (!hasUnsavedChanges()) {
        askSiteWindowsOnClose(false);
        return true;
    }
    QMessageBox box(QMessageBox::Question, kTitle, QStringLiteral("保存对工程的修改吗？"),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setObjectName(QStringLiteral("SaveChangesQuestion"));
    box.button(QMessageBox::Save)->setText(QStringLiteral("保存"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("不保存"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("取消"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    box.setInformativeText(m_session.file().empty() ? QStringLiteral("这个工程还没有保存过。")
                                                    : shown(projectFile()));
    switch (box.exec()) {
        case QMessageBox::Save:
            if (!saveProject()) return false;
            askSiteWindowsOnClose(false);
            return true;
        case QMessageBox::Discard:
            askSiteWindowsOnClose(false);
            return true;
        default:
            return false;
    }
}

bool MDIFangLei::newProject() {
    if (!settleUnsavedChanges()) return false;
    auto forms = std::make_unique<forms::Workspace>();
    view::recallSettings(*forms);
    adopt(sheet::Sheet{}, std::move(forms), {}, QString());
    return true;
}

bool MDIFangLei::openProject() {
    if (!settleUnsavedChanges()) return false;
    const QStringList recent = recentProjects();
    const QString folder = !projectFile().isEmpty() ? QFileInfo(projectFile()).absolutePath()
                           : !recent.isEmpty()      ? QFileInfo(recent.first()).absolutePath()
                                                    : QDir::homePath();
    QFileDialog dialog(this, QStringLiteral("打开工程"), folder,
                       kFilter + QStringLiteral(";;所有文件 (*)"));
    dialog.setObjectName(QStringLiteral("OpenProjectDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    return openProjectFile(dialog.selectedFiles().first());
}

bool MDIFangLei::openProjectFile(const QString& file) {
    ensureChineseQtTexts();  // its messages may come before the first paint
    const QString absolute = QFileInfo(file).absoluteFilePath();
    // Taken first: a change made while it is read is noticed at the next save.
    std::string stamp = project::fingerprint(fsPath(absolute));
    project::Project read;
    try {
        read = project::load(fsPath(absolute));
    } catch (const project::ProjectError& e) {
        showError(this, QString::fromStdString(e.what()));
        return false;
    }
    // The forms are restored aside: the current ones stay until all of it is good.
    auto forms = std::make_unique<forms::Workspace>();
    // The forms the project does not hold start from the remembered settings.
    view::recallSettings(*forms);
    if (const auto problems = forms->restore(read.openForms); !problems.empty()) {
        showError(this, QStringLiteral("无法打开工程 %1：%2")
                            .arg(shown(absolute), QString::fromStdString(problems.front())));
        return false;
    }
    std::vector<std::string> open;
    for (const forms::FormSnapshot& s : read.openForms) open.push_back(s.form);
    adopt(std::move(read.sheet), std::move(forms), open, absolute, stamp, read.openSites);
    rememberProject(absolute);
    statusBar()->showMessage(QStringLiteral("已打开工程：%1").arg(shown(absolute)), 5000);
    return true;
}

void MDIFangLei::closeChildren() {
    // The form windows go at once: their views refer to the forms about to be replaced.
    // The 计算书 window stays and shows the new sheet.
    for (QMdiSubWindow* w : m_mdi->subWindowList()) {
        if (w == m_sheetWindow) continue;
        w->close();
        delete w;
    }
    m_windows.clear();
}

void MDIFangLei::adopt(sheet::Sheet sheet, std::unique_ptr<forms::Workspace> forms,
                       const std::vector<std::string>& openForms, const QString& file,
                       const std::string& fingerprint,
                       const std::vector<project::SiteWindowState>& openSites) {
    closeChildren();
    m_workspace = std::move(forms);
    m_sheet = std::move(sheet);
    m_reopened.clear();  // the records they came from belong to the project left
    // What "unsaved" compares with: the sheet now; the forms and site windows once open.
    m_session.start({m_sheet, {}, {}}, file.isEmpty() ? std::filesystem::path() : fsPath(file),
                    fingerprint);
    // A new project's sheet starts with the remembered fields; a project read keeps its own.
    m_headerFilled = !file.isEmpty();
    if (SheetWindow* w = sheetWindow()) {
        fillRememberedHeader();
        w->refresh();
    }
    for (const std::string& name : openForms) openForm(name);
    // A site the engine refuses (only a file written by other means holds one) cannot be
    // shown: said, and left out.
    QStringList refused;
    for (const project::SiteWindowState& s : openSites) {
        view::SiteWindow* site = openSiteWindow();
        const QString why =
            site->restore(s.site, s.levels, QString::fromStdString(s.file));
        if (why.isEmpty()) continue;
        refused << QStringLiteral("%1：%2").arg(QString::fromStdString(s.title), why);
        site->setAskOnClose(false);
        if (auto* window = qobject_cast<QMdiSubWindow*>(site->parentWidget())) {
            window->close();
            delete window;
        }
    }
    if (!refused.isEmpty())
        view::plainMessage(this, QMessageBox::Warning, kTitle,
                           QStringLiteral("以下场地窗口未能恢复：\n") + refused.join('\n'));
    // The menus' entries, and so their shortcuts, are made after the background's first
    // paint; a project opened at start may cover the background before it is ever painted.
    if (!m_unfilled.empty()) QTimer::singleShot(0, this, &MDIFangLei::fillAllMenus);
    // What the forms show now is what the project holds (a restored press run again
    // shows what was saved).
    m_session.start({m_sheet, openFormsState(), openSitesState()}, m_session.file(),
                    m_session.expectedFingerprint());
    updateAddToSheet();
    updateTitle();
}

QString MDIFangLei::askSaveFile() {
    QString start = projectFile();
    if (start.isEmpty()) {
        const QStringList recent = recentProjects();
        const QString folder =
            recent.isEmpty() ? QDir::homePath() : QFileInfo(recent.first()).absolutePath();
        start = qPath(project::Session::suggestedFile(m_sheet.header.project, fsPath(folder)));
    }
    QFileDialog dialog(this, QStringLiteral("工程另存为"), start, kFilter);
    dialog.setObjectName(QStringLiteral("SaveProjectDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString::fromLatin1(project::kExtension + 1));
    dialog.selectFile(start);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

bool MDIFangLei::saveProject() {
    return m_session.file().empty() ? saveProjectAs() : saveProjectTo(projectFile());
}

bool MDIFangLei::saveProjectAs() {
    const QString file = askSaveFile();
    return !file.isEmpty() && saveProjectTo(file);
}

bool MDIFangLei::saveProjectTo(const QString& file) {
    const QString absolute = QFileInfo(file).absoluteFilePath();
    fillRememberedHeader();
    project::Project p;
    p.sheet = m_sheet;
    // The forms whose windows are open, in the order they were opened, the active one last.
    QMdiSubWindow* active = m_mdi->currentSubWindow();
    const forms::Form* last = nullptr;
    for (QMdiSubWindow* w : m_mdi->subWindowList(QMdiArea::CreationOrder)) {
        const view::FormView* v = w->isHidden() ? nullptr : formViewOf(w);
        if (!v) continue;
        if (w == active)
            last = &v->form();
        else
            p.openForms.push_back(v->form().snapshot());
    }
    if (last) p.openForms.push_back(last->snapshot());
    p.openSites = openSitesState();

    std::optional<files::FileLock> lock;
    if (const SaveOver go = lockForSaving(absolute, lock); go != SaveOver::Write)
        return go == SaveOver::Elsewhere && saveProjectAs();
    if (const Result<> saved = project::save(p, fsPath(absolute)); !saved) {
        lock->removeIfCreatedEmpty();
        showError(this, QString::fromStdString(saved.why()));
        return false;
    }
    // Still locked: the fingerprint is what was just written.
    m_session.saved({m_sheet, openFormsState(), p.openSites}, fsPath(absolute));
    rememberProject(absolute);
    updateTitle();
    statusBar()->showMessage(QStringLiteral("已保存工程：%1").arg(shown(absolute)), 5000);
    return true;
}

MDIFangLei::SaveOver MDIFangLei::lockForSaving(const QString& absolute,
                                               std::optional<files::FileLock>& lock) {
    // The lock is never held while the question waits for an answer.
    std::string expected = m_session.expectedFingerprint();
    for (;;) {
        try {
            lock.emplace(project::lockForChange(fsPath(absolute)));
        } catch (const project::ProjectError& e) {
            showError(this, QString::fromStdString(e.what()));
            return SaveOver::Cancel;
        }
        std::string now = m_session.changedOnDisk(fsPath(absolute), lock->created(), expected);
        if (now.empty()) return SaveOver::Write;
        lock.reset();
        QMessageBox box(QMessageBox::Warning, kTitle,
                        QStringLiteral("文件已被其他程序修改：%1").arg(shown(absolute)),
                        QMessageBox::NoButton, this);
        box.setObjectName(QStringLiteral("ChangedOnDiskQuestion"));
        box.setTextFormat(Qt::PlainText);
        box.setInformativeText(QStringLiteral(
            "它在打开或上次保存之后被其他程序改过（例如 tervalen-calc 加入了计算记录）"
            "。覆盖它，其他程序写入的内容就会丢失。"));
        QPushButton* over = box.addButton(QStringLiteral("覆盖"), QMessageBox::DestructiveRole);
        QPushButton* elsewhere = box.addButton(QStringLiteral("另存为…"), QMessageBox::AcceptRole);
        QPushButton* cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
        box.setDefaultButton(cancel);
        box.setEscapeButton(cancel);
        box.exec();
        if (box.clickedButton() == elsewhere) return SaveOver::Elsewhere;
        if (box.clickedButton() != over) return SaveOver::Cancel;
        expected = std::move(now);  // as it was shown; changed again meanwhile, asked again
    }
}

void MDIFangLei::closeEvent(QCloseEvent* event) {
    if (!settleUnsavedChanges()) {
        event->ignore();
        return;
    }
    rememberMainWindow(*this);
    QMainWindow::closeEvent(event);
}

}  // namespace tervalen::shell
