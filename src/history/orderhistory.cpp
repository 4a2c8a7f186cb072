#include "history/orderhistory.h"

#include "core/datetimetext.h"
#include "core/numtext.h"
#include "staff/staffsession.h"
#include "store/database.h"
#include "store/orderstore.h"

namespace qm {

QStringList orderRowTexts(const QVariantList& row) {
    // The day is the stored text's date part: read directly, which costs far less than a whole date-time.
    const QString time = row.value(2).toString();
    const QDate day =
        time.size() >= 10 ? QDate::fromString(QStringView(time).left(10), Qt::ISODate) : QDate();
    return {
        QString::number(row.value(0).toLongLong()),
        row.value(1).isNull() ? QString() : QString::number(row.value(1).toLongLong()),
        day.isValid() ? dateText(day) : time,
        singleText(row.value(3).toDouble()),
        singleText(row.value(4).toDouble()),
        row.value(5).toString(),
        row.value(6).toString(),
        row.value(7).toString(),
        row.value(8).toString(),
        row.value(9).toString(),
        row.value(10).toString(),
    };
}

int orderRowVersion(const QVariantList& row) {
    return row.value(11).toInt();
}

QString orderCountText(qint64 count) {
    return QStringLiteral("共有数据:%1条").arg(count);
}

QString totalSumText(double sum) {
    return QStringLiteral("合计总额:") + wholeNumberText(sum);
}

QString paidSumText(double sum) {
    return QStringLiteral("实付总额:") + wholeNumberText(sum);
}

QString deleteQuestion(const QString& number, const QString& dateText) {
    return QStringLiteral("订单编号：%1\r\n订单时间：%2\r\n\r\n是否删除该订单？").arg(number, dateText);
}

OrderHistory::OrderHistory(Database& db, std::optional<QString> customerTelephone)
    : m_db(db)
    , m_table(db)
    , m_browser(m_table)
    , m_customerMode(customerTelephone.has_value()) {
    if (customerTelephone && !customerTelephone->isEmpty())
        showCustomer(*customerTelephone);
}

QString OrderHistory::caption() const {
    if (m_customerMode && filter().kind == OrderFilter::Kind::Customer)
        return filter().telephone + QStringLiteral(" 的历史订单");
    return QStringLiteral("历史订单");
}

bool OrderHistory::namesStaff(const StaffSession* staff) const {
    return (staff && staff->enabled()) || ordersNameStaff(m_db);
}

void OrderHistory::setFilter(const OrderFilter& filter, const QString& label) {
    m_table.setFilter(filter);
    m_label = label;
}

void OrderHistory::showAll() {
    setFilter({}, allOrdersLabel);
}

void OrderHistory::showTakeAway() {
    setFilter({OrderFilter::Kind::TakeAway, {}, {}, {}}, QStringLiteral("正在浏览外卖数据"));
}

void OrderHistory::showDineIn() {
    setFilter({OrderFilter::Kind::DineIn, {}, {}, {}}, QStringLiteral("正在浏览店内数据"));
}

bool OrderHistory::showCustomer(const QString& telephone) {
    if (telephone.isEmpty())
        return false;
    setFilter(OrderFilter::customer(telephone),
              customerLabelMark + QStringLiteral("：%1 的数据").arg(telephone));
    return true;
}

void OrderHistory::showDay(QDate day) {
    setFilter(OrderFilter::days(day, day), QStringLiteral("正在浏览：%1 的数据").arg(dateText(day)));
}

bool OrderHistory::showDays(QDate first, QDate last) {
    if (first > last)
        return false;
    setFilter(OrderFilter::days(first, last),
              QStringLiteral("正在浏览从：%1到%2 的数据").arg(dateText(first), dateText(last)));
    return true;
}

std::optional<QString> OrderHistory::deleteOrder(qint64 id, int seenVersion,
                                                 std::optional<AuditEvent> event) {
    const OrderWriteResult deleted = qm::deleteOrder(m_db, id, std::move(event), seenVersion);
    if (deleted)
        return std::nullopt;
    return deleted.error.isEmpty() ? QStringLiteral("数据库未能删除该订单。") : deleted.error;
}

} // namespace qm
