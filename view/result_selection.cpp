#include "view/result_selection.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

namespace tervalen::view {
namespace {

class WholeNumber : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::MouseButtonDblClick ||
            static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            return false;
        auto* box = static_cast<QLabel*>(watched);
        const QString text = box->text();
        qsizetype start = 0;
        while (start < text.size() && text[start].isSpace()) ++start;
        qsizetype end = text.size();
        while (end > start && text[end - 1].isSpace()) --end;
        if (end > start) box->setSelection(static_cast<int>(start), static_cast<int>(end - start));
        return true;
    }
};

}  // namespace

void selectWholeNumberOnDoubleClick(QLabel* resultBox) {
    resultBox->installEventFilter(new WholeNumber(resultBox));
}

}  // namespace tervalen::view
