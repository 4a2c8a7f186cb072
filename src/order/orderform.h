#pragma once

#include "order/dishcache.h"
#include "order/orderfields.h"
#include "order/orderformvalues.h"
#include "store/orderformstore.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// The order being edited: every field's text, the choice lists, the order lines with the grid cursor,
// the dish candidates, and the rules that tie them together. The main window shows this object and
// forwards the user's actions to it; tests drive it without any window.
namespace qm {

class Database;
class Platform;
class RecordStore;

// A drop-down list: its items and the selected one (-1 for none, which reads as the empty text).
struct ChoiceList {
    QStringList items;
    int current = -1;
    QString text() const;
};

// The discount name that means no discount, like the empty text.
inline const QString noDiscountText = QStringLiteral("无");
inline const QString settleCaptionNew = QStringLiteral("打单结算(F12)");
inline const QString settleCaptionChange = QStringLiteral("修改(F12)");
inline const QStringList paymentMethods = {QStringLiteral("现金支付"),   QStringLiteral("微信支付"),
                                           QStringLiteral("支付宝支付"), QStringLiteral("在线支付"),
                                           QStringLiteral("到付"),       QStringLiteral("混合支付"),
                                           QStringLiteral("预付")};

class OrderForm : public QObject {
    Q_OBJECT
public:
    // Grid rows: row 0 is the header, rows 1.. the lines, the last row the empty entry row.
    // Grid columns: name, quantity, unit, amount.
    enum Column { NameColumn = 0, QuantityColumn = 1, UnitColumn = 2, AmountColumn = 3, ColumnCount = 4 };
    static const QStringList columnHeaders; // "品名", "数量", "单位", "小计"

    OrderForm(Database& db, Platform& platform, int quantityDecimals, QObject* parent = nullptr);

    // --- Start-up, caches and settings -------------------------------------------------------------
    // Refills a choice list (ticket header, shop name, discount, table name) from its table with an empty
    // first item, keeping the current text selected when it is among the new items.
    void fillChoiceList(OrderField field);
    // Reloads the table-code cache from 桌号.
    void loadTableCodes();
    // Reloads the dish cache (and with it the grid's name list) from 菜单; the typed code is searched again.
    void loadDishCache();
    // The saved choices: display time format, ticket header, shop name, discount name, portions and
    // amount, payment method.
    void restoreChoices(const RecordStore& records);
    // The lists, table codes, saved choices and dishes read again, after the database changed under the
    // form (a restore, the shop's set-up).
    void reloadStoredData();
    void saveChoices(const RecordStore& records) const;
    // Queries today's totals, writes the next order number and announces the new status texts. When they
    // cannot be read, the figures and the number stay as they were, the status says so and the clock
    // reads them again.
    void refreshTodayTotals();
    // The same for the figures only: the order number shown stays (a stored order still on the form).
    void refreshTodayFigures();
    // Another till stored, changed or deleted an order: the figures follow, and so does the number while
    // the form shows the program's proposal for a new order (not one typed, open for change or stored).
    void refreshAfterOtherTills();
    bool todayTotalsUnread() const { return m_totalsUnread; }
    // A word to the cashier beside the figures ("已保存，未打印：按 F11 打印"); cleared with the form.
    void setNotice(const QString& notice);
    QString notice() const { return m_notice; }
    // What the status line beside the figures shows: the notice, else the telephone-tail hint.
    QString statusNotice() const { return m_notice.isEmpty() ? m_telephoneHint : m_notice; }
    // Whether the order number shown is the one the program proposed (not typed by the cashier).
    bool numberProposed() const;

    const DishCache& dishCache() const { return m_dishes; }
    const QList<TableCodeRecord>& tableCodes() const { return m_tableCodes; }
    int quantityDecimals() const { return m_quantityDecimals; }
    void setQuantityDecimals(int decimals);
    int timeFormat() const { return m_timeFormat; }
    void setTimeFormat(int format);

    // --- Fields --------------------------------------------------------------------------------------
    QString text(OrderField field) const;
    // Text typed into, or written by the program into, an edit field. Runs the field's rule every time,
    // even when the text does not change.
    void setText(OrderField field, const QString& text);
    const ChoiceList& choices(OrderField field) const;
    // The user chose an item of a choice list: runs the field's rule (when the selection changed) and
    // refreshes the preview.
    void chooseItem(OrderField field, int index);
    // The program selects a stored text: empty or "无" clears the selection, a text that is no item leaves
    // the list as it is. Runs no rule.
    void selectItemText(OrderField field, const QString& text);
    // A field lost the focus.
    void fieldLeft(OrderField field);

    // --- Dish search and candidates ----------------------------------------------------------------
    const QList<const DishRecord*>& candidates() const { return m_candidates; }
    int currentCandidate() const { return m_currentCandidate; }
    void selectCandidate(int index);
    void selectPreviousCandidate();
    void selectNextCandidate();
    // Asks for the quantity of the selected candidate and adds it as a line. False when nothing was added.
    // A quantity typed in the code box after a star ("108*2") is taken without asking, and so is 1 when
    // the shop chose not to be asked.
    bool pickDish();
    void setQuantityWithoutAsking(bool on) { m_quantityWithoutAsking = on; }

    // --- Order lines ---------------------------------------------------------------------------------
    int rowCount() const { return int(m_lines.size()) + 1; }
    bool hasLines() const { return rowCount() > 2; }
    QString cell(int row, int column) const;
    int cursorRow() const { return m_cursorRow; }
    int cursorColumn() const { return m_cursorColumn; }
    void setCursor(int row, int column);
    bool canEditCell(int row, int column) const;
    // A finished cell edit: writes the text, puts the cursor on the cell and recalculates the line. A
    // quantity or amount beyond what the cell can hold is refused with a message and the cell left as it was.
    void editCell(int row, int column, const QString& text);
    // The message refusing a typed quantity or amount beyond what the cell can hold; empty when it fits.
    static QString cellRefusal(int column, const QString& text);
    void recalculateLine();
    // Removes the cursor row (any line, not the entry row) after asking. False when nothing was removed.
    bool deleteLine();
    // Whether the grid's context menu ("删除行") is offered for the cursor row.
    bool offersLineMenu() const;
    // Puts stored lines into the grid as they are (no recalculation), followed by the empty entry row.
    void setLoadedLines(const QList<OrderLine>& lines);

    // --- Delivery details --------------------------------------------------------------------------
    // With the setting "电话后四位查找顾客" on, four digits typed as the telephone that are the end of
    // exactly one known customer's telephone (and no customer's whole telephone) fill that customer's name
    // and address; the telephone is completed to the whole number when the field is left, and the order,
    // its receipt and 保存客户 take the whole number. The status line tells the number found, or that
    // several customers share the four digits. Off, only a whole telephone finds a customer.
    void setTelephoneTail(bool on) { m_telephoneTail = on; }
    // The telephone the order takes: the text of the field, or the whole number its four digits found.
    QString telephone() const;
    // Writes that whole number into the field (done when the field is left, and before an order is
    // stored or printed, so that the cashier sees the number on the receipt).
    void completeTelephone();
    // Stores the telephone, name and address as a new customer unless one with the telephone exists.
    void saveCustomer();

    // --- Order time, mode and reset ------------------------------------------------------------------
    QDate today() const { return m_today; }
    // The clock: rolls the order number and totals over at midnight, and shows the current time unless
    // an order is open for change.
    void tick();
    void showOrderTime(const QDateTime& time);
    bool isModifying() const { return m_settleCaption == settleCaptionChange; }
    QString settleCaption() const { return m_settleCaption; }
    bool settleVisible() const { return m_settleVisible; }
    void setSettleVisible(bool visible);
    // The ID of the stored order reopened for change (kept after a reset).
    QString modifyingId() const { return m_modifyingId; }
    void enterModifyMode(const QString& id);
    // Back to a new order: next number, empty lines and amounts, delivery fields and table cleared.
    void resetForm();

    TodayTotals todayTotals() const { return m_totals; }
    QString countStatusText() const;
    QString incomeStatusText() const;

    OrderFormValues values() const;
    Platform& platform() const { return m_platform; }
    Database& database() const { return m_db; }

    // Asks whoever shows the receipt preview to draw it again.
    void requestPreviewRefresh();

signals:
    void textChanged(qm::OrderField field, const QString& text);
    // The items or the selection of a choice list changed.
    void choicesChanged(qm::OrderField field);
    void linesChanged();
    void cursorChanged(int row, int column);
    void candidatesChanged();
    void currentCandidateChanged(int index);
    void dishCacheChanged();
    void todayTotalsChanged();
    void modeChanged();
    void focusRequested(qm::OrderField field, bool selectAll);
    void previewRefreshRequested();

private:
    ChoiceList& choiceList(OrderField field);
    void writeText(OrderField field, const QString& text);
    void runRule(OrderField field);
    void searchDishes();
    void fillCustomer();
    // The customer whose telephone ends with the four digits typed, into m_completedTelephone.
    void findByTelephoneTail(const QString& tail);
    void setTelephoneHint(const QString& hint);
    void chooseTableByCode();
    double linesSum() const;
    double discountAmount() const;
    void recomputeAfterLineChange();
    void recomputeAfterLineDeletion();
    void recomputeAfterDiscountChange();
    void setPaidFromPayment();
    void setCell(int row, int column, const QString& text);
    void ensureEntryRow();

    Database& m_db;
    Platform& m_platform;
    int m_quantityDecimals = 0;
    bool m_quantityWithoutAsking = false;
    bool m_telephoneTail = false;
    QString m_completedTelephone; // the whole number the four digits in the field found; else empty
    QString m_telephoneHint;
    int m_timeFormat = 0;
    QDate m_today;
    TodayTotals m_totals;
    bool m_totalsUnread = false;
    QString m_proposedNumber; // the order number text the program wrote last
    QString m_notice;

    static constexpr int fieldCount = int(OrderField::OrderId) + 1;
    std::array<QString, fieldCount> m_texts;
    std::array<ChoiceList, fieldCount> m_choices; // used by the choice fields only
    QList<OrderLine> m_lines;                     // grid rows 1.., the last one the entry row
    int m_cursorRow = 1;
    int m_cursorColumn = 0;

    DishCache m_dishes;
    QList<TableCodeRecord> m_tableCodes;
    QList<const DishRecord*> m_candidates; // into m_dishes
    int m_currentCandidate = -1;

    QString m_settleCaption = settleCaptionNew;
    bool m_settleVisible = true;
    QString m_modifyingId;
};

} // namespace qm
