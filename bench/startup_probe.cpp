// Start-up probe: builds the main window exactly as the program does (or, for the
// yardstick, a bare QMainWindow), and on its first paint prints the wall-clock time and
// the peak resident memory, then quits. bench/startup.sh runs it repeatedly.

#include <sys/resource.h>

#include <QApplication>
#include <QMainWindow>
#include <QPaintEvent>
#include <cstdio>
#include <ctime>

#ifndef TERVALEN_PROBE_BARE
#include "shell/main_window.h"
#endif

namespace {

class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            timespec now{};
            clock_gettime(CLOCK_REALTIME, &now);
            rusage usage{};
            getrusage(RUSAGE_SELF, &usage);
            std::printf("painted_ns=%lld maxrss_kb=%ld\n",
                        static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec,
                        usage.ru_maxrss);
            std::fflush(stdout);
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_done = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
#ifdef TERVALEN_PROBE_BARE
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tervalen"));
    window.resize(1024, 768);
#else
    QApplication::setApplicationName(QStringLiteral("Tervalen"));
    tervalen::shell::MDIFangLei window;
#endif
    FirstPaint probe;
    window.installEventFilter(&probe);
    window.show();
    return QApplication::exec();
}
