#include "view/form_panel.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "drawing/from_record.h"
#include "sheet/basis.h"
#include "sheet/verdict.h"
#include "sheet_qt/rich_text.h"
#include "view/drawing/drawing_view.h"

namespace tervalen::view {
namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

// Where a remembered setting is kept between runs.
QString rememberedKey(const forms::Form& form, const forms::Setting& setting) {
    return QStringLiteral("forms/%1/%2").arg(q(form.name()), q(setting.name));
}

}  // namespace

void recallSettings(forms::Form& form) {
    const QSettings stored;
    for (const forms::Setting& s : form.def().settings) {
        if (!s.remembered) continue;
        const std::string value = stored.value(rememberedKey(form, s)).toString().toStdString();
        if (s.find(value)) form.setSetting(s.name, value);
    }
}

void recallSettings(forms::Workspace& workspace) {
    for (forms::Form* form : workspace.forms()) recallSettings(*form);
}

FormPanel::FormPanel(const forms::Form& form, QWidget* parent)
    : QWidget(parent),
      m_form(form),
      m_tabs(new QTabWidget(this)),
      m_working(new QTextBrowser),
      m_addToSheet(new QPushButton(QStringLiteral("加入计算书"))),
      m_updateRecord(new QPushButton(QStringLiteral("更新此记录"))) {
    setObjectName(QStringLiteral("FormPanel"));
    m_working->setObjectName(QStringLiteral("WorkingView"));
    m_working->setOpenLinks(false);
    m_tabs->addTab(m_working, QStringLiteral("计算过程"));
    if (drawing::hasDrawing(form.name())) {
        m_drawing = new DrawingView;
        m_drawing->setObjectName(QStringLiteral("DrawingView"));
        m_tabs->addTab(m_drawing, QStringLiteral("保护范围图"));
    }
    m_addToSheet->setObjectName(QStringLiteral("AddToSheet"));
    m_addToSheet->setToolTip(QStringLiteral("把这次计算连同其计算过程记入计算书"));
    m_addToSheet->setEnabled(false);
    m_addToSheet->setAutoDefault(false);
    m_addToSheet->setFocusPolicy(Qt::TabFocus);
    connect(m_addToSheet, &QPushButton::clicked, this, [this] {
        if (m_form.lastPress()) emit addToSheetRequested();
    });
    m_updateRecord->setObjectName(QStringLiteral("UpdateRecord"));
    m_updateRecord->setToolTip(
        QStringLiteral("用这次计算替换重新打开的那条记录（保留其名称与要求）"));
    m_updateRecord->setEnabled(false);
    m_updateRecord->setAutoDefault(false);
    m_updateRecord->setFocusPolicy(Qt::TabFocus);
    m_updateRecord->hide();
    connect(m_updateRecord, &QPushButton::clicked, this, [this] {
        if (m_form.lastPress()) emit updateRecordRequested();
    });

    auto* choices = new QGridLayout;
    choices->setColumnStretch(1, 1);
    for (const forms::Setting& setting : form.def().settings) {
        auto* box = new QComboBox;
        box->setObjectName(q("Setting_" + setting.name));
        for (const forms::Choice& c : setting.choices) box->addItem(q(c.text), q(c.value));
        // A long choice does not widen the panel; the open list shows it whole.
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(12);
        box->view()->setMinimumWidth(box->view()->sizeHintForColumn(0) + 24);
        box->setFocusPolicy(Qt::TabFocus);
        const int row = choices->rowCount();
        auto* caption = new QLabel(q(setting.caption));
        caption->setBuddy(box);
        choices->addWidget(caption, row, 0);
        choices->addWidget(box, row, 1);
        connect(box, &QComboBox::activated, this, [this, box, setting = &setting] {
            const std::string value = box->currentData().toString().toStdString();
            if (setting->remembered)
                QSettings().setValue(rememberedKey(m_form, *setting), q(value));
            emit settingChosen(setting->name, value);
        });
        m_settings.emplace_back(setting.name, box);
    }
    showSettings();

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_updateRecord);
    buttons->addWidget(m_addToSheet);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 8, 8, 8);
    if (!m_settings.empty())
        layout->addLayout(choices);
    else
        delete choices;  // a form without settings shows no choices
    layout->addWidget(m_tabs, 1);
    layout->addLayout(buttons);
}

QComboBox* FormPanel::settingBox(const std::string& setting) const {
    for (const auto& [name, box] : m_settings)
        if (name == setting) return box;
    return nullptr;
}

void FormPanel::showSettings() {
    for (const auto& [name, box] : m_settings)
        box->setCurrentIndex(box->findData(q(m_form.setting(name))));
}

void FormPanel::showPress(const std::vector<forms::Message>& shown) {
    if (const auto& record = m_form.lastPress()) {
        QString html = sheet_qt::workingHtml(record->working());
        // Where the sphere still reaches the protected level, in red under the steps.
        if (!record->warnings().empty()) {
            html += QStringLiteral("<p><b>保护校核</b></p>");
            for (const Warning& w : record->warnings())
                html += QStringLiteral("<p style=\"color:#c00000\">") +
                        q(sentence(w)).toHtmlEscaped() + QStringLiteral("</p>");
        }
        // What the settings decide: the rules followed and the conclusion drawn.
        if (!m_settings.empty())
            if (const auto sheetRecord = sheet::recordOf(m_form)) {
                html += QStringLiteral("<p><b>计算依据</b></p>");
                for (const sheet::Basis& b : sheet::basisOf(*sheetRecord))
                    html += QStringLiteral("<p>") +
                            (b.formula ? sheet_qt::symbolHtml(b.text) : q(b.text).toHtmlEscaped()) +
                            QStringLiteral("</p>");
                html += QStringLiteral("<p><b>结论</b></p><p>") +
                        sheet_qt::symbolHtml(sheet::conclusionOf(*sheetRecord).text) +
                        QStringLiteral("</p>");
            }
        m_working->setHtml(html);
    } else if (!shown.empty()) {
        // A refusal or a failed step: nothing but the message.
        m_working->setHtml(sheet_qt::refusalHtml(shown.back().text));
    } else {
        m_working->clear();
    }
    if (m_drawing) m_drawing->showPress(m_form.lastPress(), m_form.def().caption);
    m_addToSheet->setEnabled(m_form.lastPress().has_value());
    m_updateRecord->setEnabled(m_form.lastPress().has_value());
}

void FormPanel::offerUpdate(bool offered) {
    m_updateRecord->setVisible(offered);
    m_updateRecord->setEnabled(m_form.lastPress().has_value());
}

void FormPanel::clear() {
    m_working->clear();
    if (m_drawing) m_drawing->showPress(std::nullopt, m_form.def().caption);
    m_addToSheet->setEnabled(false);
    m_updateRecord->setEnabled(false);
}

}  // namespace tervalen::view
