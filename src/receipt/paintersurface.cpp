#include "receipt/paintersurface.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace qm {

namespace {

// A size the settings cannot produce (a short stored list gives 0) falls back to the default size, as
// a font request without a height does.
constexpr int defaultPoints = 9;
// Pictures without a resolution of their own count as screen pictures.
constexpr double defaultDotsPerMeter = 96 / 0.0254;

// Whether the face has a bold style of its own. Without one the screen thickens the strokes itself, while
// a printed page (Qt's PDF output, which CUPS prints) would show the regular weight.
bool hasBoldStyle(const QString& family) {
    const QStringList styles = QFontDatabase::styles(family);
    return std::any_of(styles.begin(), styles.end(), [&family](const QString& style) {
        return QFontDatabase::weight(family, style) >= QFont::DemiBold;
    });
}

} // namespace

PainterSurface::PainterSurface(QPaintDevice* device, QPainter* painter, int width, Kind kind,
                               double devicePerUnit)
    : m_device(device)
    , m_painter(painter)
    , m_width(width)
    , m_kind(kind)
    , m_scale(devicePerUnit) {
    if (m_painter) {
        m_painter->setPen(Qt::black);
        m_painter->setRenderHint(QPainter::SmoothPixmapTransform);
        m_painter->setRenderHint(QPainter::TextAntialiasing);
        if (m_scale != 1.0)
            m_painter->scale(m_scale, m_scale);
    }
    setFont(defaultPoints, false);
}

void PainterSurface::setFont(int points, bool bold) {
    const int size = points > 0 ? points : defaultPoints;
    m_font = QFont(QStringLiteral("宋体"));
    m_font.setPointSize(size);
    m_font.setBold(bold);
    m_drawFont = m_font;
    m_drawFont.setPointSizeF(size / m_scale);
    m_metrics = QFontMetricsF(m_font, m_device);
    const QFontMetricsF& metrics = m_metrics;
    m_ascent = metrics.ascent() / m_scale;
    m_boldOffset = 0;
    if (bold && m_kind == Kind::Printer && !hasBoldStyle(QFontInfo(m_font).family()))
        m_boldOffset = std::max(1.0, metrics.height() / m_scale / 24);
    if (m_painter)
        m_painter->setFont(m_drawFont);
}

int PainterSurface::textWidth(const QString& text) const {
    return int(std::lround(m_metrics.horizontalAdvance(text) / m_scale));
}

int PainterSurface::textHeight(const QString&) const {
    return int(std::lround(m_metrics.height() / m_scale));
}

void PainterSurface::drawText(int x, int y, const QString& text) {
    if (!m_painter)
        return;
    m_painter->drawText(QPointF(x, y + m_ascent), text);
    if (m_boldOffset > 0)
        m_painter->drawText(QPointF(x + m_boldOffset, y + m_ascent), text);
}

QSize PainterSurface::pictureSize(const QImage& picture) const {
    if (m_kind == Kind::Preview)
        return picture.size();
    // Printer units are 0.1 mm.
    const double dotsPerMeter = picture.dotsPerMeterX() > 0 ? picture.dotsPerMeterX() : defaultDotsPerMeter;
    const double unitsPerDot = 10000.0 / dotsPerMeter;
    return QSize(int(picture.width() * unitsPerDot), int(picture.height() * unitsPerDot));
}

void PainterSurface::drawPicture(const QImage& picture, int x, int y, int w, int h) {
    if (m_painter)
        m_painter->drawImage(QRect(x, y, w, h), picture);
}

} // namespace qm
