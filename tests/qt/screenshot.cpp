// tervalen-shot OUT.png [--size WxH] ACTION...
//   FORM             open a form through its menu entry (e.g. frmRx_DLDanZ)
//   CONTROL=TEXT     set the text of an input box of the form opened last
//   --press BUTTON   click a button of the form opened last
//   --pick BOX=TEXT  choose a list entry of an input box
//   --select OPTION  click an option button
//   --menu NAME      trigger a menu entry (mnuCD, mnuSP, mnuCZ, mnuCK_About…)
//   --project FILE   open a project file (.tvp) as 打开工程… does
//   --popup M[/S]    at the end, open menu M (and its submenu S) on screen
//   --linger SECONDS keep running that long before saving (for an outside screen grab)
//   --tab N          show tab N of the panel beside the form opened last (1: 保护范围图)
//   --site FILE      open a 屋面/总平面防雷校核 window on a site file (.tvs) and wait for
//                    its exact result
// Renders the main window (and the About box, if open, to OUT-about.png). Messages
// that would pop up are printed to stderr instead.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>

#include "shell/about_box.h"
#include "shell/main_window.h"
#include "shell/window_placement.h"
#include "view/form_page.h"
#include "view/form_panel.h"
#include "view/form_view.h"
#include "view/message_boxes.h"
#include "view/site_window.h"

using namespace tervalen;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStringList args = QApplication::arguments().mid(1);
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: tervalen-shot OUT.png [--size WxH] ACTION...\n");
        return 2;
    }
    const QString out = args.takeFirst();
    view::setMessagePresenter([](QWidget*, const forms::Message& m) {
        std::fprintf(stderr, "[message] %s\n", m.text.c_str());
    });
    shell::MDIFangLei window;
    // The program's first-start size, whatever the screen and the remembered place.
    window.resize(shell::kFirstClientSize);
    window.show();
    std::string current;
    QString popup;
    int lingerMs = 0;
    for (int i = 0; i < args.size(); ++i) {
        const QString a = args[i];
        if (a == "--size" && i + 1 < args.size()) {
            const QStringList wh = args[++i].split('x');
            window.resize(wh.value(0).toInt(), wh.value(1).toInt());
        } else if (a == "--popup" && i + 1 < args.size()) {
            popup = args[++i];
        } else if (a == "--tab" && i + 1 < args.size()) {
            auto* view = window.formView(current);
            auto* page = view ? qobject_cast<view::FormPage*>(view->parentWidget()) : nullptr;
            if (page && page->panel()) page->panel()->tabs()->setCurrentIndex(args[++i].toInt());
        } else if (a == "--linger" && i + 1 < args.size()) {
            lingerMs = args[++i].toInt() * 1000;
        } else if (a == "--site" && i + 1 < args.size()) {
            view::SiteWindow* site = window.openSiteWindow();
            site->setAskOnClose(false);
            if (site->openFile(args[++i]) && !site->exactResult()) {
                QEventLoop wait;
                QObject::connect(site, &view::SiteWindow::resultShown, &wait, &QEventLoop::quit);
                wait.exec();
            }
        } else if (a == "--project" && i + 1 < args.size()) {
            window.openProjectFile(args[++i]);
        } else if (a == "--menu" && i + 1 < args.size()) {
            if (QAction* act = window.menuAction(args[++i])) act->trigger();
        } else if (a == "--pick" && i + 1 < args.size()) {
            auto* view = window.formView(current);
            const QString spec = args[++i];
            auto* combo =
                view ? qobject_cast<QComboBox*>(view->widget(spec.section('=', 0, 0))) : nullptr;
            const int index = combo ? combo->findText(spec.section('=', 1)) : -1;
            if (index >= 0) emit combo->activated(index);
        } else if (a == "--select" && i + 1 < args.size()) {
            auto* view = window.formView(current);
            if (auto* b = view ? qobject_cast<QAbstractButton*>(view->widget(args[++i])) : nullptr)
                b->click();
        } else if (a == "--press" && i + 1 < args.size()) {
            auto* view = window.formView(current);
            if (auto* b = view ? qobject_cast<QPushButton*>(view->widget(args[++i])) : nullptr)
                b->click();
        } else if (a.contains('=')) {
            auto* view = window.formView(current);
            QWidget* w = view ? view->widget(a.section('=', 0, 0)) : nullptr;
            const QString text = a.section('=', 1);
            if (auto* combo = qobject_cast<QComboBox*>(w))
                combo->setEditText(text);
            else if (auto* edit = qobject_cast<QLineEdit*>(w))
                edit->setText(text);
            else
                std::fprintf(stderr, "no input box %s\n", qPrintable(a));
        } else {
            current = a.toStdString();
            window.openForm(current);
        }
        QApplication::processEvents();
    }
    QApplication::processEvents();
    if (!popup.isEmpty()) {
        const QStringList names = popup.split('/');
        auto* top = window.findChild<QMenu*>(names[0]);
        auto* bar = window.menuBar();
        if (top) {
            top->popup(bar->mapToGlobal(bar->actionGeometry(top->menuAction()).bottomLeft()));
            if (auto* sub = names.size() > 1 ? top->findChild<QMenu*>(names[1]) : nullptr) {
                top->setActiveAction(sub->menuAction());
                sub->popup(top->mapToGlobal(top->actionGeometry(sub->menuAction()).topRight()));
            }
        }
    }
    if (lingerMs > 0) {
        QTimer::singleShot(lingerMs, &app, &QCoreApplication::quit);
        QApplication::exec();
    }
    window.grab().save(out);
    if (window.aboutBox())
        window.aboutBox()->grab().save(QString(out).replace(".png", "-about.png"));
    return 0;
}
