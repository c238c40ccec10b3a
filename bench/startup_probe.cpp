// Start-up probe: prepares the application and builds the main window exactly as the
// program does, or one of two yardsticks, and once its first frame is painted prints the
// wall-clock time and the peak resident memory, then quits. bench/startup.sh runs it
// repeatedly.
//
//   tervalen-startup-probe        the program's main window; the frame counted is the
//                                 one that paints the client area with its background
//   bare-mainwindow-probe         a bare QMainWindow (TERVALEN_PROBE_BARE)
//   chinese-menu-probe            a bare QMainWindow whose menu bar shows the program's
//                                 six menu titles in the forms' Song face, 10.5 pt
//                                 (TERVALEN_PROBE_CHINESE_MENU)
//
// The time is taken in a queued call posted from the watched widget's first paint
// event: it runs once the whole paint pass, and the flush to the screen, are done.

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#ifdef Q_OS_WIN
#include <windows.h>
// windows.h first: psapi.h relies on its types.
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

#if !defined(TERVALEN_PROBE_BARE) && !defined(TERVALEN_PROBE_CHINESE_MENU)
#include "shell/main_window.h"
#include "shell/mdi_area.h"
#include "shell/startup.h"
#endif
#ifdef TERVALEN_PROBE_CHINESE_MENU
#include "view/ui_font.h"
#endif

namespace {

long long peakMemoryKiB() {
#ifdef Q_OS_WIN
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<long long>(counters.PeakWorkingSetSize / 1024);
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;  // KiB on Linux
#endif
}

// With TERVALEN_PROBE_SMAPS=FILE set, the process's memory map with each mapping's
// resident size (Linux's /proc/self/smaps) is copied to FILE at the first paint: where
// the peak memory goes, for comparing the programs.
void copyMemoryMap() {
    const char* path = std::getenv("TERVALEN_PROBE_SMAPS");
    if (!path || !*path) return;
    std::ifstream in("/proc/self/smaps");
    std::ofstream out(path);
    out << in.rdbuf();
}

class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            QMetaObject::invokeMethod(
                qApp,
                [] {
                    const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                        std::chrono::system_clock::now().time_since_epoch());
                    std::printf("painted_ns=%lld maxrss_kb=%lld\n",
                                static_cast<long long>(now.count()), peakMemoryKiB());
                    std::fflush(stdout);
                    copyMemoryMap();
                    QCoreApplication::quit();
                },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_done = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    FirstPaint probe;
#if defined(TERVALEN_PROBE_BARE) || defined(TERVALEN_PROBE_CHINESE_MENU)
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tervalen"));
    window.resize(1024, 768);
#ifdef TERVALEN_PROBE_CHINESE_MENU
    window.menuBar()->setFont(tervalen::view::formFont());
    for (const char* title :
         {"文件", "保护范围计算", "针高计算", "人工接地电阻计算", "其它", "窗口"})
        window.menuBar()->addMenu(QString::fromUtf8(title));
#endif
    window.installEventFilter(&probe);
#else
    tervalen::shell::prepareApplication(app);
    tervalen::shell::MDIFangLei window;
    window.mdiArea()->viewport()->installEventFilter(&probe);
#endif
    window.show();
    return QApplication::exec();
}
