#include "view/site_dxf_dialog.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <filesystem>

#ifdef TERVALEN_DXF_IMPORT
#include "site/dxf_import.h"
#include "view/fs_path.h"
#endif

namespace tervalen::view {
namespace {

// The units a plan without a stated one may be in: metres per drawing unit.
struct Unit {
    const char* text;
    double metres;
};
constexpr Unit kUnits[] = {{"毫米 (mm)", 0.001}, {"厘米 (cm)", 0.01}, {"米 (m)", 1}};

}  // namespace

bool dxfImportAvailable() {
#ifdef TERVALEN_DXF_IMPORT
    return true;
#else
    return false;
#endif
}

SiteDxfDialog::SiteDxfDialog(double hr, const QString& folder, QWidget* parent)
    : QDialog(parent),
      m_hr(hr),
      m_folder(folder),
      m_fileShown(new QLabel),
      m_layers(new QListWidget),
      m_unitsShown(new QLabel),
      m_units(new QComboBox),
      m_roof(new QDoubleSpinBox),
      m_fromElevation(new QCheckBox(QStringLiteral("有标高/厚度的多段线按其读取屋面高度"))),
      m_found(new QLabel),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel)) {
    setObjectName(QStringLiteral("siteDxfImport"));
    setWindowTitle(QStringLiteral("导入 DXF"));
    auto* form = new QFormLayout;
    auto* fileRow = new QHBoxLayout;
    auto* browse = new QPushButton(QStringLiteral("浏览…"));
    browse->setObjectName(QStringLiteral("browse"));
    fileRow->addWidget(m_fileShown, 1);
    fileRow->addWidget(browse);
    form->addRow(QStringLiteral("文件："), fileRow);
    m_layers->setObjectName(QStringLiteral("dxfLayers"));
    form->addRow(QStringLiteral("读取的图层："), m_layers);
    auto* unitRow = new QHBoxLayout;
    m_units->setObjectName(QStringLiteral("dxfUnits"));
    for (const Unit& u : kUnits) m_units->addItem(QString::fromUtf8(u.text), u.metres);
    unitRow->addWidget(m_unitsShown);
    unitRow->addWidget(m_units, 1);
    form->addRow(QStringLiteral("图形单位："), unitRow);
    m_roof->setObjectName(QStringLiteral("dxfRoof"));
    m_roof->setRange(0, 1000);
    m_roof->setDecimals(2);
    m_roof->setValue(20);
    m_roof->setSuffix(QStringLiteral(" m"));
    form->addRow(QStringLiteral("屋面高度："), m_roof);
    m_fromElevation->setChecked(true);
    form->addRow(QString(), m_fromElevation);
    m_found->setObjectName(QStringLiteral("dxfFound"));
    m_found->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_found);
    layout->addWidget(m_buttons);
    m_buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("导入"));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(false);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(browse, &QPushButton::clicked, this, &SiteDxfDialog::choose);
    connect(m_layers, &QListWidget::itemChanged, this, &SiteDxfDialog::reread);
    connect(m_units, &QComboBox::currentIndexChanged, this, &SiteDxfDialog::reread);
    resize(520, 460);
}

void SiteDxfDialog::choose() {
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("导入 DXF"), m_folder,
                                                      QStringLiteral("DXF 图形 (*.dxf)"));
    if (!file.isEmpty()) load(file);
}

std::vector<std::string> SiteDxfDialog::chosenLayers() const {
    std::vector<std::string> out;
    for (int i = 0; i < m_layers->count(); ++i)
        if (m_layers->item(i)->checkState() == Qt::Checked)
            out.push_back(m_layers->item(i)->text().toStdString());
    return out;
}

std::optional<double> SiteDxfDialog::chosenScale() const {
    if (m_fileHasUnits) return std::nullopt;
    return m_units->currentData().toDouble();
}

bool SiteDxfDialog::load(const QString& file) {
    m_file = file;
    m_fileShown->setText(QDir::toNativeSeparators(file));
    m_layers->clear();
    m_count = 0;
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(false);
#ifdef TERVALEN_DXF_IMPORT
    try {
        const site::DxfPlan plan = site::readDxf(fsPath(file));
        m_fileHasUnits = !plan.units.empty();
        m_unitsShown->setText(
            m_fileHasUnits ? QStringLiteral("文件中为 %1").arg(QString::fromStdString(plan.units))
                           : QStringLiteral("文件未注明，请选择："));
        m_units->setVisible(!m_fileHasUnits);
        {
            const QSignalBlocker block(m_layers);
            for (const std::string& layer : plan.layers) {
                auto* item = new QListWidgetItem(QString::fromStdString(layer), m_layers);
                item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
                item->setCheckState(Qt::Checked);
            }
        }
        reread();
        return true;
    } catch (const site::DxfError& e) {
        m_found->setText(QString::fromUtf8(e.what()));
        return false;
    }
#else
    m_found->setText(QStringLiteral("此版本不能读取 DXF 文件"));
    return false;
#endif
}

void SiteDxfDialog::reread() {
    m_count = 0;
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(false);
    if (m_file.isEmpty()) return;
#ifdef TERVALEN_DXF_IMPORT
    const auto layers = chosenLayers();
    if (layers.empty()) {
        m_found->setText(QStringLiteral("请至少选择一个图层"));
        return;
    }
    try {
        const site::DxfPlan plan = site::readDxf(fsPath(m_file), layers, chosenScale());
        m_count = int(plan.outlines.size());
        if (m_count == 0) {
            m_found->setText(QStringLiteral("所选图层中没有闭合的轮廓"));
            return;
        }
        double area = 0;
        int withHeight = 0;
        for (const auto& o : plan.outlines) {
            area += o.area;
            withHeight += o.elevation || o.thickness ? 1 : 0;
        }
        QString text = QStringLiteral("找到 %1 个闭合轮廓，共 %2 m²")
                           .arg(m_count)
                           .arg(QString::number(area, 'f', 1));
        if (withHeight > 0) text += QStringLiteral("；其中 %1 个有标高/厚度").arg(withHeight);
        m_found->setText(text);
        m_buttons->button(QDialogButtonBox::Ok)->setEnabled(true);
    } catch (const site::DxfError& e) {
        m_found->setText(QString::fromUtf8(e.what()));
    }
#endif
}

sphere::Site SiteDxfDialog::site() const {
#ifdef TERVALEN_DXF_IMPORT
    try {
        const site::DxfPlan plan = site::readDxf(fsPath(m_file), chosenLayers(), chosenScale());
        return site::siteOf(plan, m_hr, m_roof->value(), m_fromElevation->isChecked());
    } catch (const site::DxfError&) {
        return {};
    }
#else
    return {};
#endif
}

}  // namespace tervalen::view
