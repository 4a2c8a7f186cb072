#pragma once

#include "receipt/receiptsurface.h"

#include <QFont>
#include <QFontMetricsF>

class QPainter;
class QPaintDevice;

namespace qm {

// A receipt surface on a Qt paint device: the preview board (one unit = one pixel at 96 dpi) or a printer
// page (one unit = 0.1 mm). Without a painter it only measures, which gives a page its length before
// anything is printed.
class PainterSurface : public ReceiptSurface {
public:
    // `device` gives the font metrics; `devicePerUnit` is the number of device pixels per surface unit
    // (1 on the preview board and on a 254 dpi printer). `painter`, when given, is active on `device`.
    PainterSurface(QPaintDevice* device, QPainter* painter, int width, Kind kind, double devicePerUnit = 1.0);

    int width() const override { return m_width; }
    Kind kind() const override { return m_kind; }
    void setFont(int points, bool bold) override;
    int textWidth(const QString& text) const override;
    int textHeight(const QString& text) const override;
    void drawText(int x, int y, const QString& text) override;
    QSize pictureSize(const QImage& picture) const override;
    void drawPicture(const QImage& picture, int x, int y, int w, int h) override;

protected:
    QPainter* painter() const { return m_painter; }
    // Device pixels per surface unit.
    double scale() const { return m_scale; }

private:
    QPaintDevice* m_device;
    QPainter* m_painter;
    int m_width;
    Kind m_kind;
    double m_scale;
    QFont m_font;                    // measured on the device
    QFontMetricsF m_metrics{m_font}; // m_font's on the device, made once per font
    QFont m_drawFont;                // set on the painter, whose transform maps units to device pixels
    double m_ascent = 0;
    double m_boldOffset = 0; // a second pass this far right stands in for a missing bold face
};

} // namespace qm
