// Draws the built-in receipt pictures: a 430 × 189 invitation to set a shop logo or QR code (top) and a
// 430 × 430 sample QR code with a line of text (bottom). The QR matrix comes from qrencode.
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPen>

#include <cstdio>

namespace {

QFont face(int pixels, bool bold) {
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QImage topPicture() {
    QImage image(430, 189, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 3, Qt::DashLine));
    painter.drawRoundedRect(QRectF(6, 6, 418, 177), 14, 14);
    painter.setFont(face(34, true));
    painter.drawText(QRect(0, 28, 430, 50), Qt::AlignCenter, QStringLiteral("店铺标志"));
    painter.setFont(face(22, false));
    painter.drawText(QRect(0, 84, 430, 32), Qt::AlignCenter, QStringLiteral("请在“打印设置”中选择"));
    painter.drawText(QRect(0, 118, 430, 32), Qt::AlignCenter, QStringLiteral("您的店铺标志或二维码图片"));
    return image;
}

QImage bottomPicture(const QImage& matrix) {
    QImage image(430, 430, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const int module = 320 / matrix.width();
    const int side = module * matrix.width();
    const int left = (430 - side) / 2;
    const int top = 40;
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    for (int y = 0; y < matrix.height(); ++y) {
        for (int x = 0; x < matrix.width(); ++x) {
            if (qGray(matrix.pixel(x, y)) < 128)
                painter.drawRect(left + x * module, top + y * module, module, module);
        }
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::black);
    painter.setFont(face(28, true));
    painter.drawText(QRect(0, top + side + 14, 430, 430 - top - side - 14), Qt::AlignHCenter | Qt::AlignTop,
                     QStringLiteral("扫码关注 下次点餐更优惠"));
    return image;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: receiptpictures QR-MATRIX.png TOP.png BOTTOM.png\n");
        return 2;
    }
    const QImage matrix(QString::fromLocal8Bit(argv[1]));
    if (matrix.isNull() || matrix.width() == 0) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const bool ok = topPicture().save(QString::fromLocal8Bit(argv[2]), "PNG") &&
                    bottomPicture(matrix).save(QString::fromLocal8Bit(argv[3]), "PNG");
    return ok ? 0 : 1;
}
