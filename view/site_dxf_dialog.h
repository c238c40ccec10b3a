#pragma once
// 导入 DXF…: the buildings of an architect's plan. The file is chosen, then the layers to
// read from the file's own layer list, the drawing unit when the file states none, and
// the roof height (typed, or read from a polyline's elevation and thickness where the
// file sets them). The dialog says how many closed outlines the choice finds, and that
// the file has none when so.

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QListWidget>
#include <optional>

#include "calc/sphere/site.h"

namespace tervalen::view {

// Whether this build reads DXF plans.
bool dxfImportAvailable();

class SiteDxfDialog : public QDialog {
    Q_OBJECT
public:
    SiteDxfDialog(double hr, const QString& folder, QWidget* parent = nullptr);

    // Reads the file (the layer list, the unit); false with the reason shown when it
    // cannot be read.
    bool load(const QString& file);
    QString file() const { return m_file; }
    // The buildings found with the choices made (the site's radius as given).
    sphere::Site site() const;
    int outlineCount() const { return m_count; }
    QListWidget* layers() const { return m_layers; }
    QComboBox* units() const { return m_units; }
    QDoubleSpinBox* roof() const { return m_roof; }

private:
    void choose();
    void reread();
    std::vector<std::string> chosenLayers() const;
    std::optional<double> chosenScale() const;

    double m_hr;
    QString m_folder, m_file;
    QLabel* m_fileShown;
    QListWidget* m_layers;
    QLabel* m_unitsShown;
    QComboBox* m_units;
    QDoubleSpinBox* m_roof;
    QCheckBox* m_fromElevation;
    QLabel* m_found;
    QDialogButtonBox* m_buttons;
    bool m_fileHasUnits = false;
    int m_count = 0;
};

}  // namespace tervalen::view
