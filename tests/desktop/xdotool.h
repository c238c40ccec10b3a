#pragma once
// Keys, text and clicks sent through the X server by xdotool, as a keyboard and a mouse
// would send them, each followed by a moment for Qt to take them.

#include <QProcess>
#include <QWidget>
#include <QtTest>

inline void xdotool(const QStringList& args) {
    QCOMPARE(QProcess::execute(QStringLiteral("xdotool"), args), 0);
    QTest::qWait(150);
}
inline void keys(const QString& sequence) {
    xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("40")} +
            sequence.split(QLatin1Char(' ')));
}
inline void type(const QString& text) {
    xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"), text});
}
inline void clickAt(QPoint global) {
    xdotool({QStringLiteral("mousemove"), QString::number(global.x()), QString::number(global.y()),
             QStringLiteral("click"), QStringLiteral("1")});
}
inline void clickOn(QWidget* w) {
    clickAt(w->mapToGlobal(w->rect().center()));
}
