#include "view/site_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QBuffer>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QImage>
#include <QInputDialog>
#include <QKeySequence>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <cmath>
#include <filesystem>

#include "drawing/site_plan.h"
#include "drawing_qt/render.h"
#include "forms/number.h"
#include "site/site_file.h"
#include "view/fs_path.h"
#include "view/site_dxf_dialog.h"
#include "view/site_section.h"

namespace tervalen::view {
namespace {

const QString kFolderKey = QStringLiteral("siteWindow/folder");
const QString kSiteFilter = QStringLiteral("场地文件 (*.tvs)");

// The protection categories and their radii (GB 50057-2010 表5.2.12).
struct Category {
    const char* text;
    double hr;
};
constexpr Category kCategories[] = {
    {"第一类 30 m（GB 50057-2010 表5.2.12）", 30},
    {"第二类 45 m（GB 50057-2010 表5.2.12）", 45},
    {"第三类 60 m（GB 50057-2010 表5.2.12）", 60},
};

QString withSuffix(QString file, const QString& suffix) {
    if (!file.endsWith(suffix, Qt::CaseInsensitive)) file += suffix;
    return file;
}

QDoubleSpinBox* heightBox(const QString& name, double value) {
    auto* box = new QDoubleSpinBox;
    box->setObjectName(name);
    box->setRange(0, 300);
    box->setDecimals(2);
    box->setSuffix(QStringLiteral(" m"));
    box->setValue(value);
    return box;
}

}  // namespace

SiteWindow::SiteWindow(QWidget* parent)
    : QMainWindow(parent),
      m_plan(new SitePlanView(&m_model)),
      m_tables(new SiteTables(&m_model)),
      m_verdict(new QTableWidget(0, 5)),
      m_state(new QLabel),
      m_overall(new QLabel),
      m_levelsShown(new QLabel),
      m_hr(new QComboBox),
      m_hrCustom(new QLineEdit),
      m_levels(new QLineEdit),
      m_rodHeight(heightBox(QStringLiteral("rodHeight"), 5)),
      m_conductorHeight(heightBox(QStringLiteral("conductorHeight"), 0.15)),
      m_wireHeight(heightBox(QStringLiteral("wireHeight"), 15)) {
    setObjectName(QStringLiteral("siteWindow"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    // The result pane: the state of the calculation, a row per roof, the site's verdict.
    auto* results = new QWidget;
    auto* rl = new QVBoxLayout(results);
    rl->setContentsMargins(0, 0, 0, 0);
    m_state->setObjectName(QStringLiteral("resultState"));
    m_state->setWordWrap(true);
    m_verdict->setObjectName(QStringLiteral("verdictTable"));
    m_verdict->setHorizontalHeaderLabels(
        {QStringLiteral("名称"), QStringLiteral("高度 (m)"), QStringLiteral("未保护面积 (m²)"),
         QStringLiteral("最不利点 (S−H)"), QStringLiteral("结论")});
    m_verdict->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_verdict->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_verdict->setSelectionMode(QAbstractItemView::SingleSelection);
    m_verdict->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_verdict->horizontalHeader()->setStretchLastSection(true);
    m_verdict->verticalHeader()->hide();
    m_overall->setObjectName(QStringLiteral("siteVerdict"));
    m_overall->setWordWrap(true);
    QFont bold = m_overall->font();
    bold.setBold(true);
    m_overall->setFont(bold);
    m_levelsShown->setObjectName(QStringLiteral("levelsShown"));
    m_levelsShown->setWordWrap(true);
    rl->addWidget(m_state);
    rl->addWidget(m_verdict, 1);
    rl->addWidget(m_overall);
    rl->addWidget(m_levelsShown);

    auto* side = new QSplitter(Qt::Vertical);
    side->addWidget(m_tables);
    side->addWidget(results);
    side->setStretchFactor(0, 3);
    side->setStretchFactor(1, 2);
    auto* split = new QSplitter(Qt::Horizontal);
    split->addWidget(m_plan);
    split->addWidget(side);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    split->setSizes({620, 480});
    setCentralWidget(split);
    statusBar()->setSizeGripEnabled(false);

    buildToolBars();

    connect(&m_model, &SiteModel::changed, this, &SiteWindow::siteChanged);
    connect(&m_model, &SiteModel::modifiedChanged, this, &SiteWindow::updateTitle);
    connect(&m_computer, &SiteComputer::ready, this, &SiteWindow::showResult);
    connect(m_plan, &SitePlanView::selectionChanged, m_tables, &SiteTables::select);
    connect(m_tables, &SiteTables::selectionChanged, m_plan, &SitePlanView::select);
    connect(m_plan, &SitePlanView::said, this, &SiteWindow::say);
    connect(m_plan, &SitePlanView::buildingDrawn, this, &SiteWindow::buildingDrawn);
    connect(m_plan, &SitePlanView::sectionDrawn, this, &SiteWindow::showSection);
    connect(m_plan, &SitePlanView::pointerAt, this, [this](sphere::Point2 p) {
        statusBar()->showMessage(
            QStringLiteral("x = %1 m, y = %2 m")
                .arg(QString::number(p.x, 'f', 2), QString::number(p.y, 'f', 2)),
            3000);
    });
    connect(m_verdict, &QTableWidget::cellClicked, this,
            [this](int row, int) { m_plan->showBuilding(row); });
    auto heights = [this] {
        m_plan->setPlacingHeights(m_rodHeight->value(), m_conductorHeight->value(),
                                  m_wireHeight->value());
    };
    for (QDoubleSpinBox* box : {m_rodHeight, m_conductorHeight, m_wireHeight})
        connect(box, &QDoubleSpinBox::valueChanged, this, heights);
    heights();

    syncControls();
    updateTitle();
    siteChanged(true);
    resize(1100, 720);
    m_freshSite = site::serialize(m_model.site());
}

bool SiteWindow::showsNothingNew() const {
    return m_file.isEmpty() && m_model.levels().empty() &&
           site::serialize(m_model.site()) == m_freshSite;
}

SiteWindow::~SiteWindow() = default;

void SiteWindow::buildToolBars() {
    QToolBar* tools = addToolBar(QStringLiteral("工具"));
    tools->setObjectName(QStringLiteral("siteTools"));
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto act = [&](QToolBar* bar, const char* name, const QString& text, auto slot) {
        QAction* a = bar->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };

    QAction* undo = m_model.undoStack()->createUndoAction(this, QStringLiteral("撤销"));
    undo->setObjectName(QStringLiteral("actUndo"));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    undo->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    QAction* redo = m_model.undoStack()->createRedoAction(this, QStringLiteral("重做"));
    redo->setObjectName(QStringLiteral("actRedo"));
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    redo->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(undo);
    addAction(redo);

    // The tools of the plan, one at a time.
    auto* group = new QActionGroup(this);
    const struct {
        const char* name;
        const char* text;
        SiteTool tool;
    } toolList[] = {
        {"actSelect", "选择", SiteTool::Select},   {"actBuilding", "画建筑物", SiteTool::Building},
        {"actRod", "接闪杆", SiteTool::Rod},       {"actConductor", "接闪带", SiteTool::Conductor},
        {"actWire", "架空接闪线", SiteTool::Wire}, {"actSection", "剖面", SiteTool::Section}};
    for (const auto& t : toolList) {
        QAction* a = tools->addAction(QString::fromUtf8(t.text));
        a->setObjectName(QString::fromLatin1(t.name));
        a->setCheckable(true);
        a->setChecked(t.tool == SiteTool::Select);
        group->addAction(a);
        const SiteTool tool = t.tool;
        connect(a, &QAction::triggered, this, [this, tool] {
            m_plan->setTool(tool);
            static const QString hints[] = {
                QStringLiteral("点选对象；拖动可移动；Delete 删除"),
                QStringLiteral("依次点击角点，双击或按 Enter 闭合"),
                QStringLiteral("点击放置接闪杆：在屋面上高出屋面，在地面上高出地面"),
                QStringLiteral("依次点击各点（靠近屋角自动吸附），双击或按 Enter 结束"),
                QStringLiteral("点击两个支点"),
                QStringLiteral("点击剖面线的两端")};
            say(hints[int(tool)]);
        });
    }
    tools->addSeparator();
    act(tools, "actEdgeConductors", QStringLiteral("沿屋面边缘布置接闪带"),
        &SiteWindow::edgeConductors);
    tools->addSeparator();
    tools->addAction(undo);
    tools->addAction(redo);
    tools->addSeparator();
    act(tools, "actFit", QStringLiteral("全图"), [this] { m_plan->fit(); });
    act(tools, "actCompute", QStringLiteral("计算"), [this] {
        m_computer.advance();
        m_exact.reset();
        m_computer.request(m_model.state(), false, kDragStep);
        m_computer.request(m_model.state(), true, kDragStep);
        fillVerdict();
    });

    QToolBar* files = addToolBar(QStringLiteral("文件"));
    files->setObjectName(QStringLiteral("siteFiles"));
    files->setToolButtonStyle(Qt::ToolButtonTextOnly);
    act(files, "actImportDxf", QStringLiteral("导入 DXF…"), &SiteWindow::importDxf)
        ->setVisible(dxfImportAvailable());
    act(files, "actOpen", QStringLiteral("打开…"), &SiteWindow::open);
    act(files, "actSave", QStringLiteral("保存"), [this] { save(); });
    act(files, "actSaveAs", QStringLiteral("另存为…"), [this] { saveAs(); });
    act(files, "actExportDxf", QStringLiteral("导出 DXF…"),
        [this] { exportAs(QStringLiteral(".dxf"), QStringLiteral("DXF 图形 (*.dxf)")); });
    act(files, "actExportSvg", QStringLiteral("导出 SVG…"),
        [this] { exportAs(QStringLiteral(".svg"), QStringLiteral("SVG 图形 (*.svg)")); });
    act(files, "actExportPng", QStringLiteral("导出 PNG…"),
        [this] { exportAs(QStringLiteral(".png"), QStringLiteral("PNG 图片 (*.png)")); });
    m_addToSheet = act(files, "actAddToSheet", QStringLiteral("加入计算书"),
                       [this] { emit addToSheetRequested(); });
    m_addToSheet->setVisible(false);

    addToolBarBreak();
    QToolBar* values = addToolBar(QStringLiteral("参数"));
    values->setObjectName(QStringLiteral("siteValues"));
    values->addWidget(new QLabel(QStringLiteral(" 滚球半径 hr：")));
    m_hr->setObjectName(QStringLiteral("hrCategory"));
    for (const Category& c : kCategories) m_hr->addItem(QString::fromUtf8(c.text), c.hr);
    m_hr->addItem(QStringLiteral("自定义"), 0.0);
    values->addWidget(m_hr);
    m_hrCustom->setObjectName(QStringLiteral("hrCustom"));
    m_hrCustom->setMaximumWidth(70);
    m_hrCustom->setToolTip(QStringLiteral("自定义的滚球半径 (m)"));
    values->addWidget(m_hrCustom);
    values->addWidget(new QLabel(QStringLiteral(" m   校核高度：")));
    m_levels->setObjectName(QStringLiteral("levels"));
    m_levels->setPlaceholderText(QStringLiteral("如 10, 20 (m)"));
    m_levels->setMaximumWidth(120);
    values->addWidget(m_levels);
    values->addWidget(new QLabel(QStringLiteral("  杆高：")));
    values->addWidget(m_rodHeight);
    values->addWidget(new QLabel(QStringLiteral(" 带高：")));
    values->addWidget(m_conductorHeight);
    values->addWidget(new QLabel(QStringLiteral(" 线高：")));
    values->addWidget(m_wireHeight);
    m_rodHeight->setToolTip(QStringLiteral("接闪杆高出屋面（或地面）的高度"));
    m_conductorHeight->setToolTip(QStringLiteral("接闪带高出屋面（或地面）的高度"));
    m_wireHeight->setToolTip(QStringLiteral("架空接闪线支点高出屋面（或地面）的高度"));

    connect(m_hr, &QComboBox::activated, this, &SiteWindow::hrChosen);
    connect(m_hrCustom, &QLineEdit::editingFinished, this, &SiteWindow::hrChosen);
    connect(m_levels, &QLineEdit::editingFinished, this, &SiteWindow::levelsTyped);
}

void SiteWindow::setAddToSheetAvailable(bool available) {
    m_addToSheet->setVisible(available);
}

QString SiteWindow::setSite(const sphere::Site& site) {
    QString why = m_model.reset(SiteState{site, m_model.levels()});
    if (why.isEmpty()) m_plan->fit();
    return why;
}

QString SiteWindow::restore(const sphere::Site& site, const std::vector<double>& levels,
                            const QString& file) {
    if (QString why = m_model.reset(SiteState{site, levels}); !why.isEmpty()) return why;
    m_file = file;
    if (!file.isEmpty()) {
        bool same = false;
        try {
            same = site::serialize(site::load(fsPath(file))) == site::serialize(site);
        } catch (const site::SiteError&) {
            // Gone or damaged: the window holds what the file should.
        }
        if (!same) m_model.markModified();
    }
    m_plan->fit();
    updateTitle();
    return {};
}

QString SiteWindow::setLevels(const std::vector<double>& levels) {
    return m_model.reset(SiteState{m_model.site(), levels});
}

// --- The site changed: the controls follow, the results are asked for again ---

void SiteWindow::siteChanged(bool final) {
    syncControls();
    m_computer.advance();
    m_exact.reset();
    // While dragging, only the coarse map; then the exact check as well.
    m_computer.request(m_model.state(), false, kDragStep);
    if (final) m_computer.request(m_model.state(), true, kDragStep);
    fillVerdict();
    updateTitle();
    emit changed();
}

void SiteWindow::syncControls() {
    const double hr = m_model.site().hr;
    int index = m_hr->count() - 1;
    for (int i = 0; i < m_hr->count() - 1; ++i)
        if (m_hr->itemData(i).toDouble() == hr) index = i;
    m_hr->setCurrentIndex(index);
    m_hrCustom->setText(numberShown(hr));
    m_hrCustom->setEnabled(index == m_hr->count() - 1);
    QStringList levels;
    for (const double z : m_model.levels()) levels << numberShown(z);
    if (!m_levels->hasFocus() || m_levels->text().isEmpty())
        m_levels->setText(levels.join(QStringLiteral(", ")));
}

void SiteWindow::hrChosen() {
    const double chosen = m_hr->currentData().toDouble();
    double hr = chosen;
    if (chosen == 0) {
        m_hrCustom->setEnabled(true);
        const auto typed = forms::toDouble(m_hrCustom->text().trimmed().toStdString());
        if (!typed) {
            say(QStringLiteral("滚球半径应为数"));
            syncControls();
            return;
        }
        hr = *typed;
    }
    if (hr == m_model.site().hr) return syncControls();
    sphere::Site s = m_model.site();
    s.hr = hr;
    if (const QString why = m_model.apply(s, QStringLiteral("修改滚球半径")); !why.isEmpty()) {
        say(why);
        syncControls();
        if (chosen == 0) m_hr->setCurrentIndex(m_hr->count() - 1);
    }
}

void SiteWindow::levelsTyped() {
    std::vector<double> levels;
    QString text = m_levels->text();
    text.replace(QChar(0xFF0C), QLatin1Char(',')).replace(QChar(0x3001), QLatin1Char(','));
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (part.trimmed().isEmpty()) continue;
        const auto z = forms::toDouble(part.trimmed().toStdString());
        if (!z) {
            say(QStringLiteral("校核高度应写成以逗号分开的数，如 10, 20"));
            return;
        }
        levels.push_back(*z);
    }
    if (levels == m_model.levels()) return;
    if (const QString why =
            m_model.apply(SiteState{m_model.site(), levels}, QStringLiteral("修改校核高度"));
        !why.isEmpty())
        say(why);
}

// --- Results ---

void SiteWindow::showResult(const SiteResult& r) {
    if (!r.problem.isEmpty()) {
        m_state->setText(QStringLiteral("无法计算：%1").arg(r.problem));
        m_plan->clearResult();
        return;
    }
    m_plan->setResult(r);
    if (r.exact) {
        m_exact = r;
        fillVerdict();
        emit resultShown();
    } else if (!m_exact) {
        m_state->setText(m_computer.exactPending()
                             ? QStringLiteral("粗算（步长 %1 m，%2 s）已显示；正在精确计算…")
                                   .arg(numberShown(r.step), QString::number(r.seconds, 'f', 2))
                             : QStringLiteral("粗算（步长 %1 m）").arg(numberShown(r.step)));
    }
}

void SiteWindow::fillVerdict() {
    const sphere::Site& s = m_model.site();
    m_verdict->setRowCount(int(s.buildings.size()));
    auto put = [this](int row, int column, const QString& text, const QColor& colour = {}) {
        auto* item = new QTableWidgetItem(text);
        if (colour.isValid()) item->setForeground(colour);
        m_verdict->setItem(row, column, item);
    };
    const bool known = m_exact.has_value();
    int failed = 0;
    for (int i = 0; i < int(s.buildings.size()); ++i) {
        const sphere::Building& b = s.buildings[std::size_t(i)];
        put(i, 0, QString::fromStdString(b.name));
        put(i, 1, numberShown(b.roof));
        if (known && std::size_t(i) < m_exact->roofs.size()) {
            const sphere::RoofCheck& rc = m_exact->roofs[std::size_t(i)];
            const double d = rc.worst.s - rc.height;
            put(i, 2, QString::number(rc.uncoveredArea, 'f', 2));
            put(i, 3,
                QStringLiteral("(%1, %2) %3 m")
                    .arg(QString::number(rc.worst.at.x, 'f', 2),
                         QString::number(rc.worst.at.y, 'f', 2),
                         (d >= 0 ? QStringLiteral("+") : QString()) + QString::number(d, 'f', 3)));
            put(i, 4, rc.ok ? QStringLiteral("满足") : QStringLiteral("不满足"),
                rc.ok ? QColor(0, 120, 0) : QColor(200, 0, 0));
            failed += rc.ok ? 0 : 1;
        } else {
            for (int c = 2; c < 5; ++c) put(i, c, QStringLiteral("…"));
        }
    }
    if (!known) {
        m_verdictText.clear();
        m_overall->setText(QStringLiteral("结论：正在计算…"));
        m_overall->setStyleSheet({});
        m_levelsShown->clear();
        if (m_state->text().isEmpty() || !m_state->text().startsWith(QStringLiteral("粗算")))
            m_state->setText(QStringLiteral("正在计算…"));
        return;
    }
    m_state->setText(QStringLiteral("精确计算（滚球法，精确几何；%1 s）")
                         .arg(QString::number(m_exact->seconds, 'f', 2)));
    if (s.buildings.empty()) {
        m_verdictText.clear();
        m_overall->setText(QStringLiteral("结论：场地中没有建筑物，无屋面可校核"));
        m_overall->setStyleSheet({});
    } else if (failed == 0) {
        m_verdictText = QStringLiteral("满足");
        m_overall->setText(
            QStringLiteral("结论：%1 个屋面均在保护范围内，满足").arg(s.buildings.size()));
        m_overall->setStyleSheet(QStringLiteral("color: #007800"));
    } else {
        m_verdictText = QStringLiteral("不满足");
        m_overall->setText(QStringLiteral("结论：%1 个屋面中有 %2 个未完全保护，不满足")
                               .arg(s.buildings.size())
                               .arg(failed));
        m_overall->setStyleSheet(QStringLiteral("color: #c80000"));
    }
    QStringList levels;
    for (const sphere::LevelRegion& l : m_exact->levels)
        levels << QStringLiteral("h = %1 m：保护面积 %2 m²，未保护 %3 m²")
                      .arg(numberShown(l.z), QString::number(l.protectedArea, 'f', 1),
                           QString::number(l.uncoveredArea, 'f', 1));
    m_levelsShown->setText(levels.join(QLatin1Char('\n')));
}

// --- Drawing and placing ---

void SiteWindow::buildingDrawn(const std::vector<sphere::Point2>& corners) {
    bool ok = false;
    const double roof =
        QInputDialog::getDouble(this, QString::fromUtf8(kCaption), QStringLiteral("屋面高度 (m)："),
                                m_lastRoof, 0, 1000, 2, &ok);
    if (!ok) return;
    m_lastRoof = roof;
    sphere::Site s = m_model.site();
    s.buildings.push_back(
        {QStringLiteral("建筑 %1").arg(s.buildings.size() + 1).toStdString(), corners, 0, roof});
    if (const QString why = m_model.apply(s, QStringLiteral("画建筑物")); !why.isEmpty())
        say(why);
    else
        m_plan->select(SiteRef{SiteKind::Building, int(s.buildings.size()) - 1});
}

void SiteWindow::edgeConductors() {
    const auto sel = m_plan->selection();
    if (!sel || sel->kind != SiteKind::Building) {
        say(QStringLiteral("请先选择一座建筑物"));
        return;
    }
    sphere::Site s = m_model.site();
    const sphere::Building& b = s.buildings[std::size_t(sel->index)];
    const double z = b.roof + m_conductorHeight->value();
    const auto& o = b.outline;
    for (std::size_t k = 0; k < o.size(); ++k) {
        const auto a = o[k], c = o[(k + 1) % o.size()];
        s.conductors.push_back({{a.x, a.y, z}, {c.x, c.y, z}});
    }
    if (const QString why = m_model.apply(s, QStringLiteral("沿屋面边缘布置接闪带"));
        !why.isEmpty())
        say(why);
    else
        say(QStringLiteral("已沿 %1 的屋面边缘布置 %2 段接闪带")
                .arg(QString::fromStdString(b.name))
                .arg(o.size()));
}

void SiteWindow::showSection(sphere::Point2 a, sphere::Point2 b) {
    auto* dialog = new SiteSectionDialog(m_model.site(), a, b, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

// --- Files ---

QString SiteWindow::folder() const {
    return QSettings().value(kFolderKey).toString();
}

void SiteWindow::rememberFolder(const QString& file) {
    QSettings().setValue(kFolderKey, QFileInfo(file).absolutePath());
}

void SiteWindow::updateTitle() {
    const QString name =
        m_file.isEmpty() ? QString() : QStringLiteral(" - ") + QFileInfo(m_file).fileName();
    setWindowTitle(QString::fromUtf8(kCaption) + name + QStringLiteral("[*]"));
    setWindowModified(m_model.isModified());
}

void SiteWindow::say(const QString& text) {
    statusBar()->showMessage(text, 8000);
}

bool SiteWindow::settleChanges() {
    if (!m_model.isModified()) return true;
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(kCaption),
                    QStringLiteral("保存对场地的修改吗？"),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.button(QMessageBox::Save)->setText(QStringLiteral("保存"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("不保存"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("取消"));
    const int answer = box.exec();
    if (answer == QMessageBox::Save) return save();
    return answer == QMessageBox::Discard;
}

bool SiteWindow::openFile(const QString& file) {
    sphere::Site site;
    try {
        site = site::load(fsPath(file));
    } catch (const site::SiteError& e) {
        QMessageBox::critical(this, QString::fromUtf8(kCaption), QString::fromUtf8(e.what()));
        return false;
    }
    m_model.reset(SiteState{site, m_model.levels()});
    m_file = QFileInfo(file).absoluteFilePath();
    rememberFolder(file);
    m_plan->fit();
    updateTitle();
    say(QStringLiteral("已打开 %1").arg(QDir::toNativeSeparators(m_file)));
    return true;
}

void SiteWindow::open() {
    if (!settleChanges()) return;
    const QString file =
        QFileDialog::getOpenFileName(this, QStringLiteral("打开场地文件"), folder(), kSiteFilter);
    if (!file.isEmpty()) openFile(file);
}

bool SiteWindow::saveTo(const QString& file) {
    if (const Result<> saved = site::save(m_model.site(), fsPath(file)); !saved) {
        QMessageBox::critical(this, QString::fromUtf8(kCaption),
                              QString::fromStdString(saved.why()));
        return false;
    }
    m_file = QFileInfo(file).absoluteFilePath();
    rememberFolder(file);
    m_model.markClean();
    updateTitle();
    say(QStringLiteral("已保存 %1").arg(QDir::toNativeSeparators(m_file)));
    return true;
}

bool SiteWindow::save() {
    return m_file.isEmpty() ? saveAs() : saveTo(m_file);
}

bool SiteWindow::saveAs() {
    const QString start = m_file.isEmpty() ? folder() : m_file;
    QString file =
        QFileDialog::getSaveFileName(this, QStringLiteral("保存场地文件"), start, kSiteFilter);
    if (file.isEmpty()) return false;
    return saveTo(withSuffix(file, QString::fromLatin1(site::kExtension)));
}

void SiteWindow::importDxf() {
    SiteDxfDialog dialog(m_model.site().hr, folder(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    rememberFolder(dialog.file());
    sphere::Site s = m_model.site();
    const sphere::Site found = dialog.site();
    for (const sphere::Building& b : found.buildings) s.buildings.push_back(b);
    if (const QString why = m_model.apply(s, QStringLiteral("导入 DXF")); !why.isEmpty()) {
        say(why);
        return;
    }
    m_plan->fit();
    say(QStringLiteral("已从 %1 导入 %2 座建筑物")
            .arg(QFileInfo(dialog.file()).fileName())
            .arg(found.buildings.size()));
}

Result<> SiteWindow::exportTo(const QString& file) {
    if (!m_exact) return Failure{"计算尚未完成，请待结论显示后再导出"};
    const QString lower = file.toLower();
    if (lower.endsWith(QStringLiteral(".png"))) {
        // The plan as the window shows it, fitted into a large picture.
        QImage image(2400, 1700, QImage::Format_RGB32);
        image.setDotsPerMeterX(11811), image.setDotsPerMeterY(11811);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            QFont f = font();
            f.setPixelSize(22);
            p.setFont(f);
            m_plan->paintFitted(p, image.size());
        }
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG")) return Failure{"无法生成 PNG 图片"};
        return drawing_qt::writeWhole(file, bytes);
    }
    const QString title = m_file.isEmpty() ? QString::fromUtf8(kCaption)
                                           : QString::fromUtf8(kCaption) + QStringLiteral(" ") +
                                                 QFileInfo(m_file).completeBaseName();
    const drawing::Drawing d =
        drawing::sitePlan(m_model.site(), m_exact->levels, m_exact->roofs, title.toStdString());
    if (lower.endsWith(QStringLiteral(".dxf"))) return drawing_qt::exportDxf(d, file);
    if (lower.endsWith(QStringLiteral(".svg"))) return drawing_qt::exportSvg(d, file);
    return Failure{"不认识的文件类型"};
}

void SiteWindow::exportAs(const QString& suffix, const QString& filter) {
    if (!m_exact) {
        say(QStringLiteral("计算尚未完成，请待结论显示后再导出"));
        return;
    }
    QString start = folder();
    if (!m_file.isEmpty())
        start = QDir(folder()).filePath(QFileInfo(m_file).completeBaseName() + suffix);
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("导出"), start, filter);
    if (file.isEmpty()) return;
    const QString target = withSuffix(file, suffix);
    rememberFolder(target);
    if (const Result<> done = exportTo(target); !done) {
        QMessageBox::critical(
            this, QString::fromUtf8(kCaption),
            QStringLiteral("无法写入 %1：%2")
                .arg(QDir::toNativeSeparators(target), QString::fromStdString(done.why())));
        return;
    }
    say(QStringLiteral("已导出 %1").arg(QDir::toNativeSeparators(target)));
}

void SiteWindow::closeEvent(QCloseEvent* e) {
    if (!m_askOnClose || settleChanges())
        e->accept();
    else
        e->ignore();
}

}  // namespace tervalen::view
