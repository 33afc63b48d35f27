#pragma once
// Drawing composed pages with QPainter (preview, printing, PDF, pictures).
//
//   renderPage(painter, store, index)
// The painter's coordinates must be hundredths of an inch with the origin at
// the top-left corner of the printable area (pageTransform() gives that for a
// device of a known resolution); fonts are sized for the device's resolution.
#include "pagemodel.h"

#include <QImage>
#include <QPainter>
#include <QTransform>

namespace tz::rep {

void renderPage(QPainter &p, const PageStore &store, int pageIndex, bool drawBackground = true);
// The transform from hundredths of an inch on the printable area to device
// pixels of the given resolution, for a device whose origin is the paper's
// corner.
QTransform pageTransform(const PageStore &store, double dotsPerInch);
// The whole paper (white) with the page drawn on it, at the given resolution.
QImage renderPageImage(const PageStore &store, int pageIndex, double dotsPerInch);

} // namespace tz::rep
