#pragma once
// The protection-range drawing on a QPainter (QtGui only): in the panel, on the
// calculation sheet, as PNG; and the three exports.

#include <QByteArray>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <QTransform>

#include "calc/common/result.h"
#include "drawing/model.h"

namespace tervalen::drawing_qt {

// Metres to the rectangle, 1:1 aspect, centred, the whole drawing with a small margin.
QTransform fitTransform(const drawing::Drawing& d, const QRectF& target);

// Paints every item through `toDevice` (metres to device pixels); lines are cosmetic
// pens, texts are upright at the size the drawing gives them. The construction layer
// (the formulas' circles and waists under the protected region's outline) only when
// asked for.
void paintDrawing(QPainter& p, const drawing::Drawing& d, const QTransform& toDevice,
                  bool construction = false);

// For the calculation sheet: paints the drawing at 1:N, `dotsPerMm` device pixels to a
// millimetre of paper, centred in `rect` above a line that states the scale
// (drawing::kScaleLineMm high).
void paintAtScale(QPainter& p, const drawing::Drawing& d, const QRectF& rect, int N,
                  double dotsPerMm);

// Paints the drawing into `rect` at the largest round scale 1:N at which it fits (the
// device's resolution gives millimetres), states the scale at the bottom of the
// rectangle, and returns N (0 for an empty drawing).
int paintToScale(QPainter& p, const drawing::Drawing& d, const QRectF& rect);

// The files, each written whole or not at all (writeWhole). A failure says why the file
// could not be written (one line, without its name); what was there is then kept.
Result<> exportDxf(const drawing::Drawing& d, const QString& path);
Result<> exportSvg(const drawing::Drawing& d, const QString& path);
Result<> exportPng(const drawing::Drawing& d, const QString& path, int longerSide = 2400);

// Writes the bytes to the file as a whole or not at all (files::writeAtomically).
Result<> writeWhole(const QString& path, const QByteArray& bytes);

}  // namespace tervalen::drawing_qt
