#pragma once

#include <QSize>
#include <QString>

class QImage;

// A surface a receipt is drawn on: the preview board (pixels) or a printer page (0.1 mm).
namespace qm {

class ReceiptSurface {
public:
    // The preview board counts pixels, the printer 0.1 mm. They also place the dashed rule differently:
    // the preview keeps it clear of the right edge, the printer indents it by a third of a dash.
    enum class Kind { Preview, Printer };

    virtual ~ReceiptSurface() = default;

    // The usable width of one receipt line.
    virtual int width() const = 0;
    virtual Kind kind() const = 0;
    // Every text below is drawn in the face "宋体" at this size in points, bold or regular.
    virtual void setFont(int points, bool bold) = 0;
    virtual int textWidth(const QString& text) const = 0;
    virtual int textHeight(const QString& text) const = 0;
    // Black text with its top-left corner at (x, y).
    virtual void drawText(int x, int y, const QString& text) = 0;
    virtual QSize pictureSize(const QImage& picture) const = 0;
    // The picture scaled into the rectangle.
    virtual void drawPicture(const QImage& picture, int x, int y, int w, int h) = 0;
};

} // namespace qm
