// The main window's site windows: 保护范围计算 ▸ 屋面/总平面防雷校核….

#include <QMdiSubWindow>
#include <QStatusBar>
#include <stdexcept>

#include "sheet/site_record.h"
#include "shell/main_window.h"
#include "shell/mdi_area.h"
#include "shell/sheet_window.h"
#include "view/message_boxes.h"
#include "view/site_window.h"

namespace tervalen::shell {

view::SiteWindow* MDIFangLei::openSiteWindow() {
    auto* site = new view::SiteWindow;
    QMdiSubWindow* window = addChild(site, site->windowTitle());
    // The child window's title follows the site's (its file, the "*" of changes).
    window->setWindowTitle(site->windowTitle());
    connect(site, &QWidget::windowTitleChanged, window, &QWidget::setWindowTitle);
    connect(site, &view::SiteWindow::changed, window,
            [window, site] { window->setWindowModified(site->isWindowModified()); });
    window->setWindowModified(site->isWindowModified());
    // The site window is part of the project: its changes are the project's too.
    connect(site, &view::SiteWindow::changed, this, &MDIFangLei::updateTitle);
    connect(site, &QWidget::windowTitleChanged, this, &MDIFangLei::updateTitle);  // its file
    connect(window, &QObject::destroyed, this, &MDIFangLei::updateTitle, Qt::QueuedConnection);
    // 加入计算书: the site's check as a record of the sheet, computed afresh from the site
    // as it stands (a site the engine refuses adds nothing and says why).
    site->setAddToSheetAvailable(true);
    connect(site, &view::SiteWindow::addToSheetRequested, this, [this, site] {
        try {
            m_sheet.add(sheet::siteRecordOf(site->site()));
        } catch (const std::invalid_argument& e) {
            view::plainMessage(this, QMessageBox::Warning, QStringLiteral("Tervalen"),
                               QString::fromStdString(e.what()));
            return;
        }
        recordAdded();
    });
    window->showMaximized();
    m_openList.record(view::SiteWindow::kCaption);
    refreshRecent();
    site->plan()->setFocus();
    return site;
}

std::vector<view::SiteWindow*> MDIFangLei::siteWindows() const {
    std::vector<view::SiteWindow*> out;
    for (QMdiSubWindow* w : m_mdi->subWindowList())
        if (auto* site = qobject_cast<view::SiteWindow*>(w->widget()); site && !w->isHidden())
            out.push_back(site);
    return out;
}

void MDIFangLei::showSiteWindow() {
    const auto sites = siteWindows();
    if (sites.empty()) {
        openSiteWindow();
        return;
    }
    if (auto* window = qobject_cast<QMdiSubWindow*>(sites.back()->parentWidget()))
        bringForward(window);
    m_openList.record(view::SiteWindow::kCaption);
    refreshRecent();
}

std::vector<project::SiteWindowState> MDIFangLei::openSitesState() const {
    std::vector<project::SiteWindowState> out;
    for (const view::SiteWindow* site : siteWindows()) {
        // A window showing what a fresh one shows is left out, as a fresh form is:
        // opening or closing it loses nothing.
        if (site->showsNothingNew()) continue;
        out.push_back({site->windowTitle().remove(QStringLiteral("[*]")).toStdString(),
                       site->file().toStdString(), site->site(), site->levels()});
    }
    return out;
}

void MDIFangLei::askSiteWindowsOnClose(bool ask) {
    for (view::SiteWindow* site : siteWindows()) site->setAskOnClose(ask);
}

}  // namespace tervalen::shell
