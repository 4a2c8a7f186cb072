#pragma once

#include "core/platform.h"
#include "order/orderformvalues.h"
#include "store/orderstore.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

// Settling the order form: storing a new order or the change of a reopened one, printing it, clearing the
// form, and taking a stored order back into the form for change.
namespace qm {

class OrderForm;
class StaffSession;

inline const QString noLinesMessage = QStringLiteral("无法完成，还没有选择任何菜品。");
inline const QString clearQuestion = QStringLiteral("是否清空点单数据？");
inline const QString changedQuestion = QStringLiteral("修改成功。是否打印小票？");
inline const QString saveFailedPrefix = QStringLiteral("订单保存失败：");
// The status line's word when an order is stored and its printing did not take place.
inline const QString storedNotPrintedNotice = QStringLiteral("已保存，未打印：按 F11 打印");
// The payment method that puts money in the drawer.
inline const QString cashPaymentMethod = QStringLiteral("现金支付");

// The form's values as they are stored.
struct PreparedOrder {
    StoredOrder order;
    QList<StoredLine> lines;
};

// The stored order, or the reason (naming the field) why the form cannot be stored.
struct PrepareResult {
    std::optional<PreparedOrder> prepared;
    QString error;
};

// Reads the form: the order number must be a whole number and the order time readable in one of the
// display forms (the short form takes `currentYear`); amounts are read as numbers, lines without a dish
// name are left out, the order counts as settled when the amount to pay is not zero.
PrepareResult prepareOrder(const OrderFormValues& values, int currentYear);

// "<year>年<month>月<day>日" as the order history shows a day; no value for any other text.
std::optional<QDate> parseDateText(const QString& text);

enum class SettleOutcome {
    Ignored,          // the order is stored and waits to be printed or cleared: settling again does nothing
    NoLines,          // the grid has no line
    Invalid,          // a field cannot be stored; the user was told which, the form is kept
    Failed,           // the database refused; the user was told why, the form is kept
    StoredNotPrinted, // stored, but printing did not take place: the form stays as it is
    Completed,        // stored, printed or printing declined, and the form reset for the next order
};

// The commands of the settle buttons and keys (F10, F11, F12) and the hand-off from the order history.
class SettleCommands {
public:
    // Prints the form's receipt: one copy, or the configured copies; true when printing took place.
    using PrintReceipt = std::function<bool(bool singleCopy)>;

    SettleCommands(OrderForm& form, PrintReceipt print);

    // Runs once a new order paid in cash is stored and its receipt printed (the drawer opens).
    void setCashSettled(std::function<void()> cashSettled) { m_cashSettled = std::move(cashSettled); }
    // Runs once an order is stored, before its receipt prints: the order and its lines as stored, and
    // for a change the lines it had before (the kitchen gets what was stored).
    using OrderStored = std::function<void(const StoredOrder& order, const QList<StoredLine>& lines,
                                           const std::optional<QList<StoredLine>>& before)>;
    void setOrderStored(OrderStored orderStored) { m_orderStored = std::move(orderStored); }

    // Staff mode: a new order names who stored it, a change of a settled order and a reprint of a stored
    // one need the permission and go into the record of changes. None: everything is allowed.
    void setStaff(StaffSession* staff) { m_staff = staff; }

    // F12: stores the new order (with its customer) or the change, then prints.
    SettleOutcome settle();
    // F11: prints one copy of the form without storing it. False when nothing was printed.
    bool printOnly();
    // F10: resets the form after asking. True when it was reset.
    bool clearForm();

    // The hand-off, in this order: reset the form, enter modify mode, load the header, load the lines.
    // True when the order was found and loaded.
    bool openForChange(const QString& id, const QString& dateText);
    void enterModifyMode(const QString& id);
    bool loadOrderHeader(const QString& id);
    // The order's lines into the grid as stored; `dateText` ("2026年3月14日") restricts them to that day,
    // an empty or unreadable date loads all of them.
    bool loadOrderLines(const QString& id, const QString& dateText);

    // The ID of the order the last successful settle stored, new or changed.
    std::optional<qint64> lastStoredId() const { return m_lastStoredId; }

private:
    // Tells the cashier the order is stored but not printed, and shows today's figures with it.
    void storedNotPrinted();
    void tellFailure(const QString& reason, MessageIcon icon);

    OrderForm& m_form;
    PrintReceipt m_print;
    std::function<void()> m_cashSettled;
    OrderStored m_orderStored;
    StaffSession* m_staff = nullptr;
    std::optional<qint64> m_lastStoredId;
    // The time of the order taken back for change, and the text the form shows for it.
    std::optional<QDateTime> m_loadedTime;
    QString m_loadedTimeText;
    int m_loadedVersion = 0; // 版本 of the order opened for change
};

} // namespace qm
