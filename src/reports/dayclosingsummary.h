#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

// The day's closing summary (日结): the figures of one day and their layout on a receipt.
namespace qm {

class ReceiptSurface;
struct ClosingRows;

// Orders of one kind: how many and what they took in.
struct ClosingGroup {
    QString name;
    int count = 0;
    double amount = 0;
};

struct ClosingDish {
    QString name;
    double quantity = 0;
    double amount = 0;
};

// One cashier's day: the orders they stored, and what the record of changes tells of them.
struct ClosingCashier {
    QString name;
    int orderCount = 0;
    double income = 0; // the sum of 实付 of the orders they stored
    int deletedCount = 0;
    double deletedSum = 0; // the 实付 the deleted orders had
    int changedCount = 0;  // settled orders changed
    double changedSum = 0; // the change of 实付 those changes made (less is negative)
    int reprintCount = 0;
    double reprintSum = 0; // the 实付 of the reprinted orders
    int drawerCount = 0;   // drawer openings without a sale
};

struct DayClosing {
    QDate day;
    QDateTime printedAt;
    int orderCount = 0;
    double income = 0;                  // the sum of 实付
    QList<ClosingGroup> byPayment;      // per payment method
    QList<ClosingGroup> byTicketHeader; // per ticket header: the ordering platform
    QList<ClosingGroup> byPlace; // 堂食, 外卖, and 未注明 when an order has neither table nor address
    int discountCount = 0;       // orders with a discount name and a discount amount
    double discountSum = 0;
    QList<ClosingDish> topDishes; // the ten best-selling dishes by quantity
    // Per till; empty when one till stored all the day's orders, as in a shop with one till.
    QList<ClosingGroup> byTill;
    // Per cashier (by the name an order or an event carries), ordered by income, largest first; empty
    // unless staff mode is on or an order of the day names who stored it.
    QList<ClosingCashier> byCashier;
};

// The names the summary gives to orders without the value.
inline const QString closingNoPayment = QStringLiteral("未选择");
inline const QString closingNoTicketHeader = QStringLiteral("无票头");
inline const QString closingDineIn = QStringLiteral("堂食");
inline const QString closingDelivery = QStringLiteral("外卖");
inline const QString closingNoPlace = QStringLiteral("未注明");
inline const QString closingNoTill = QStringLiteral("未注明收银机");
inline const QString closingNoCashier = QStringLiteral("未注明收银员");

// The period a day's summary covers, as the day report counts it: after the day's 0时0分0秒 up to and
// including the next day's, so an order stamped exactly at midnight belongs to the day before.
QDateTime closingStart(const QDate& day);
QDateTime closingEnd(const QDate& day);

// The figures of the rows. An order counts once, by its ID. Groups are ordered by amount, largest first
// (ties by name); dishes by quantity, then amount, then name. `staffMode`: the shop's staff sign in, so the
// cashiers are counted even on a day whose orders name nobody.
DayClosing computeDayClosing(const ClosingRows& rows, const QDate& day, const QDateTime& printedAt,
                             bool staffMode = false);

// Lays the summary out from y = 0 on the surface's width; returns the drawn height.
int drawDayClosing(ReceiptSurface& surface, const DayClosing& closing);

} // namespace qm
