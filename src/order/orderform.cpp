#include "order/orderform.h"

#include "core/datetimetext.h"
#include "core/filllist.h"
#include "core/numtext.h"
#include "core/platform.h"
#include "store/database.h"
#include "store/settings.h"

#include <algorithm>

namespace qm {

namespace {

// The `记录` keys of the choices kept across restarts.
const QString timeFormatKey = QStringLiteral("时间格式");
const std::pair<OrderField, const char*> savedChoices[] = {
    {OrderField::TicketHeader, "票头"},       {OrderField::ShopName, "店铺名称"},
    {OrderField::DiscountName, "减免"},       {OrderField::DiscountCount, "减免份数"},
    {OrderField::DiscountAmount, "减免金额"}, {OrderField::PaymentMethod, "付款方式"},
};

std::optional<ChoiceSource> choiceSource(OrderField field) {
    switch (field) {
    case OrderField::TicketHeader:
        return ChoiceSource::TicketHeaders;
    case OrderField::ShopName:
        return ChoiceSource::ShopNames;
    case OrderField::DiscountName:
        return ChoiceSource::Discounts;
    case OrderField::TableName:
        return ChoiceSource::TableNames;
    default:
        return std::nullopt;
    }
}

// Four ASCII digits: too short to be anyone's telephone, so they may name a customer by its end.
bool isTelephoneTail(const QString& text) {
    return text.size() == 4 &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit() && c.unicode() < 128; });
}

} // namespace

QString ChoiceList::text() const {
    return current >= 0 && current < items.size() ? items[current] : QString();
}

const QStringList OrderForm::columnHeaders = {QStringLiteral("品名"), QStringLiteral("数量"),
                                              QStringLiteral("单位"), QStringLiteral("小计")};

OrderForm::OrderForm(Database& db, Platform& platform, int quantityDecimals, QObject* parent)
    : QObject(parent)
    , m_db(db)
    , m_platform(platform)
    , m_quantityDecimals(quantityDecimals)
    , m_today(platform.now().date())
    , m_lines(1) {
    m_choices[int(OrderField::PaymentMethod)].items = paymentMethods;
    m_texts[int(OrderField::DiscountAmount)] = QStringLiteral("10");
}

// --- Start-up, caches and settings ------------------------------------------------------------------

void OrderForm::fillChoiceList(OrderField field) {
    const std::optional<ChoiceSource> source = choiceSource(field);
    if (!source)
        return;
    std::optional<QStringList> items;
    {
        const TypingReads quick(m_db);
        items = readChoices(m_db, *source);
    }
    // A list that cannot be read now (another program holds the database) stays as it is.
    if (!items)
        return;
    ChoiceList& list = choiceList(field);
    const FilledList filled = fillListFromTable(*items, list.text());
    list.items = filled.items;
    list.current = filled.selected;
    emit choicesChanged(field);
}

void OrderForm::loadTableCodes() {
    m_tableCodes = qm::loadTableCodes(m_db);
}

void OrderForm::loadDishCache() {
    m_candidates.clear(); // they point into the old cache
    m_dishes.reset(loadDishes(m_db));
    emit dishCacheChanged();
    searchDishes();
}

void OrderForm::restoreChoices(const RecordStore& records) {
    setTimeFormat(textToInt(records.read(timeFormatKey, QStringLiteral("0"))));
    for (const auto& [field, key] : savedChoices) {
        const QString stored = records.read(QString::fromUtf8(key));
        if (isChoiceField(field))
            selectItemText(field, stored);
        else
            setText(field, stored);
    }
}

void OrderForm::reloadStoredData() {
    for (OrderField field : {OrderField::TicketHeader, OrderField::ShopName, OrderField::DiscountName})
        fillChoiceList(field);
    loadTableCodes();
    restoreChoices(RecordStore(m_db));
    loadDishCache();
}

void OrderForm::saveChoices(const RecordStore& records) const {
    for (const auto& [field, key] : savedChoices)
        records.write(QString::fromUtf8(key), text(field));
}

namespace {

std::optional<TodayTotals> readTotalsQuickly(Database& db, const QDate& today) {
    const TypingReads quick(db);
    return readTodayTotals(db, today);
}

} // namespace

void OrderForm::refreshTodayTotals() {
    const std::optional<TodayTotals> totals = readTotalsQuickly(m_db, m_today);
    // A failed read invents nothing: the figures and the number shown stay, and the clock reads again.
    m_totalsUnread = !totals;
    if (totals) {
        m_totals = *totals;
        m_proposedNumber = QString::number(m_totals.nextNumber());
        setText(OrderField::OrderNumber, m_proposedNumber);
    }
    emit todayTotalsChanged();
}

void OrderForm::refreshTodayFigures() {
    const std::optional<TodayTotals> totals = readTotalsQuickly(m_db, m_today);
    m_totalsUnread = !totals;
    if (totals)
        m_totals = *totals;
    emit todayTotalsChanged();
}

void OrderForm::refreshAfterOtherTills() {
    if (!isModifying() && numberProposed() && m_notice.isEmpty())
        refreshTodayTotals();
    else
        refreshTodayFigures();
}

void OrderForm::setNotice(const QString& notice) {
    m_notice = notice;
    emit todayTotalsChanged();
}

void OrderForm::setQuantityDecimals(int decimals) {
    m_quantityDecimals = decimals;
}

void OrderForm::setTimeFormat(int format) {
    m_timeFormat = normalizedTimeFormat(format);
}

QString OrderForm::countStatusText() const {
    const QString count = QStringLiteral("今日打单数量：") + QString::number(m_totals.count);
    return m_totalsUnread ? count + QStringLiteral("（今日数据暂时无法读取，正在重试）") : count;
}

bool OrderForm::numberProposed() const {
    return !m_proposedNumber.isEmpty() && text(OrderField::OrderNumber) == m_proposedNumber;
}

QString OrderForm::incomeStatusText() const {
    return QStringLiteral("今日收入总额：") + doubleText(m_totals.income);
}

// --- Fields -----------------------------------------------------------------------------------------

QString OrderForm::text(OrderField field) const {
    if (isChoiceField(field))
        return m_choices[int(field)].text();
    return m_texts[int(field)];
}

void OrderForm::setText(OrderField field, const QString& text) {
    if (isChoiceField(field))
        return;
    writeText(field, oneLineText(text));
    runRule(field);
}

const ChoiceList& OrderForm::choices(OrderField field) const {
    return m_choices[int(field)];
}

ChoiceList& OrderForm::choiceList(OrderField field) {
    return m_choices[int(field)];
}

void OrderForm::chooseItem(OrderField field, int index) {
    ChoiceList& list = choiceList(field);
    if (!isChoiceField(field) || index < -1 || index >= list.items.size() || index == list.current)
        return;
    list.current = index;
    emit choicesChanged(field);
    if (field == OrderField::DiscountName)
        recomputeAfterDiscountChange();
    else if (field == OrderField::PaymentMethod)
        setPaidFromPayment();
    requestPreviewRefresh();
}

void OrderForm::selectItemText(OrderField field, const QString& text) {
    if (!isChoiceField(field))
        return;
    ChoiceList& list = choiceList(field);
    int index = list.current;
    if (text.isEmpty() || text == noDiscountText)
        index = -1;
    else if (text != list.text() && list.items.contains(text))
        index = int(list.items.indexOf(text));
    if (index == list.current)
        return;
    list.current = index;
    emit choicesChanged(field);
}

void OrderForm::fieldLeft(OrderField field) {
    if (field == OrderField::Telephone)
        completeTelephone();
    if (refreshesPreviewOnLeave(field))
        requestPreviewRefresh();
}

void OrderForm::writeText(OrderField field, const QString& text) {
    m_texts[int(field)] = text;
    emit textChanged(field, text);
}

void OrderForm::runRule(OrderField field) {
    switch (field) {
    case OrderField::DishCode:
        searchDishes();
        break;
    case OrderField::DiscountAmount:
        recomputeAfterDiscountChange();
        break;
    case OrderField::ToPay:
        setPaidFromPayment();
        break;
    case OrderField::Telephone:
        fillCustomer();
        break;
    case OrderField::TableCode:
        chooseTableByCode();
        break;
    default:
        break;
    }
}

// --- Delivery details and tables --------------------------------------------------------------------

void OrderForm::fillCustomer() {
    // An emptied telephone names nobody, not a customer stored without a telephone.
    const QString telephone = trimBlanks(text(OrderField::Telephone));
    m_completedTelephone.clear();
    CustomerLookup lookup{true, std::nullopt};
    if (!telephone.isEmpty()) {
        const TypingReads quick(m_db);
        lookup = lookUpCustomer(m_db, telephone);
    }
    // A read that failed (another program holds the database) leaves what the cashier typed.
    if (!lookup.read)
        return;
    if (!lookup.customer && m_telephoneTail && isTelephoneTail(telephone)) {
        findByTelephoneTail(telephone);
        if (!m_completedTelephone.isEmpty()) {
            const TypingReads quick(m_db);
            lookup = lookUpCustomer(m_db, m_completedTelephone);
        }
    } else {
        setTelephoneHint(QString());
    }
    setText(OrderField::CustomerName, lookup.customer ? lookup.customer->name : QString());
    setText(OrderField::Address, lookup.customer ? lookup.customer->address : QString());
}

void OrderForm::findByTelephoneTail(const QString& tail) {
    std::optional<QStringList> found;
    {
        const TypingReads quick(m_db);
        found = telephonesEndingWith(m_db, tail, 2);
    }
    if (!found || found->isEmpty()) {
        setTelephoneHint(QString());
    } else if (found->size() == 1) {
        m_completedTelephone = found->first();
        setTelephoneHint(QStringLiteral("尾号 %1：%2").arg(tail, m_completedTelephone));
    } else {
        setTelephoneHint(QStringLiteral("尾号 %1 不止一位顾客，请输入完整号码").arg(tail));
    }
}

void OrderForm::setTelephoneHint(const QString& hint) {
    if (hint == m_telephoneHint)
        return;
    m_telephoneHint = hint;
    emit todayTotalsChanged();
}

void OrderForm::completeTelephone() {
    if (!m_completedTelephone.isEmpty())
        setText(OrderField::Telephone, m_completedTelephone);
}

QString OrderForm::telephone() const {
    return m_completedTelephone.isEmpty() ? text(OrderField::Telephone) : m_completedTelephone;
}

void OrderForm::saveCustomer() {
    const QString telephone = trimBlanks(this->telephone());
    const QString name = trimBlanks(text(OrderField::CustomerName));
    const QString address = trimBlanks(text(OrderField::Address));
    if (telephone.isEmpty() || (name.isEmpty() && address.isEmpty()))
        return;
    insertCustomerIfMissing(m_db, telephone, name, address);
}

void OrderForm::chooseTableByCode() {
    const QString code = text(OrderField::TableCode);
    ChoiceList& list = choiceList(OrderField::TableName);
    list.items.clear();
    list.current = -1;
    for (const TableCodeRecord& table : m_tableCodes) {
        list.items.append(table.name);
        if (table.code == code) {
            list.current = int(list.items.size()) - 1;
            break;
        }
    }
    emit choicesChanged(OrderField::TableName);
}

// --- Order time, mode and reset ---------------------------------------------------------------------

void OrderForm::tick() {
    const QDateTime now = m_platform.now();
    if (now.date() != m_today) {
        m_today = now.date();
        refreshTodayTotals();
    } else if (m_totalsUnread) {
        refreshTodayTotals();
    }
    if (!isModifying())
        showOrderTime(now);
}

void OrderForm::showOrderTime(const QDateTime& time) {
    setText(OrderField::OrderTime, displayTime(time, m_timeFormat));
}

void OrderForm::setSettleVisible(bool visible) {
    if (visible == m_settleVisible)
        return;
    m_settleVisible = visible;
    emit modeChanged();
}

void OrderForm::enterModifyMode(const QString& id) {
    m_settleCaption = settleCaptionChange;
    m_modifyingId = id;
    setText(OrderField::OrderId, id);
    emit modeChanged();
}

void OrderForm::resetForm() {
    m_notice.clear();
    refreshTodayTotals();
    m_settleVisible = true;
    m_settleCaption = settleCaptionNew;
    emit modeChanged();
    m_lines = QList<OrderLine>(1);
    emit linesChanged();
    setCursor(1, NameColumn);
    for (OrderField field :
         {OrderField::Total, OrderField::Paid, OrderField::ToPay, OrderField::TableCode,
          OrderField::Telephone, OrderField::CustomerName, OrderField::Address, OrderField::Note})
        setText(field, QString());
    emit focusRequested(OrderField::DishCode, true);
    requestPreviewRefresh();
}

OrderFormValues OrderForm::values() const {
    OrderFormValues v;
    v.orderNumber = text(OrderField::OrderNumber);
    v.ticketHeader = text(OrderField::TicketHeader);
    v.shopName = text(OrderField::ShopName);
    v.orderTime = text(OrderField::OrderTime);
    v.lines = m_lines;
    v.discountName = text(OrderField::DiscountName);
    v.discountCount = text(OrderField::DiscountCount);
    v.discountAmount = text(OrderField::DiscountAmount);
    v.total = text(OrderField::Total);
    v.paymentMethod = text(OrderField::PaymentMethod);
    v.paid = text(OrderField::Paid);
    v.toPay = text(OrderField::ToPay);
    v.tableCode = text(OrderField::TableCode);
    v.tableName = text(OrderField::TableName);
    v.telephone = telephone();
    v.customerName = text(OrderField::CustomerName);
    v.address = text(OrderField::Address);
    v.note = text(OrderField::Note);
    return v;
}

void OrderForm::requestPreviewRefresh() {
    emit previewRefreshRequested();
}

} // namespace qm
