#pragma once
// MDIFangLei: the main window. Its menu is the only entry point: it opens the forms
// (one instance each), arranges them, keeps the open-window list and shows the About box.
// It holds one project at a time: the calculation sheet and the forms, saved to and read
// from a project file (文件 ▸ 新建工程, 打开工程…, 保存工程, 工程另存为…).

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "files/file_lock.h"
#include "forms/workspace.h"
#include "project/project.h"
#include "project/session.h"
#include "sheet/document.h"
#include "shell/about_box.h"
#include "shell/menu_table.h"
#include "shell/open_window_list.h"

class QAction;
class QMdiSubWindow;
class QMenu;

namespace tervalen::view {
class FormPage;
class FormView;
class SiteWindow;
}  // namespace tervalen::view

namespace tervalen::shell {

class SheetWindow;

class MdiArea;

// The form view a sub-window shows, or nullptr (no window, or one showing something else).
view::FormView* formViewOf(QMdiSubWindow* window);

class MDIFangLei : public QMainWindow {
    Q_OBJECT
public:
    explicit MDIFangLei(QWidget* parent = nullptr);
    ~MDIFangLei() override;

    // What the form-opening menu entries do: create the form if needed, show it
    // maximised (or bring it forward), record its caption in the open-window list.
    void openForm(const std::string& formName);
    void exitProgram();
    void showAbout();
    // The 计算书 window, opened or brought forward.
    void showSheet();
    // 屋面/总平面防雷校核…: a new site window (there may be several).
    view::SiteWindow* openSiteWindow();
    // The open site windows, in the MDI area's order.
    std::vector<view::SiteWindow*> siteWindows() const;
    // Records the active form's successful calculation (加入计算书); false when it has none.
    bool addToSheet(const forms::Form& form);
    // Opens a record's form with the record's inputs and presses, showing its results; the
    // form then offers to update that record (更新此记录).
    void openRecord(const sheet::SheetRecord& record);
    // 更新此记录: the record the form was opened again from takes its last calculation, in
    // its place; false when the form was not opened from a record, has no calculation, or
    // the record is no longer in the sheet (said in the status bar).
    bool updateRecord(const forms::Form& form);
    sheet::Sheet& calculationSheet() { return m_sheet; }
    SheetWindow* sheetWindow() const;

    // A menu's entries are made when it first opens; these two make every menu's first.
    QAction* menuAction(const QString& name);
    const std::vector<QAction*>& recentActions();
    MdiArea* mdiArea() const { return m_mdi; }
    view::FormView* formView(const std::string& formName) const;
    // Made on first use: the first paint does not wait for the catalog.
    forms::Workspace& workspace();
    AboutBox* aboutBox() const { return m_about; }
    const OpenWindowList& openWindowList() const { return m_openList; }

    // --- The project ---
    // 新建工程: after the unsaved-changes question, an empty sheet and no form open.
    // False when the user cancelled.
    bool newProject();
    // 打开工程…: the unsaved-changes question, the file dialog, then openProjectFile().
    bool openProject();
    // Reads the file and, only when the whole of it is good, puts it in place of the
    // current project: its sheet, its forms' windows with what they showed. Otherwise a
    // message box names the file and what is wrong, and nothing changes. Asks nothing.
    bool openProjectFile(const QString& file);
    // 保存工程 (to the project's file, or as 工程另存为… when it has none) and
    // 工程另存为…; false when cancelled or when the file could not be written (said in
    // a message box naming the file and the system's reason).
    bool saveProject();
    bool saveProjectAs();
    bool saveProjectTo(const QString& file);
    // "保存对工程的修改吗？" when there are unsaved changes: true when the caller may go
    // on (saved, or not to be saved), false for 取消 or a save that did not happen.
    bool settleUnsavedChanges();
    // The project's file (absolute), empty for a project never saved.
    QString projectFile() const;
    // Whether the project differs from the one last saved or read: its sheet, what its
    // open forms show and keep (typed, pressed, a form closed; see openFormsState), or
    // its site windows (a site or level changed, its file, a window opened or closed).
    bool hasUnsavedChanges() const;
    // The title the window shows with no child maximised ("*" while unsaved).
    QString projectCaption() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Closing the window (through its frame, or by 退出) asks about unsaved changes.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void fillMenu(QMenu* top);
    void fillAllMenus();
    void connectCommand(MenuCommand command, QAction* a);
    // 加入计算书 and 更新此记录 for the active form window.
    void addActiveToSheet();
    void updateActiveRecord();
    void refreshRecent();
    void updateAddToSheet();
    // A child window of the MDI area showing `content`, closed for good when closed.
    QMdiSubWindow* addChild(QWidget* content, const QString& caption);
    void bringForward(QMdiSubWindow* window);
    static QWidget* scrollable(view::FormPage* page);
    static void keepTypedValuesFromCtrlW(QMdiSubWindow* window);

    // The open site windows as a project saves them, in the order they were opened.
    std::vector<project::SiteWindowState> openSitesState() const;
    // Closing the site windows with the project asks nothing of their own (`ask` false),
    // or asks again (the project stays).
    void askSiteWindowsOnClose(bool ask);
    // The open-window list's entry: the last site window brought forward, or a new one.
    void showSiteWindow();
    void fillRecentProjects();
    void openRecentProject(const QString& file);
    // The file to save to, asked in a file dialog; empty when cancelled.
    QString askSaveFile();
    // Before a save: takes the lock the driver's --add-to takes (into `lock`), and when
    // the project's own file was changed by another program since it was read or saved,
    // asks "文件已被其他程序修改…" (覆盖 / 另存为… / 取消). The lock is held only when
    // the answer is to write.
    enum class SaveOver { Write, Elsewhere, Cancel };
    SaveOver lockForSaving(const QString& absolute, std::optional<files::FileLock>& lock);
    // Puts a project in place of the current one: its sheet, the forms (restored or
    // new), the windows of `openForms` and then the site windows of `openSites`, opened
    // in that order; `file` its file or empty.
    void adopt(sheet::Sheet sheet, std::unique_ptr<forms::Workspace> forms,
               const std::vector<std::string>& openForms, const QString& file,
               const std::string& fingerprint = {},
               const std::vector<project::SiteWindowState>& openSites = {});
    // A record was added at the sheet's end (a form's or a site's): the 计算书 window, the
    // title and the status bar follow.
    void recordAdded();
    // The sheet changed (or was saved or replaced): the title follows.
    void sheetChanged();
    void updateTitle();
    // A new sheet takes the remembered header fields when first shown or saved.
    void fillRememberedHeader();
    void closeChildren();
    // The open forms as a project saves them, by form. A form showing what a fresh window
    // shows (its default texts, no press) is left out: opening or closing it loses nothing.
    std::map<std::string, forms::FormSnapshot> openFormsState() const;
    // The title follows every change of what a form shows or keeps.
    void watchForChanges(QMdiSubWindow* window, view::FormView* formView);

    MdiArea* m_mdi;
    QHash<QString, QAction*> m_actions;
    std::vector<QAction*> m_recent;
    struct Unfilled {
        QMenu* menu;
        std::size_t entry;  // its title's row in the menu table
    };
    std::vector<Unfilled> m_unfilled;  // menus of the bar not opened yet
    // The form objects live as long as the project; their windows only while shown.
    std::unique_ptr<forms::Workspace> m_workspace;
    sheet::Sheet m_sheet;
    // The record each form was opened again from, as it was then, and its place then.
    struct Reopened {
        sheet::SheetRecord record;
        std::size_t index = 0;
    };
    std::map<std::string, Reopened> m_reopened;
    void offerUpdate(const std::string& form);
    // Its file, what was last read or saved (what "unsaved" compares with) and the file's
    // fingerprint then.
    project::Session m_session;
    bool m_headerFilled = false;
    QMenu* m_recentProjects = nullptr;
    QPointer<QMdiSubWindow> m_sheetWindow;
    std::map<std::string, QPointer<QMdiSubWindow>> m_windows;
    OpenWindowList m_openList;
    QPointer<AboutBox> m_about;
};

}  // namespace tervalen::shell
