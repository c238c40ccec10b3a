#include "shell/main_window.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>

#include "forms/catalog.h"
#include "shell/about_box.h"
#include "shell/embedded_picture.h"
#include "shell/mdi_area.h"
#include "shell/menu_table.h"
#include "shell/sheet_window.h"
#include "shell/translation.h"
#include "shell/window_placement.h"
#include "view/form_page.h"
#include "view/form_panel.h"
#include "view/form_view.h"
#include "view/message_boxes.h"
#include "view/site_window.h"

namespace tervalen::shell {

namespace {

// The window icon in the sizes window managers draw it at, each drawn at its size. Qt
// hands every size to the window manager as the window is made: a larger one would only
// cost memory at start-up (the desktop's own icon theme has the large sizes).
QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(
            EmbeddedPicture::embedded(QStringLiteral(":/icon%1.strips").arg(size)).toImage()));
    return icon;
}

}  // namespace

MDIFangLei::MDIFangLei(QWidget* parent) : QMainWindow(parent), m_mdi(new MdiArea(this)) {
    setObjectName(QStringLiteral("MDIFangLei"));
    m_session.start({m_sheet, {}, {}}, {}, {});
    updateTitle();
    setWindowIcon(programIcon());
    setCentralWidget(m_mdi);
    buildMenus();
    // There from the start: the first message does not push the forms up.
    statusBar();
    m_mdi->viewport()->installEventFilter(this);
    placeMainWindow(*this);
}

MDIFangLei::~MDIFangLei() {
    // Child windows go first: their views refer to the form objects. Whatever was to be
    // asked about them was asked as the window closed.
    for (view::SiteWindow* site : siteWindows()) site->setAskOnClose(false);
    m_mdi->closeAllSubWindows();
    for (QMdiSubWindow* w : m_mdi->subWindowList()) delete w;
    delete m_about;
}

bool MDIFangLei::eventFilter(QObject* watched, QEvent* event) {
    // Once the background has been painted, the menus' entries are made: their
    // shortcuts work before anybody opens a menu, and the first paint did not wait.
    if (watched == m_mdi->viewport() && event->type() == QEvent::Paint) {
        m_mdi->viewport()->removeEventFilter(this);
        QTimer::singleShot(0, this, &MDIFangLei::fillAllMenus);
    }
    return QMainWindow::eventFilter(watched, event);
}

void MDIFangLei::buildMenus() {
    // The bar's titles now, what each menu holds when it first opens: the window shows
    // the same, and start-up does not wait for some fifty entries nobody has looked at.
    const auto table = menuTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i].level != 1) continue;
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(table[i].caption));
        const QString name = QString::fromLatin1(table[i].name);
        menu->setObjectName(name);
        menu->menuAction()->setObjectName(name);
        m_actions.insert(name, menu->menuAction());
        m_unfilled.push_back({menu, i});
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { fillMenu(menu); });
    }
    // F10 opens the bar's first menu, wherever the focus is in the window; the arrows go
    // on from there.
    auto* barKey = new QAction(this);
    barKey->setObjectName(QStringLiteral("MenuBarKey"));
    barKey->setShortcut(QKeySequence(Qt::Key_F10));
    addAction(barKey);
    connect(barKey, &QAction::triggered, this, [this] {
        if (const auto titles = menuBar()->actions(); !titles.isEmpty())
            menuBar()->setActiveAction(titles.first());
    });
}

void MDIFangLei::fillAllMenus() {
    while (!m_unfilled.empty()) fillMenu(m_unfilled.front().menu);
}

QAction* MDIFangLei::menuAction(const QString& name) {
    fillAllMenus();
    return m_actions.value(name);
}

const std::vector<QAction*>& MDIFangLei::recentActions() {
    fillAllMenus();
    return m_recent;
}

void MDIFangLei::fillMenu(QMenu* top) {
    // Qt's own texts come with the entries (their shortcuts' names among them): nothing
    // the first paint shows needs them.
    ensureChineseQtTexts();
    const auto pending = std::find_if(m_unfilled.begin(), m_unfilled.end(),
                                      [top](const Unfilled& u) { return u.menu == top; });
    if (pending == m_unfilled.end()) return;
    const std::size_t first = pending->entry + 1;
    m_unfilled.erase(pending);

    const auto table = menuTable();
    std::vector<QMenu*> open{nullptr, top};  // the submenu at each level; level 1 is the bar
    for (std::size_t i = first; i < table.size() && table[i].level > 1; ++i) {
        const MenuEntry& e = table[i];
        open.resize(e.level);
        const QString name = QString::fromLatin1(e.name);
        const QString caption = QString::fromUtf8(e.caption);
        QMenu* parent = open[e.level - 1];
        switch (e.kind) {
            case MenuEntry::Submenu: {
                QMenu* menu = parent->addMenu(caption);
                // A submenu of separators only (the open-window list at start) still opens
                // and shows its lines.
                menu->setSeparatorsCollapsible(false);
                menu->setObjectName(name);
                menu->menuAction()->setObjectName(name);
                m_actions.insert(name, menu->menuAction());
                open.push_back(menu);
                if (name == QLatin1String("mnuRecentProjects")) {
                    m_recentProjects = menu;
                    connect(menu, &QMenu::aboutToShow, this, &MDIFangLei::fillRecentProjects);
                    fillRecentProjects();
                }
                break;
            }
            case MenuEntry::Separator: {
                QAction* sep = parent->addSeparator();
                sep->setObjectName(name);
                m_actions.insert(name, sep);
                break;
            }
            case MenuEntry::Recent:
                for (int k = 1; k <= OpenWindowList::kSlots; ++k) {
                    QAction* a = parent->addAction(QString());
                    a->setObjectName(QStringLiteral("Recent%1").arg(k));
                    a->setVisible(false);
                    connect(a, &QAction::triggered, this, [this, k] {
                        // An entry does what its form's menu entry does.
                        const std::string caption = m_openList.captions().at(k - 1);
                        if (caption == SheetWindow::kCaption) return showSheet();
                        if (caption == view::SiteWindow::kCaption) return showSiteWindow();
                        for (const forms::FormDef* def : forms::allForms())
                            if (def->caption == caption) return openForm(def->name);
                        refreshRecent();
                    });
                    m_recent.push_back(a);
                }
                refreshRecent();
                break;
            case MenuEntry::Command: {
                QAction* a = parent->addAction(caption);
                a->setObjectName(name);
                if (e.shortcut) {
                    a->setShortcut(QKeySequence(QString::fromLatin1(e.shortcut)));
                    // The shortcut works wherever the focus is in the main window.
                    addAction(a);
                }
                m_actions.insert(name, a);
                if (e.form) {
                    const std::string form = e.form;
                    connect(a, &QAction::triggered, this, [this, form] { openForm(form); });
                }
                connectCommand(e.command, a);
                break;
            }
        }
    }
}

void MDIFangLei::connectCommand(MenuCommand command, QAction* a) {
    using C = MenuCommand;
    const auto on = [this, a](auto handler) { connect(a, &QAction::triggered, this, handler); };
    switch (command) {
        case C::None:
            return;
        case C::NewProject:
            return on(&MDIFangLei::newProject);
        case C::OpenProject:
            return on(&MDIFangLei::openProject);
        case C::SaveProject:
            return on(&MDIFangLei::saveProject);
        case C::SaveProjectAs:
            return on(&MDIFangLei::saveProjectAs);
        case C::Sheet:
            return on(&MDIFangLei::showSheet);
        case C::SiteCheck:
            return on(&MDIFangLei::openSiteWindow);
        case C::Exit:
            return on(&MDIFangLei::exitProgram);
        case C::About:
            return on(&MDIFangLei::showAbout);
        case C::Cascade:
            connect(a, &QAction::triggered, m_mdi, &MdiArea::cascade);
            return;
        case C::TileHorizontally:
            connect(a, &QAction::triggered, m_mdi, &MdiArea::tileHorizontally);
            return;
        case C::TileVertically:
            connect(a, &QAction::triggered, m_mdi, &MdiArea::tileVertically);
            return;
        case C::AddToSheet:
            on(&MDIFangLei::addActiveToSheet);
            // Enabled while the active form has a successful calculation.
            connect(m_mdi, &QMdiArea::subWindowActivated, this, &MDIFangLei::updateAddToSheet);
            updateAddToSheet();
            return;
        case C::UpdateRecord:
            on(&MDIFangLei::updateActiveRecord);
            updateAddToSheet();
            return;
    }
}

void MDIFangLei::addActiveToSheet() {
    if (view::FormView* v = formViewOf(m_mdi->activeSubWindow())) addToSheet(v->form());
}

void MDIFangLei::updateActiveRecord() {
    if (view::FormView* v = formViewOf(m_mdi->activeSubWindow())) updateRecord(v->form());
}

forms::Workspace& MDIFangLei::workspace() {
    if (!m_workspace) {
        m_workspace = std::make_unique<forms::Workspace>();
        // The settings a form remembers (the code edition) as chosen last time.
        view::recallSettings(*m_workspace);
    }
    return *m_workspace;
}

void MDIFangLei::openForm(const std::string& formName) {
    const forms::FormDef* def = forms::findForm(formName);
    if (!def) return;
    QPointer<QMdiSubWindow>& window = m_windows[formName];
    // A window closed a moment ago may still await deletion: it counts as closed.
    if (!window || window->isHidden()) {
        // A new window loads its form, unless the form was just restored.
        auto* page = new view::FormPage(workspace().openWindow(formName));
        view::FormView* formView = page->formView();
        window = addChild(scrollable(page), QString::fromStdString(def->caption));
        QMdiSubWindow* sub = window;
        connect(formView, &view::FormView::closeRequested, sub, &QMdiSubWindow::close);
        connect(formView, &view::FormView::pressed, this, &MDIFangLei::updateAddToSheet);
        watchForChanges(window, formView);
        if (view::FormPanel* panel = page->panel()) {
            const forms::Form* form = &formView->form();
            connect(panel, &view::FormPanel::addToSheetRequested, this,
                    [this, form] { addToSheet(*form); });
            connect(panel, &view::FormPanel::updateRecordRequested, this,
                    [this, form] { updateRecord(*form); });
        }
        window->showMaximized();  // Form_Load
    } else {
        bringForward(window);
    }
    offerUpdate(formName);
    m_openList.record(def->caption);
    // Opened or brought back, the form takes the keys at once.
    formViewOf(window)->takeFocus();
    refreshRecent();
}

view::FormView* MDIFangLei::formView(const std::string& formName) const {
    const auto it = m_windows.find(formName);
    return it == m_windows.end() ? nullptr : formViewOf(it->second);
}

QMdiSubWindow* MDIFangLei::addChild(QWidget* content, const QString& caption) {
    QMdiSubWindow* window = m_mdi->addSubWindow(content);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(caption);
    window->setWindowIcon(windowIcon());
    keepTypedValuesFromCtrlW(window);
    return window;
}

void MDIFangLei::bringForward(QMdiSubWindow* window) {
    window->show();
    m_mdi->setActiveSubWindow(window);
    window->raise();
}

QWidget* MDIFangLei::scrollable(view::FormPage* page) {
    // A window smaller than the form gets scroll bars instead of hiding its buttons.
    auto* scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(page);
    return scroll;
}

void MDIFangLei::keepTypedValuesFromCtrlW(QMdiSubWindow* window) {
    // The system menu's Close answers the desktop's Close keys, Ctrl+W among them; a form
    // closes without asking, so only Ctrl+F4 (the child-window convention) stays.
    const QKeySequence ctrlW(Qt::CTRL | Qt::Key_W);
    for (QAction* a : window->systemMenu()->actions())
        if (a->shortcuts().contains(ctrlW)) a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
}

view::FormView* formViewOf(QMdiSubWindow* window) {
    if (!window) return nullptr;
    if (auto* scroll = qobject_cast<QScrollArea*>(window->widget()))
        if (auto* page = qobject_cast<view::FormPage*>(scroll->widget())) return page->formView();
    return nullptr;
}

void MDIFangLei::refreshRecent() {
    const auto& captions = m_openList.captions();
    for (std::size_t k = 0; k < m_recent.size(); ++k) {
        QAction* a = m_recent[k];
        const bool filled = k < captions.size();
        a->setText(filled ? QString::fromStdString(captions[k]) : QString());
        a->setVisible(filled);
        // Only the checked entry is checkable: the others show no empty box.
        const bool checked = static_cast<int>(k) == m_openList.checked();
        a->setCheckable(checked);
        a->setChecked(checked);
    }
}

void MDIFangLei::exitProgram() {
    // The exit question first, as ever; then, leaving for real, the unsaved changes
    // (closing asks about them), whose 取消 keeps the program running.
    if (!view::confirmExit(this)) return;
    if (!close()) return;
    QApplication::quit();
}

void MDIFangLei::showAbout() {
    if (!m_about) m_about = new AboutBox();
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

}  // namespace tervalen::shell

namespace tervalen::shell {

void MDIFangLei::updateAddToSheet() {
    const view::FormView* v = formViewOf(m_mdi->activeSubWindow());
    const bool pressed = v && v->form().lastPress().has_value();
    if (QAction* a = m_actions.value(QStringLiteral("mnuAddToSheet"))) a->setEnabled(pressed);
    // 更新此记录 where the active form was opened again from a record.
    if (QAction* a = m_actions.value(QStringLiteral("mnuUpdateRecord")))
        a->setEnabled(pressed && m_reopened.contains(v->form().name()));
}

void MDIFangLei::offerUpdate(const std::string& form) {
    const auto it = m_windows.find(form);
    if (it == m_windows.end() || !it->second) return;
    if (auto* scroll = qobject_cast<QScrollArea*>(it->second->widget()))
        if (auto* page = qobject_cast<view::FormPage*>(scroll->widget()))
            if (view::FormPanel* panel = page->panel())
                panel->offerUpdate(m_reopened.contains(form));
    updateAddToSheet();
}

SheetWindow* MDIFangLei::sheetWindow() const {
    return m_sheetWindow && !m_sheetWindow->isHidden()
               ? qobject_cast<SheetWindow*>(m_sheetWindow->widget())
               : nullptr;
}

void MDIFangLei::showSheet() {
    if (!sheetWindow()) {
        fillRememberedHeader();
        auto* w = new SheetWindow(m_sheet, [this](const sheet::SheetRecord& r) { openRecord(r); });
        connect(w, &SheetWindow::changed, this, &MDIFangLei::sheetChanged);
        connect(w, &SheetWindow::said, this,
                [this](const QString& text) { statusBar()->showMessage(text, 5000); });
        w->setFolder([this] {
            const QString file = projectFile();
            return file.isEmpty() ? QString() : QFileInfo(file).absolutePath();
        });
        m_sheetWindow = addChild(w, QString::fromUtf8(SheetWindow::kCaption));
        // Its frame around the window's own minimum: no arrangement crushes it.
        m_sheetWindow->setMinimumSize(m_sheetWindow->minimumSizeHint());
        m_sheetWindow->showMaximized();
    } else {
        bringForward(m_sheetWindow);
    }
    m_openList.record(SheetWindow::kCaption);
    refreshRecent();
}

bool MDIFangLei::addToSheet(const forms::Form& form) {
    auto record = sheet::recordOf(form);
    if (!record) return false;
    m_sheet.add(std::move(*record));
    recordAdded();
    return true;
}

void MDIFangLei::recordAdded() {
    if (SheetWindow* w = sheetWindow()) w->refresh();
    sheetChanged();
    statusBar()->showMessage(
        QStringLiteral("已加入计算书：%1")
            .arg(QString::fromStdString(sheet::shownLabel(m_sheet.records.back()))),
        5000);
}

void MDIFangLei::openRecord(const sheet::SheetRecord& record) {
    // A site's record opens its site in a new site window.
    if (record.site) {
        openSiteWindow()->setSite(record.site->site);
        return;
    }
    // The record is one of the sheet's: its place is remembered with it.
    const std::size_t index = static_cast<std::size_t>(&record - m_sheet.records.data());
    m_reopened[record.form] = {record, index};
    openForm(record.form);
    if (view::FormView* v = formView(record.form)) v->apply(record.settings, record.actions);
    offerUpdate(record.form);
}

bool MDIFangLei::updateRecord(const forms::Form& form) {
    const auto it = m_reopened.find(form.name());
    if (it == m_reopened.end()) return false;
    auto now = sheet::recordOf(form);
    if (!now) return false;
    const sheet::Sheet::Updated updated =
        m_sheet.update(it->second.record, it->second.index, std::move(*now));
    if (updated.index < 0) {
        // Removed, or its calculation changed another way: nothing to update any more.
        m_reopened.erase(it);
        offerUpdate(form.name());
        statusBar()->showMessage(
            QStringLiteral("原记录已不在计算书中，未更新；可用“加入计算书”另加一条"), 5000);
        return false;
    }
    const sheet::SheetRecord& r = m_sheet.records[static_cast<std::size_t>(updated.index)];
    it->second = {r, static_cast<std::size_t>(updated.index)};
    if (SheetWindow* w = sheetWindow()) w->refresh();
    sheetChanged();
    QString said = QStringLiteral("已更新计算书中的记录：%1")
                       .arg(QString::fromStdString(sheet::shownLabel(r)));
    if (updated.requirementDropped) said += QStringLiteral("（原要求与新结果不符，已取消）");
    statusBar()->showMessage(said, 5000);
    return true;
}

}  // namespace tervalen::shell
