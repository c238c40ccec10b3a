#pragma once
// MDIFangLei: the main window. Its menu is the only entry point: it opens the forms
// (one instance each), arranges them, keeps the open-window list and shows the About box.

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "forms/workspace.h"
#include "sheet/document.h"
#include "shell/about_box.h"
#include "shell/open_window_list.h"

class QAction;
class QMdiSubWindow;
class QMenu;

namespace tervalen::view {
class FormPage;
class FormView;
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
    // Records the active form's successful calculation (加入计算书); false when it has none.
    bool addToSheet(const forms::Form& form);
    // Opens a record's form with the record's inputs and presses, showing its results.
    void openRecord(const sheet::SheetRecord& record);
    sheet::Sheet& calculationSheet() { return m_sheet; }
    SheetWindow* sheetWindow() const;

    // A menu's entries are made when it first opens; these two make every menu's first.
    QAction* menuAction(const QString& name);
    const std::vector<QAction*>& recentActions();
    MdiArea* mdiArea() const { return m_mdi; }
    view::FormView* formView(const std::string& formName) const;
    // Made on first use: the first paint does not wait for the catalog.
    forms::Workspace& workspace() {
        if (!m_workspace) m_workspace.emplace();
        return *m_workspace;
    }
    AboutBox* aboutBox() const { return m_about; }
    const OpenWindowList& openWindowList() const { return m_openList; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void fillMenu(QMenu* top);
    void fillAllMenus();
    void connectCommand(const QString& name, QAction* a);
    void refreshRecent();
    void updateAddToSheet();
    // A child window of the MDI area showing `content`, closed for good when closed.
    QMdiSubWindow* addChild(QWidget* content, const QString& caption);
    void bringForward(QMdiSubWindow* window);
    static QWidget* scrollable(view::FormPage* page);
    static void keepTypedValuesFromCtrlW(QMdiSubWindow* window);

    MdiArea* m_mdi;
    QHash<QString, QAction*> m_actions;
    std::vector<QAction*> m_recent;
    struct Unfilled {
        QMenu* menu;
        std::size_t entry;  // its title's row in the menu table
    };
    std::vector<Unfilled> m_unfilled;  // menus of the bar not opened yet
    // The form objects live as long as the program; their windows only while shown.
    std::optional<forms::Workspace> m_workspace;
    sheet::Sheet m_sheet;
    QPointer<QMdiSubWindow> m_sheetWindow;
    std::map<std::string, QPointer<QMdiSubWindow>> m_windows;
    OpenWindowList m_openList;
    QPointer<AboutBox> m_about;
};

}  // namespace tervalen::shell
