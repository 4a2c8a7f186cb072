#pragma once

#include <QByteArray>

class QImage;

// The ESC/POS commands the direct printers are driven with. A receipt travels as one picture: every
// character prints whatever fonts the printer has, and the layout is the one the preview shows.
namespace qm::escpos {

// Rows of one GS v 0 band: cheap printers overrun their buffer on larger bands.
inline constexpr int maxBandRows = 255;

// ESC @: forget earlier modes (left alignment, line spacing) before a job.
QByteArray initialize();
// Blank rows in a run at least this long travel in a narrow band of their own.
inline constexpr int minBlankRows = 4;

// GS v 0 bands of a 1-bit image (index 1 of the colour table prints black), top to bottom, the leftmost
// dot of a byte in its highest bit. A band is only as wide as its rightmost black dot needs, and the gaps
// between lines go as bands one byte wide: the job stays small, and a narrow band prints at the left
// edge like the full-width one.
QByteArray raster(const QImage& mono);
// ESC d 4 (feed the last rows past the cutter), then GS V 1 (partial cut).
QByteArray feedAndCut();
// ESC p 0 25 250: a 50 ms pulse on drawer pin 2, then 500 ms rest.
QByteArray drawerKick();

// One receipt as one job: initialize, the raster, feed and cut.
QByteArray receiptJob(const QImage& mono);
// The drawer kick as a job of its own.
QByteArray drawerJob();

} // namespace qm::escpos
