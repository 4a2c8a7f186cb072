#include "reports/dayclosingsummary.h"

#include "core/datetimetext.h"
#include "core/numtext.h"
#include "receipt/linewrap.h"
#include "receipt/receiptsurface.h"
#include "store/closingstore.h"
#include "store/staffstore.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace qm {

namespace {

// Adds one order to the group of `name`, keeping the groups in the order they were first seen.
void count(QList<ClosingGroup>& groups, QHash<QString, qsizetype>& index, const QString& name,
           double amount) {
    auto it = index.find(name);
    if (it == index.end()) {
        it = index.insert(name, groups.size());
        groups.append({name, 0, 0});
    }
    ClosingGroup& group = groups[*it];
    ++group.count;
    group.amount += amount;
}

void sortGroups(QList<ClosingGroup>& groups) {
    std::stable_sort(groups.begin(), groups.end(), [](const ClosingGroup& a, const ClosingGroup& b) {
        if (a.amount != b.amount)
            return a.amount > b.amount;
        return a.name < b.name;
    });
}

QString orNamed(const QString& text, const QString& fallback) {
    const QString trimmed = trimBlanks(text);
    return trimmed.isEmpty() ? fallback : trimmed;
}

bool hasDiscount(const ClosingOrderRow& order) {
    const QString name = trimBlanks(order.discountName);
    return !name.isEmpty() && name != QStringLiteral("无") && !isZero(order.discountAmount);
}

// The cashiers of the day: the orders each stored and the events the record names them in.
QList<ClosingCashier> countCashiers(const QList<const ClosingOrderRow*>& orders,
                                    const QList<ClosingEventRow>& events) {
    QList<ClosingCashier> cashiers;
    QHash<QString, qsizetype> index;
    auto cashier = [&](const QString& name) -> ClosingCashier& {
        const QString shown = orNamed(name, closingNoCashier);
        auto it = index.find(shown);
        if (it == index.end()) {
            it = index.insert(shown, cashiers.size());
            ClosingCashier added;
            added.name = shown;
            cashiers.append(added);
        }
        return cashiers[*it];
    };
    for (const ClosingOrderRow* order : orders) {
        ClosingCashier& c = cashier(order->staffName);
        ++c.orderCount;
        c.income += order->toPay;
    }
    for (const ClosingEventRow& event : events) {
        ClosingCashier& c = cashier(event.person);
        if (event.action == auditOrderDeleted) {
            ++c.deletedCount;
            c.deletedSum += event.amount;
        } else if (event.action == auditSettledChanged) {
            ++c.changedCount;
            c.changedSum += event.amount;
        } else if (event.action == auditReprint) {
            ++c.reprintCount;
            c.reprintSum += event.amount;
        } else if (event.action == auditDrawerOpened) {
            ++c.drawerCount;
        }
    }
    std::stable_sort(cashiers.begin(), cashiers.end(), [](const ClosingCashier& a, const ClosingCashier& b) {
        if (a.income != b.income)
            return a.income > b.income;
        return a.name < b.name;
    });
    return cashiers;
}

// The gap below every line, and the room kept free at the right edge, as on the receipts.
constexpr int lineGap = 6;
constexpr int rightRoom = 10;

class Lines {
public:
    explicit Lines(ReceiptSurface& surface)
        : m_surface(surface)
        , m_width(surface.width()) {}

    int y() const { return m_y; }

    void centred(const QString& text, int points, bool bold) {
        m_surface.setFont(points, bold);
        const int free = m_width - rightRoom - m_surface.textWidth(text);
        m_surface.drawText(std::max(0, free / 2), m_y, text);
        m_y += m_surface.textHeight(text) + lineGap;
    }

    // Text at the left, wrapped to the width of the line.
    void left(const QString& text, int points = 9, bool bold = false) {
        m_surface.setFont(points, bold);
        for (const QString& line : wrapped(text, m_width)) {
            m_surface.drawText(0, m_y, line);
            m_y += m_surface.textHeight(line) + lineGap;
        }
    }

    // A label and its value: on one line when both fit, else the value starts a line of its own, so that
    // a date or time is not broken inside a number ("11时48" / "分8秒").
    void labelled(const QString& label, const QString& value) {
        m_surface.setFont(9, false);
        if (wrapped(label + value, m_width).size() == 1) {
            left(label + value);
            return;
        }
        left(label);
        left(value);
    }

    void rule() {
        m_surface.setFont(9, false);
        const int dash = m_surface.textWidth(QStringLiteral("-"));
        const int dashes = dash > 0 ? m_width / dash : 0;
        const QString line = QStringLiteral("-").repeated(std::max(0, dashes));
        m_surface.drawText(0, m_y, line);
        m_y += m_surface.textHeight(line) + lineGap;
    }

    // Name at the left, the middle figure right-aligned at three quarters, the right figure at the right
    // edge; a name wider than half the line keeps a line of its own.
    void columns(const QString& name, const QString& middle, const QString& right, bool bold = false) {
        m_surface.setFont(9, bold);
        const int room = m_width - rightRoom;
        const int quarter = room / 4;
        const int advance = m_surface.textHeight(name + middle + right) + lineGap;
        const QStringList nameLines = wrapped(name, room);
        for (const QString& line : nameLines) {
            m_surface.drawText(0, m_y, line);
            if (&line != &nameLines.last() || m_surface.textWidth(line) > 2 * quarter)
                m_y += advance;
        }
        m_surface.drawText(3 * quarter - m_surface.textWidth(middle), m_y, middle);
        m_surface.drawText(room - m_surface.textWidth(right), m_y, right);
        m_y += advance;
    }

    void groups(const QString& heading, const QList<ClosingGroup>& groups) {
        columns(heading, QStringLiteral("单数"), QStringLiteral("金额"), true);
        for (const ClosingGroup& group : groups)
            columns(group.name, QString::number(group.count), doubleText(group.amount));
        if (groups.isEmpty())
            left(QStringLiteral("无"));
        rule();
    }

private:
    // The text broken into lines no wider than `width` at the current font.
    QStringList wrapped(const QString& text, int width) const {
        const int column = m_surface.textWidth(QStringLiteral("d"));
        const int columns = column > 0 ? width / column : width;
        return wrapText(text, std::max(1, columns)).split(QStringLiteral("\r\n"));
    }

    ReceiptSurface& m_surface;
    const int m_width;
    int m_y = 0;
};

} // namespace

QDateTime closingStart(const QDate& day) {
    return QDateTime(day, QTime(0, 0));
}

QDateTime closingEnd(const QDate& day) {
    return QDateTime(day.addDays(1), QTime(0, 0));
}

DayClosing computeDayClosing(const ClosingRows& rows, const QDate& day, const QDateTime& printedAt,
                             bool staffMode) {
    DayClosing closing;
    closing.day = day;
    closing.printedAt = printedAt;
    QHash<QString, qsizetype> payments;
    QHash<QString, qsizetype> headers;
    QHash<QString, qsizetype> places;
    QHash<QString, qsizetype> tills;
    QSet<qint64> seen;
    QList<const ClosingOrderRow*> counted;
    bool namesStaff = false;
    for (const ClosingOrderRow& order : rows.orders) {
        if (seen.contains(order.id))
            continue;
        seen.insert(order.id);
        counted.append(&order);
        namesStaff = namesStaff || !trimBlanks(order.staffName).isEmpty();
        ++closing.orderCount;
        closing.income += order.toPay;
        count(closing.byPayment, payments, orNamed(order.paymentMethod, closingNoPayment), order.toPay);
        count(closing.byTicketHeader, headers, orNamed(order.ticketHeader, closingNoTicketHeader),
              order.toPay);
        const QString place = !trimBlanks(order.address).isEmpty()     ? closingDelivery
                              : !trimBlanks(order.tableName).isEmpty() ? closingDineIn
                                                                       : closingNoPlace;
        count(closing.byPlace, places, place, order.toPay);
        count(closing.byTill, tills, orNamed(order.till, closingNoTill), order.toPay);
        if (hasDiscount(order)) {
            ++closing.discountCount;
            closing.discountSum += order.discountAmount;
        }
    }
    sortGroups(closing.byPayment);
    sortGroups(closing.byTicketHeader);
    sortGroups(closing.byPlace);
    sortGroups(closing.byTill);
    if (closing.byTill.size() < 2)
        closing.byTill.clear();
    if (staffMode || namesStaff)
        closing.byCashier = countCashiers(counted, rows.events);

    QHash<QString, qsizetype> dishIndex;
    QList<ClosingDish> dishes;
    for (const ClosingLineRow& line : rows.lines) {
        if (!seen.contains(line.orderId) || line.name.isEmpty())
            continue;
        auto it = dishIndex.find(line.name);
        if (it == dishIndex.end()) {
            it = dishIndex.insert(line.name, dishes.size());
            dishes.append({line.name, 0, 0});
        }
        dishes[*it].quantity += line.quantity;
        dishes[*it].amount += line.amount;
    }
    std::sort(dishes.begin(), dishes.end(), [](const ClosingDish& a, const ClosingDish& b) {
        if (a.quantity != b.quantity)
            return a.quantity > b.quantity;
        if (a.amount != b.amount)
            return a.amount > b.amount;
        return a.name < b.name;
    });
    closing.topDishes = dishes.mid(0, 10);
    return closing;
}

int drawDayClosing(ReceiptSurface& surface, const DayClosing& closing) {
    Lines lines(surface);
    lines.centred(QStringLiteral("日结单"), 12, true);
    lines.labelled(QStringLiteral("营业日期："), dateText(closing.day));
    lines.labelled(QStringLiteral("打印时间："), dateTimeText(closing.printedAt));
    lines.rule();
    lines.left(QStringLiteral("点单数量：") + QString::number(closing.orderCount), 12, true);
    lines.left(QStringLiteral("营业收入：￥") + doubleText(closing.income), 12, true);
    lines.rule();
    lines.groups(QStringLiteral("支付方式"), closing.byPayment);
    lines.groups(QStringLiteral("票头"), closing.byTicketHeader);
    lines.groups(QStringLiteral("堂食/外卖"), closing.byPlace);
    if (!closing.byTill.isEmpty())
        lines.groups(QStringLiteral("收银机"), closing.byTill);
    if (!closing.byCashier.isEmpty()) {
        lines.columns(QStringLiteral("收银员"), QStringLiteral("单数"), QStringLiteral("金额"), true);
        for (const ClosingCashier& c : closing.byCashier) {
            lines.columns(c.name, QString::number(c.orderCount), doubleText(c.income), true);
            lines.columns(QStringLiteral("  删除订单"), QString::number(c.deletedCount),
                          doubleText(c.deletedSum));
            lines.columns(QStringLiteral("  修改已结算"), QString::number(c.changedCount),
                          doubleText(c.changedSum));
            lines.columns(QStringLiteral("  重打小票"), QString::number(c.reprintCount),
                          doubleText(c.reprintSum));
            lines.columns(QStringLiteral("  无销售开钱箱"), QString::number(c.drawerCount), QString());
        }
        lines.rule();
    }
    lines.columns(QStringLiteral("减免"), QStringLiteral("单数"), QStringLiteral("金额"), true);
    lines.columns(QStringLiteral("减免合计"), QString::number(closing.discountCount),
                  doubleText(closing.discountSum));
    lines.rule();
    lines.columns(QStringLiteral("销量前十"), QStringLiteral("数量"), QStringLiteral("金额"), true);
    for (qsizetype i = 0; i < closing.topDishes.size(); ++i) {
        const ClosingDish& dish = closing.topDishes.at(i);
        lines.columns(QString::number(i + 1) + QStringLiteral(". ") + dish.name, doubleText(dish.quantity),
                      doubleText(dish.amount));
    }
    if (closing.topDishes.isEmpty())
        lines.left(QStringLiteral("无"));
    lines.rule();
    lines.centred(QStringLiteral("日结完毕"), 9, false);
    return lines.y();
}

} // namespace qm
