#pragma once

#include <QImage>

#include <functional>

// Receipts drawn as 1-bit pictures for the printers we drive ourselves: the layout in its printer units
// (0.1 mm, W = the print width) scaled so that W spans the printer's dots, text thresholded so that
// every stroke keeps a dot, pictures dithered.
namespace qm {

class ReceiptSurface;

// Dots across the printable width of a roll at 8 dots per mm: 384 for 58 mm, 576 for 80 mm.
int rasterDots(int paperWidthMm);

// The longest page drawn: 10 m of paper at 8 dots per mm.
inline constexpr int maxRasterRows = 80000;

// Draws one page with `draw` (which lays out from y = 0 and returns the height) on a picture `dots` wide
// and as tall as the page. Format_Mono; index 1 of the colour table is black. A null image when the page
// is longer than maxRasterRows (or no memory is left for it).
QImage drawRaster(const std::function<int(ReceiptSurface&)>& draw, int printWidth, int dots);

// The picture scaled to `size` over white and dithered (Floyd–Steinberg) to pure black and white.
QImage ditherPicture(const QImage& picture, QSize size);

} // namespace qm
