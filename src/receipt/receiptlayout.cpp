#include "receipt/receiptlayout.h"

#include "core/numtext.h"
#include "receipt/linewrap.h"
#include "receipt/receiptcontent.h"
#include "receipt/receiptsettings.h"
#include "receipt/receiptsurface.h"

#include <QImage>
#include <QStringList>

#include <algorithm>

namespace qm {

namespace {

const QString lineBreak = QStringLiteral("\r\n");
// The gap below every line of text.
constexpr int lineGap = 6;
// The room kept free at the right of centred, right-aligned and three-column lines.
constexpr int rightRoom = 10;

// Truncated toward zero, as every coordinate and count of the layout.
int truncated(double value) {
    return int(value);
}

// Draws the lines from top to bottom, advancing the running position y.
class Layout {
public:
    explicit Layout(ReceiptSurface& surface)
        : m_surface(surface)
        , m_width(surface.width()) {}

    int y() const { return m_y; }

    void centred(const QString& text, const QString& fill, ElementStyle style) {
        setFont(style);
        const int room = m_width - rightRoom;
        const int free = room - m_surface.textWidth(text);
        const int fillWidth = m_surface.textWidth(fill);
        const int count = fillWidth > 0 ? truncated(double(free) / fillWidth / 2) : 0;
        const QString filler = count > 0 ? fill.repeated(count) : QString();
        draw(0, filler);
        draw(free / 2, text);
        draw(room - m_surface.textWidth(filler), filler);
        m_y += m_surface.textHeight(text + QStringLiteral("1")) + lineGap;
    }

    void rightAligned(const QString& text, ElementStyle style) {
        setFont(style);
        draw(m_width - rightRoom - m_surface.textWidth(text), text);
        m_y += m_surface.textHeight(text) + lineGap;
    }

    void rule() {
        setFont({9, false});
        const int dash = m_surface.textWidth(QStringLiteral("-"));
        const bool preview = m_surface.kind() == ReceiptSurface::Kind::Preview;
        const int count = dash > 0 ? (preview ? m_width - 5 : m_width) / dash : 0;
        const QString rule = QStringLiteral("-").repeated(std::max(0, count));
        draw(preview ? 0 : dash / 3, rule);
        m_y += m_surface.textHeight(rule + QStringLiteral("1")) + lineGap;
    }

    // Text wrapped to the columns of the line; one line with a fill text is centred instead.
    void wrapped(const QString& text, ElementStyle style, const QString& fill = {}) {
        setFont(style);
        const QStringList lines = fittedLines(text);
        if (lines.size() == 1 && lines.front().isEmpty())
            return;
        if (lines.size() == 1 && !fill.isEmpty()) {
            centred(lines.front(), fill, style);
            return;
        }
        const int advance = m_surface.textHeight(lines.front()) + lineGap;
        for (const QString& line : lines) {
            draw(0, line);
            m_y += advance;
        }
    }

    // Name at the left, the middle text right-aligned at three quarters, the right text at the right edge.
    // A name wider than half the line keeps a line of its own; a name wider than the whole line is wrapped
    // onto as many lines as it needs. The other two columns follow on the line below the name.
    void threeColumns(const QString& name, const QString& middle, const QString& right, ElementStyle style) {
        setFont(style);
        const int room = m_width - rightRoom;
        const int quarter = room / 4;
        const int advance = m_surface.textHeight(name) + lineGap;
        const int nameWidth = m_surface.textWidth(name);
        if (nameWidth > m_width) {
            for (const QString& line : fittedLines(name)) {
                draw(0, line);
                m_y += advance;
            }
        } else {
            draw(0, name);
            if (nameWidth > 2 * quarter)
                m_y += advance;
        }
        draw(3 * quarter - m_surface.textWidth(middle), middle);
        draw(room - m_surface.textWidth(right), right);
        m_y += advance;
    }

    // The picture scaled to the full width; no gap follows it.
    void picture(const QImage& image) {
        const QSize size = m_surface.pictureSize(image);
        if (size.width() <= 0 || size.height() <= 0)
            return;
        const double scale = double(m_width) / size.width();
        const int w = truncated(size.width() * scale);
        const int h = truncated(size.height() * scale);
        m_surface.drawPicture(image, w < m_width ? (m_width - w) / 2 : 0, m_y, w, h);
        m_y += h;
    }

private:
    // The text wrapped to the columns of the line. The column count comes from the width of "d", which
    // a wide character need not match exactly, so the count shrinks until every line fits as measured.
    QStringList fittedLines(const QString& text) const {
        const int columnWidth = m_surface.textWidth(QStringLiteral("d"));
        int columns = columnWidth > 0 ? m_width / columnWidth : m_width;
        for (;;) {
            const QStringList lines = wrapText(text, columns).split(lineBreak);
            const bool fits = std::all_of(lines.begin(), lines.end(), [this](const QString& line) {
                return m_surface.textWidth(line) <= m_width;
            });
            if (fits || columns <= 1)
                return lines;
            --columns;
        }
    }

    void setFont(ElementStyle style) { m_surface.setFont(style.size, style.bold); }
    void draw(int x, const QString& text) {
        if (!text.isEmpty())
            m_surface.drawText(x, m_y, text);
    }

    ReceiptSurface& m_surface;
    const int m_width;
    int m_y = 0;
};

bool isZeroText(const QString& text) {
    return isZero(textToNumber(text));
}

QString headingOf(const ReceiptContent& content) {
    QString heading = QStringLiteral(" #") + content.orderNumber + QStringLiteral(" ");
    if (!content.ticketHeader.isEmpty())
        heading += content.ticketHeader + QStringLiteral(" ");
    return heading;
}

} // namespace

int drawReceipt(ReceiptSurface& surface, const ReceiptSettings& settings, const ReceiptContent& content,
                const QImage* top, const QImage* bottom) {
    Layout layout(surface);
    const QString heading = headingOf(content);
    const QString star = QStringLiteral("*");
    const QString blank = QStringLiteral(" ");
    const QString dash = QStringLiteral("-");

    if (settings.topPicture && top && !top->isNull())
        layout.picture(*top);
    layout.centred(heading, star, settings.style(1));
    layout.centred(content.shopName, blank, settings.style(2));
    const ElementStyle extraStyle{9, settings.style(2).bold};
    if (settings.extra1.enabled)
        layout.wrapped(settings.extra1.text, extraStyle, blank);
    if (settings.extra2.enabled)
        layout.wrapped(settings.extra2.text, extraStyle, blank);

    const QString payment = trimBlanks(content.paymentMethod);
    if (payment.isEmpty() || content.paymentMethod == QStringLiteral("无"))
        layout.rule();
    else
        layout.centred(content.paymentMethod, dash, settings.style(3));
    layout.wrapped(QStringLiteral("[下单时间] ") + content.orderTime, settings.style(4));

    layout.rule();
    layout.threeColumns(QStringLiteral("菜名"), QStringLiteral("数量"), QStringLiteral("小计"),
                        settings.style(5));
    layout.rule();
    for (const OrderLine& line : content.lines) {
        if (!line.name.isEmpty())
            layout.threeColumns(line.name, line.quantity + line.unit, line.amount, settings.style(6));
    }
    if (!content.discountName.isEmpty() && !isZeroText(content.discountAmount)) {
        layout.centred(QStringLiteral("折扣 减免"), dash, settings.style(8));
        const QString count =
            isZeroText(content.discountCount) ? QString() : content.discountCount + QStringLiteral("份");
        layout.threeColumns(content.discountName, count, content.discountAmount, settings.style(9));
    }
    layout.rule();
    layout.rightAligned(QStringLiteral("合计 ￥") + content.total, settings.style(7));
    layout.rule();
    if (settings.style(10).size >= 1 && !isZeroText(content.paid)) {
        layout.rightAligned(QStringLiteral("已支付 ￥") + content.paid, settings.style(10));
        layout.rule();
    }

    const ElementStyle delivery = settings.style(11);
    layout.wrapped(content.tableName, delivery);
    const QString name = trimBlanks(content.customerName);
    const QString telephone = trimBlanks(content.telephone);
    layout.wrapped(name.isEmpty() ? telephone : name + QStringLiteral("  ") + telephone, delivery);
    layout.wrapped(content.address, delivery);
    if (!content.note.isEmpty())
        layout.wrapped(QStringLiteral(" ") + lineBreak + content.note, delivery);

    layout.centred(QStringLiteral("     "), blank, settings.style(2));
    layout.centred(heading, star, settings.style(1));
    if (settings.bottomPicture && bottom && !bottom->isNull())
        layout.picture(*bottom);
    return layout.y();
}

} // namespace qm
