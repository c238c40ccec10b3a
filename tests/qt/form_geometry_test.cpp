// Every form of the catalog, laid out in the program's font: each control lies inside its
// frame's border and shows its whole text, and no two controls overlap.

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "forms/catalog.h"
#include "view/form_view.h"

using namespace tervalen;

namespace {

QString describe(const QWidget* w) {
    const auto* l = qobject_cast<const QLabel*>(w);
    return QStringLiteral("%1 \"%2\" %3,%4 %5x%6")
        .arg(w->objectName(), l ? l->text() : QString())
        .arg(w->x())
        .arg(w->y())
        .arg(w->width())
        .arg(w->height());
}

// The controls a user sees inside a parent (frame or form), drawn lines aside.
QList<QWidget*> controlsOf(QWidget* parent) {
    QList<QWidget*> out;
    for (QWidget* w : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!w->testAttribute(Qt::WA_TransparentForMouseEvents) && !w->isHidden()) out << w;
    return out;
}

}  // namespace

class FormGeometryTest : public QObject {
    Q_OBJECT
private slots:
    void controlsStayInsideTheirFramesAndApart_data() {
        QTest::addColumn<QString>("form");
        for (const forms::FormDef* def : forms::allForms())
            QTest::newRow(def->name.c_str()) << QString::fromStdString(def->name);
    }
    void controlsStayInsideTheirFramesAndApart() {
        QFETCH(QString, form);
        forms::Form model(*forms::findForm(form.toStdString()));
        view::FormView v(model);
        v.resize(v.sizeHint());
        QStringList faults;
        QList<QWidget*> parents{&v};
        for (QWidget* frame : v.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!controlsOf(frame).isEmpty() && !frame->inherits("QComboBox")) parents << frame;
        for (QWidget* parent : parents) {
            const QList<QWidget*> controls = controlsOf(parent);
            // Inside the frame's border (its contents rectangle leaves the border out).
            if (auto* frame = qobject_cast<QGroupBox*>(parent))
                for (QWidget* c : controls) {
                    const QRect inside = frame->rect().adjusted(2, 2, -2, -2);
                    if (!inside.contains(c->geometry()))
                        faults << QStringLiteral("%1 crosses the border of %2")
                                      .arg(describe(c), frame->objectName());
                }
            // A label is wide and tall enough for its text.
            for (QWidget* c : controls)
                if (auto* l = qobject_cast<QLabel*>(c); l && !l->text().isEmpty()) {
                    const QSize need = l->wordWrap()
                                           ? QSize(l->width(), l->heightForWidth(l->width()))
                                           : l->sizeHint();
                    if (need.width() > l->width() || need.height() > l->height())
                        faults << QStringLiteral("%1 cuts its text (needs %2x%3)")
                                      .arg(describe(c))
                                      .arg(need.width())
                                      .arg(need.height());
                }
            for (int i = 0; i < controls.size(); ++i)
                for (int j = i + 1; j < controls.size(); ++j)
                    if (controls[i]->geometry().intersects(controls[j]->geometry()))
                        faults << QStringLiteral("%1 overlaps %2")
                                      .arg(describe(controls[i]), describe(controls[j]));
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("\n"))));
    }
};

QTEST_MAIN(FormGeometryTest)
#include "form_geometry_test.moc"
