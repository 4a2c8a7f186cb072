#include "order/settle.h"

#include "core/datetimetext.h"
#include "core/numtext.h"
#include "core/platform.h"
#include "order/orderform.h"
#include "staff/staffsession.h"
#include "store/database.h"
#include "store/settings.h"

#include <QRegularExpression>

namespace qm {

namespace {

std::optional<int> wholeNumber(const QString& text) {
    static const QRegularExpression digits(QStringLiteral(R"(^\d{1,9}$)"));
    const QString folded = trimBlanks(foldFullWidth(text));
    if (!digits.match(folded).hasMatch())
        return std::nullopt;
    return folded.toInt();
}

std::optional<qint64> orderId(const QString& text) {
    bool ok = false;
    const qint64 id = trimBlanks(text).toLongLong(&ok);
    if (!ok || id <= 0)
        return std::nullopt;
    return id;
}

} // namespace

PrepareResult prepareOrder(const OrderFormValues& v, int currentYear) {
    PrepareResult result;
    const std::optional<int> number = wholeNumber(v.orderNumber);
    if (!number) {
        result.error = QStringLiteral("编号“%1”不是整数。").arg(v.orderNumber);
        return result;
    }
    const std::optional<QDateTime> time = parseDisplayTime(v.orderTime, currentYear);
    if (!time) {
        result.error = QStringLiteral("下单时间“%1”无法识别。").arg(v.orderTime);
        return result;
    }

    const std::pair<const QString*, const char*> amounts[] = {
        {&v.discountAmount, "减免金额"}, {&v.toPay, "实付"}, {&v.total, "合计"}, {&v.paid, "已付"}};
    for (const auto& [text, name] : amounts) {
        if (!fitsRange(*text, amountLimit)) {
            result.error = outOfRangeMessage(QString::fromUtf8(name), amountLimit);
            return result;
        }
    }
    if (!fitsRange(v.discountCount, quantityLimit)) {
        result.error = outOfRangeMessage(QStringLiteral("减免份数"), quantityLimit);
        return result;
    }
    for (const OrderLine& line : v.lines) {
        if (trimBlanks(line.name).isEmpty())
            continue;
        for (const auto column : {OrderForm::QuantityColumn, OrderForm::AmountColumn}) {
            const QString refusal = OrderForm::cellRefusal(
                column, column == OrderForm::QuantityColumn ? line.quantity : line.amount);
            if (!refusal.isEmpty()) {
                result.error = refusal;
                return result;
            }
        }
    }

    PreparedOrder p;
    StoredOrder& o = p.order;
    o.number = *number;
    o.ticketHeader = v.ticketHeader;
    o.shopName = v.shopName;
    o.time = *time;
    o.discountName = v.discountName;
    o.discountCount = textToNumber(v.discountCount);
    o.discountAmount = textToNumber(v.discountAmount);
    o.total = textToNumber(v.total);
    o.paymentMethod = v.paymentMethod;
    o.paid = textToNumber(v.paid);
    o.toPay = textToNumber(v.toPay);
    o.tableName = v.tableName;
    o.telephone = v.telephone;
    o.customerName = v.customerName;
    o.address = v.address;
    o.settled = !isZero(o.toPay);
    o.note = v.note;
    for (const OrderLine& line : v.lines) {
        const QString name = trimBlanks(line.name);
        if (name.isEmpty())
            continue;
        p.lines.append({name, textToNumber(line.quantity), trimBlanks(line.unit), textToNumber(line.amount)});
    }
    result.prepared = std::move(p);
    return result;
}

std::optional<QDate> parseDateText(const QString& text) {
    static const QRegularExpression form(QStringLiteral(R"(^\s*(\d{1,4})年(\d{1,2})月(\d{1,2})日\s*$)"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

SettleCommands::SettleCommands(OrderForm& form, PrintReceipt print)
    : m_form(form)
    , m_print(std::move(print)) {}

void SettleCommands::tellFailure(const QString& reason, MessageIcon icon) {
    m_form.platform().showMessage(saveFailedPrefix + reason, icon);
}

SettleOutcome SettleCommands::settle() {
    if (!m_form.settleVisible())
        return SettleOutcome::Ignored;
    Platform& platform = m_form.platform();
    if (!m_form.hasLines()) {
        platform.showMessage(noLinesMessage, MessageIcon::Information, QStringLiteral("提示"));
        return SettleOutcome::NoLines;
    }
    m_form.completeTelephone();
    const OrderFormValues values = m_form.values();
    const bool modifying = m_form.isModifying();
    // A changed order belongs to its own year: a short time text (no year) is read in it, and an
    // unchanged text keeps the stored time to the second.
    const bool reopened = modifying && m_loadedTime;
    PrepareResult prepared =
        prepareOrder(values, reopened ? m_loadedTime->date().year() : platform.now().date().year());
    if (!prepared.prepared) {
        tellFailure(prepared.error, MessageIcon::Information);
        return SettleOutcome::Invalid;
    }
    PreparedOrder& p = *prepared.prepared;
    if (reopened && values.orderTime == m_loadedTimeText)
        p.order.time = *m_loadedTime;
    p.order.version = m_loadedVersion;

    if (modifying) {
        const std::optional<qint64> id = orderId(m_form.modifyingId());
        const QList<StoredLine> before =
            id && m_orderStored ? qm::loadOrderLines(m_form.database(), *id) : QList<StoredLine>();
        std::optional<AuditEvent> event;
        if (m_staff && m_staff->enabled() && id) {
            const std::optional<StoredOrder> old = loadOrder(m_form.database(), *id);
            const bool settled = old && old->settled;
            const std::optional<Authorisation> who =
                m_staff->authorise(settled ? Action::ChangeSettled : Action::TakeOrder);
            if (!who)
                return SettleOutcome::Invalid;
            event = m_staff->event(*who, settled ? auditSettledChanged : QStringLiteral("修改订单"));
        }
        const OrderWriteResult written =
            id ? changeOrder(m_form.database(), *id, p.order, p.lines, event)
               : OrderWriteResult{std::nullopt, QStringLiteral("存单ID“%1”无效").arg(m_form.modifyingId())};
        if (!written) {
            tellFailure(written.error, MessageIcon::Warning);
            return SettleOutcome::Failed;
        }
        m_lastStoredId = written.id;
        if (m_orderStored)
            m_orderStored(p.order, p.lines, before);
        if (platform.askYesNo(changedQuestion) && !m_print(false)) {
            storedNotPrinted();
            return SettleOutcome::StoredNotPrinted;
        }
        m_form.resetForm();
        return SettleOutcome::Completed;
    }

    std::optional<AuditEvent> discountEvent;
    if (m_staff && m_staff->enabled()) {
        if (m_staff->current())
            p.order.staffName = m_staff->current()->name;
        const double limit = textToNumber(RecordStore(m_form.database()).read(largeDiscountKey));
        if (limit > 0 && p.order.discountAmount > limit) {
            const std::optional<Authorisation> who = m_staff->authorise(Action::LargeDiscount);
            if (!who)
                return SettleOutcome::Invalid;
            discountEvent = m_staff->event(*who, QStringLiteral("超额减免"));
        }
    }
    const OrderWriteResult written =
        insertOrder(m_form.database(), p.order, p.lines,
                    m_form.numberProposed() ? OrderNumber::Proposed : OrderNumber::AsTyped, discountEvent);
    if (!written) {
        tellFailure(written.error, MessageIcon::Warning);
        return SettleOutcome::Failed;
    }
    m_lastStoredId = written.id;
    // The day already had the proposed number: the receipt shows the number the order was stored with.
    if (written.number != p.order.number) {
        m_form.setText(OrderField::OrderNumber, QString::number(written.number));
        p.order.number = written.number;
    }
    // Stored: until the form is printed or cleared, settling again would store it twice.
    m_form.setSettleVisible(false);
    if (m_orderStored)
        m_orderStored(p.order, p.lines, std::nullopt);
    if (!m_print(false)) {
        storedNotPrinted();
        return SettleOutcome::StoredNotPrinted;
    }
    if (m_cashSettled && trimBlanks(values.paymentMethod) == cashPaymentMethod)
        m_cashSettled();
    m_form.resetForm();
    return SettleOutcome::Completed;
}

bool SettleCommands::printOnly() {
    if (!m_form.hasLines()) {
        m_form.platform().showMessage(noLinesMessage, MessageIcon::Information, QStringLiteral("提示"));
        return false;
    }
    // A stored order printed again is a reprint: the record names it.
    std::optional<Authorisation> who;
    if (m_staff && m_staff->enabled() && m_form.isModifying() && !(who = m_staff->authorise(Action::Reprint)))
        return false;
    if (!m_print(true))
        return false;
    if (who) {
        std::optional<AuditEvent> event = m_staff->event(*who, auditReprint);
        event->orderId = orderId(m_form.modifyingId()).value_or(0);
        event->orderNumber = textToInt(m_form.text(OrderField::OrderNumber));
        m_form.database().transaction([&] { return appendAudit(m_form.database(), *event); });
    }
    m_form.setNotice(QString());
    return true;
}

void SettleCommands::storedNotPrinted() {
    // The order counts today already; the form keeps it (and its number) for F11.
    m_form.refreshTodayFigures();
    m_form.setNotice(storedNotPrintedNotice);
}

bool SettleCommands::clearForm() {
    if (!m_form.platform().askYesNo(clearQuestion))
        return false;
    m_form.resetForm();
    return true;
}

bool SettleCommands::openForChange(const QString& id, const QString& dateText) {
    m_form.resetForm();
    enterModifyMode(id);
    return loadOrderHeader(id) && loadOrderLines(id, dateText);
}

void SettleCommands::enterModifyMode(const QString& id) {
    m_loadedTime.reset();
    m_form.enterModifyMode(id);
}

bool SettleCommands::loadOrderHeader(const QString& id) {
    const std::optional<qint64> key = orderId(id);
    const std::optional<StoredOrder> stored = key ? loadOrder(m_form.database(), *key) : std::nullopt;
    if (!stored)
        return false;
    const StoredOrder& o = *stored;
    m_loadedVersion = o.version;
    m_form.setText(OrderField::OrderNumber, QString::number(o.number));
    m_form.selectItemText(OrderField::TicketHeader, o.ticketHeader);
    m_form.selectItemText(OrderField::ShopName, o.shopName);
    m_form.showOrderTime(o.time);
    if (o.time.isValid())
        m_loadedTime = o.time;
    m_loadedTimeText = m_form.text(OrderField::OrderTime);
    m_form.selectItemText(OrderField::DiscountName, o.discountName);
    m_form.setText(OrderField::DiscountCount, QString::number(qint64(o.discountCount)));
    m_form.setText(OrderField::DiscountAmount, doubleText(o.discountAmount));
    m_form.setText(OrderField::Total, singleText(o.total));
    m_form.selectItemText(OrderField::PaymentMethod, o.paymentMethod);
    m_form.setText(OrderField::Paid, singleText(o.paid));
    m_form.setText(OrderField::ToPay, singleText(o.toPay));
    m_form.selectItemText(OrderField::TableName, o.tableName);
    // The telephone fills name and address from the customer first; the order's own values follow.
    m_form.setText(OrderField::Telephone, o.telephone);
    m_form.setText(OrderField::CustomerName, o.customerName);
    m_form.setText(OrderField::Address, o.address);
    m_form.setText(OrderField::Note, o.note);
    return true;
}

bool SettleCommands::loadOrderLines(const QString& id, const QString& dateText) {
    const std::optional<qint64> key = orderId(id);
    if (!key)
        return false;
    QList<OrderLine> lines;
    for (const StoredLine& line : qm::loadOrderLines(m_form.database(), *key, parseDateText(dateText)))
        lines.append({line.name, singleText(line.quantity), line.unit, singleText(line.amount)});
    m_form.setLoadedLines(lines);
    return true;
}

} // namespace qm
