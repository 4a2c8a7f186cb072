#include "order/orderform.h"

#include "core/datetimetext.h"
#include "core/filllist.h"
#include "core/numtext.h"
#include "core/platform.h"
#include "store/settings.h"

#include <cmath>

namespace qm {

namespace {

const QString noDiscount = QStringLiteral("无");
const QString payOnDelivery = QStringLiteral("到付");

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

template <typename Line> auto& lineCell(Line& line, int column) {
    switch (column) {
    case OrderForm::NameColumn:
        return line.name;
    case OrderForm::QuantityColumn:
        return line.quantity;
    case OrderForm::UnitColumn:
        return line.unit;
    default:
        return line.amount;
    }
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
    ChoiceList& list = choiceList(field);
    const FilledList filled = fillListFromTable(loadChoices(m_db, *source), list.text());
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

void OrderForm::saveChoices(const RecordStore& records) const {
    for (const auto& [field, key] : savedChoices)
        records.write(QString::fromUtf8(key), text(field));
}

void OrderForm::refreshTodayTotals() {
    m_totals = qm::todayTotals(m_db, m_today);
    setText(OrderField::OrderNumber, QString::number(m_totals.nextNumber()));
    emit todayTotalsChanged();
}

void OrderForm::setQuantityDecimals(int decimals) {
    m_quantityDecimals = decimals;
}

void OrderForm::setTimeFormat(int format) {
    m_timeFormat = normalizedTimeFormat(format);
}

QString OrderForm::countStatusText() const {
    return QStringLiteral("今日打单数量：") + QString::number(m_totals.count);
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
    writeText(field, text);
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
    if (text.isEmpty() || text == noDiscount)
        index = -1;
    else if (text != list.text() && list.items.contains(text))
        index = int(list.items.indexOf(text));
    if (index == list.current)
        return;
    list.current = index;
    emit choicesChanged(field);
}

void OrderForm::fieldLeft(OrderField field) {
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

// --- Dish search and candidates -----------------------------------------------------------------------

void OrderForm::searchDishes() {
    m_candidates = qm::searchDishes(m_dishes, text(OrderField::DishCode));
    m_currentCandidate = m_candidates.isEmpty() ? -1 : 0;
    emit candidatesChanged();
    emit currentCandidateChanged(m_currentCandidate);
}

void OrderForm::selectCandidate(int index) {
    if (index < -1 || index >= m_candidates.size() || index == m_currentCandidate)
        return;
    m_currentCandidate = index;
    emit currentCandidateChanged(index);
}

void OrderForm::selectPreviousCandidate() {
    if (m_currentCandidate > 0)
        selectCandidate(m_currentCandidate - 1);
}

void OrderForm::selectNextCandidate() {
    if (m_currentCandidate < m_candidates.size() - 1)
        selectCandidate(m_currentCandidate + 1);
}

bool OrderForm::pickDish() {
    if (m_currentCandidate < 0 || m_currentCandidate >= m_candidates.size())
        return false;
    const QString name = m_candidates[m_currentCandidate]->name;
    const std::optional<QString> quantity = m_platform.askText(
        QStringLiteral("菜品选择"),
        QStringLiteral("请输入菜品：") + name + QStringLiteral(" 的数量。\r\n\r\n按 Esc键 取消选择。"),
        QStringLiteral("1"), true);
    if (!quantity)
        return false;
    int row = -1;
    for (int r = 1; r < rowCount() && row < 0; ++r) {
        if (cell(r, QuantityColumn).isEmpty())
            row = r;
    }
    if (row < 0)
        return false;
    setCell(row, NameColumn, name);
    setCell(row, QuantityColumn, *quantity);
    setCursor(row, QuantityColumn);
    recalculateLine();
    emit focusRequested(OrderField::DishCode, true);
    return true;
}

// --- Order lines ------------------------------------------------------------------------------------

QString OrderForm::cell(int row, int column) const {
    if (column < 0 || column >= ColumnCount)
        return {};
    if (row == 0)
        return columnHeaders[column];
    if (row < 0 || row >= rowCount())
        return {};
    return lineCell(m_lines[row - 1], column);
}

void OrderForm::setCell(int row, int column, const QString& text) {
    if (row >= 1 && row < rowCount() && column >= 0 && column < ColumnCount)
        lineCell(m_lines[row - 1], column) = text;
}

void OrderForm::setCursor(int row, int column) {
    if (row == m_cursorRow && column == m_cursorColumn)
        return;
    m_cursorRow = row;
    m_cursorColumn = column;
    emit cursorChanged(row, column);
}

bool OrderForm::canEditCell(int row, int column) const {
    if (row < 1 || row >= rowCount() || column < 0 || column >= ColumnCount)
        return false;
    if (column == NameColumn)
        return true;
    if (trimBlanks(cell(row, NameColumn)).isEmpty())
        return false;
    return column != UnitColumn;
}

void OrderForm::editCell(int row, int column, const QString& text) {
    if (!canEditCell(row, column))
        return;
    setCell(row, column, text);
    setCursor(row, column);
    recalculateLine();
    emit linesChanged();
}

void OrderForm::recalculateLine() {
    const int row = m_cursorRow;
    if (row < 1 || row >= rowCount())
        return;
    const QString name = trimBlanks(cell(row, NameColumn));
    if (name.isEmpty())
        return;

    double quantity = roundHalfAway(textToNumber(cell(row, QuantityColumn)), m_quantityDecimals);
    if (isZero(quantity))
        quantity = 1;
    setCell(row, QuantityColumn, doubleText(quantity));

    double amount = 0;
    // A name that is not in the catalogue has no unit: a unit left from an earlier dish would be wrong.
    const DishRecord* dish = m_dishes.find(name);
    setCell(row, UnitColumn, dish ? dish->unit : QString());
    if (dish)
        amount = quantity * textToNumber(dish->price);
    if (m_cursorColumn == AmountColumn)
        amount = textToNumber(cell(row, AmountColumn));
    setCell(row, AmountColumn, doubleText(roundHalfAway(amount, 1)));

    recomputeAfterLineChange();
    ensureEntryRow();
    emit linesChanged();
    requestPreviewRefresh();
}

bool OrderForm::deleteLine() {
    // Every line but the entry row, also one whose name was erased: its amount still counts in the total.
    const int row = m_cursorRow;
    if (!offersLineMenu())
        return false;
    if (!m_platform.askYesNo(QStringLiteral("是否删除光标所在的整行数据。"), MessageIcon::Question))
        return false;
    // The lines that move up keep their texts: recalculating the one now under the cursor would put back
    // quantity × price over an amount typed by hand, depending on the column the cursor happened to be in.
    m_lines.removeAt(row - 1);
    recomputeAfterLineDeletion();
    emit linesChanged();
    emit cursorChanged(m_cursorRow, m_cursorColumn);
    requestPreviewRefresh();
    return true;
}

bool OrderForm::offersLineMenu() const {
    return m_cursorRow >= 1 && m_cursorRow < rowCount() - 1;
}

void OrderForm::setLoadedLines(const QList<OrderLine>& lines) {
    m_lines = lines;
    m_lines.append(OrderLine{});
    emit linesChanged();
}

void OrderForm::ensureEntryRow() {
    if (m_lines.isEmpty() || !trimBlanks(m_lines.last().name).isEmpty())
        m_lines.append(OrderLine{});
}

// --- Totals, discount and payment -------------------------------------------------------------------

double OrderForm::linesSum() const {
    double sum = 0;
    for (const OrderLine& line : m_lines)
        sum += textToNumber(line.amount);
    return sum;
}

double OrderForm::discountAmount() const {
    const QString name = text(OrderField::DiscountName);
    if (name.isEmpty() || name == noDiscount)
        return 0;
    return textToNumber(text(OrderField::DiscountAmount));
}

void OrderForm::recomputeAfterLineChange() {
    const QString total = doubleText(linesSum() - discountAmount());
    setText(OrderField::Total, total);
    const QString method = text(OrderField::PaymentMethod);
    if (!method.isEmpty() && method != payOnDelivery)
        setText(OrderField::Paid, total);
    setText(OrderField::ToPay, total);
}

void OrderForm::recomputeAfterLineDeletion() {
    const QString total = doubleText(linesSum() - discountAmount());
    setText(OrderField::Total, total);
    setText(OrderField::Paid, total);
    setText(OrderField::ToPay, total);
}

void OrderForm::recomputeAfterDiscountChange() {
    if (isZero(linesSum()))
        return;
    recomputeAfterLineDeletion();
}

void OrderForm::setPaidFromPayment() {
    const QString method = text(OrderField::PaymentMethod);
    if (method.isEmpty() || method == payOnDelivery) {
        setText(OrderField::Paid, QString());
        return;
    }
    const QString toPay = text(OrderField::ToPay);
    const QString total = text(OrderField::Total);
    const bool differ = std::fabs(textToNumber(toPay) - textToNumber(total)) > zeroTolerance;
    setText(OrderField::Paid, differ ? toPay : total);
}

// --- Delivery details and tables --------------------------------------------------------------------

void OrderForm::fillCustomer() {
    // An emptied telephone names nobody, not a customer stored without a telephone.
    const QString telephone = trimBlanks(text(OrderField::Telephone));
    const std::optional<CustomerContact> customer =
        telephone.isEmpty() ? std::nullopt : findCustomer(m_db, telephone);
    setText(OrderField::CustomerName, customer ? customer->name : QString());
    setText(OrderField::Address, customer ? customer->address : QString());
}

void OrderForm::saveCustomer() {
    const QString telephone = trimBlanks(text(OrderField::Telephone));
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
    emit focusRequested(OrderField::DishCode, false);
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
    v.telephone = text(OrderField::Telephone);
    v.customerName = text(OrderField::CustomerName);
    v.address = text(OrderField::Address);
    v.note = text(OrderField::Note);
    return v;
}

void OrderForm::requestPreviewRefresh() {
    emit previewRefreshRequested();
}

} // namespace qm
