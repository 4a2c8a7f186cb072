#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The kitchen slip: what one station must make for one order, in type a cook reads from a step away.
// No prices, no address, no telephone.
namespace qm {

class ReceiptSurface;

struct KitchenSlipLine {
    QString name;
    double quantity = 0;
    QString unit;
};

struct KitchenSlip {
    enum class Kind {
        New,     // the order as it was settled
        Change,  // what a change of the order added ("加菜") and took away ("退菜")
        Reprint, // the order sent again ("重打")
    };
    Kind kind = Kind::New;
    QString station;
    QString orderNumber;
    QString place;    // the table, or "外卖"
    QString time;     // the order time, "HH:mm"
    QString sentTime; // a change or reprint: when it was sent, "HH:mm"
    QString ticketHeader;
    QString note;
    QList<KitchenSlipLine> added;   // the lines to make: every line of a new or reprinted order
    QList<KitchenSlipLine> removed; // a change: the lines not to make any more
};

inline const QString takeAwayPlace = QStringLiteral("外卖");
inline const QString addedHeading = QStringLiteral("加菜");
inline const QString removedHeading = QStringLiteral("退菜");
inline const QString reprintHeading = QStringLiteral("重打");

// The words that mark a slip that is not a new order ("加菜", "退菜", "加菜 退菜", "重打"); empty for a
// new order.
QString slipBanner(const KitchenSlip& slip);

// "2份", "1.5碗": a line's quantity and unit.
QString slipQuantity(const KitchenSlipLine& line);

// Lays the slip out from y = 0; returns the drawn height.
int drawKitchenSlip(ReceiptSurface& surface, const KitchenSlip& slip);

// The layout width (0.1 mm) of a slip on a roll `paperWidthMm` wide: the printer's whole dot width.
int slipPrintWidth(int paperWidthMm);

// The slip as one ESC/POS job (raster, feed, cut) for a roll `paperWidthMm` wide; empty when it cannot
// be drawn.
QByteArray kitchenSlipJob(const KitchenSlip& slip, int paperWidthMm);

} // namespace qm
