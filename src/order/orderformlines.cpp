#include "order/orderform.h"

#include "core/numtext.h"
#include "core/platform.h"

#include <cmath>

// The order form's lines: the dish search with its candidates, the grid's lines and their rules, and the
// money fields that follow the lines.
namespace qm {

namespace {

const QString payOnDelivery = QStringLiteral("到付");

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

// --- Dish search and candidates -----------------------------------------------------------------------

namespace {

// A code box text "108*2" searches for 108 and gives the quantity 2 without asking; "108" and "108*"
// have no typed quantity. The full-width star counts as well.
std::pair<QString, std::optional<QString>> splitTypedQuantity(const QString& typed) {
    const qsizetype star = std::max(typed.indexOf(QLatin1Char('*')), typed.indexOf(QChar(0xFF0A)));
    if (star < 0)
        return {typed, std::nullopt};
    const QString quantity = typed.mid(star + 1).trimmed();
    return {typed.left(star), quantity.isEmpty() ? std::nullopt : std::optional<QString>(quantity)};
}

} // namespace

void OrderForm::searchDishes() {
    m_candidates = qm::searchDishes(m_dishes, splitTypedQuantity(text(OrderField::DishCode)).first);
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
    std::optional<QString> quantity = splitTypedQuantity(text(OrderField::DishCode)).second;
    if (!quantity && m_quantityWithoutAsking)
        quantity = QStringLiteral("1");
    else if (!quantity)
        quantity = m_platform.askText(QStringLiteral("菜品选择"),
                                      QStringLiteral("请输入菜品：") + name +
                                          QStringLiteral(" 的数量。\r\n\r\n按 Esc键 取消选择。"),
                                      QStringLiteral("1"), true);
    // Cancelled or refused, the code box gets the focus back with its text selected, as after a pick.
    if (!quantity) {
        emit focusRequested(OrderField::DishCode, true);
        return false;
    }
    if (!fitsRange(*quantity, quantityLimit)) {
        m_platform.showMessage(outOfRangeMessage(QStringLiteral("数量"), quantityLimit),
                               MessageIcon::Information);
        emit focusRequested(OrderField::DishCode, true);
        return false;
    }
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
    if (const QString refusal = cellRefusal(column, text); !refusal.isEmpty()) {
        m_platform.showMessage(refusal, MessageIcon::Information);
        emit linesChanged(); // the cell shows its text from before the edit again
        return;
    }
    setCell(row, column, oneLineText(text));
    setCursor(row, column);
    recalculateLine();
    emit linesChanged();
}

QString OrderForm::cellRefusal(int column, const QString& text) {
    if (column == QuantityColumn && !fitsRange(text, quantityLimit))
        return outOfRangeMessage(QStringLiteral("数量"), quantityLimit);
    if (column == AmountColumn && !fitsRange(text, amountLimit))
        return outOfRangeMessage(QStringLiteral("小计"), amountLimit);
    return {};
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
    if (name.isEmpty() || name == noDiscountText)
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

} // namespace qm
