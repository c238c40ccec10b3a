#include "view/working_html.h"

namespace tervalen::view {
namespace {

QString escaped(const std::string& s) {
    return QString::fromStdString(s).toHtmlEscaped();
}

}  // namespace

QString workingHtml(const forms::Record& record) {
    QString html = QStringLiteral("<div style=\"line-height:140%\">");
    for (const Step& s : record.working()) {
        const QString unit = s.unit.empty() ? QString() : QStringLiteral(" ") + escaped(s.unit);
        if (s.formula.empty() && s.symbol.empty()) {
            html += QStringLiteral("<p>%1</p>").arg(escaped(s.note));
        } else if (s.formula.empty()) {
            html += QStringLiteral("<p><b>%1</b> = %2%3%4</p>")
                        .arg(escaped(s.symbol), escaped(s.value), unit,
                             s.note.empty() ? QString()
                                            : QStringLiteral("（%1）").arg(escaped(s.note)));
        } else {
            html += QStringLiteral(
                        "<p><b>%1</b> = %2<br>&nbsp;&nbsp;= %3<br>&nbsp;&nbsp;= <b>%4</b>%5</p>")
                        .arg(escaped(s.symbol), escaped(s.formula), escaped(s.substituted),
                             escaped(s.value), unit);
        }
    }
    return html + QStringLiteral("</div>");
}

QString messageHtml(const std::string& text) {
    return QStringLiteral("<p>%1</p>")
        .arg(escaped(text).replace(QLatin1Char('\n'), QStringLiteral("<br>")));
}

}  // namespace tervalen::view
