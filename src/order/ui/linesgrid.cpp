#include "order/ui/linesgrid.h"

#include "order/orderform.h"

#include <QComboBox>
#include <QCompleter>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

namespace qm {

namespace {

// Opens an editor only where the form allows editing, and gives the finished text to the form instead of
// the grid's own items: the form recalculates the line and the grid shows the result.
class LineDelegate : public QStyledItemDelegate {
public:
    LineDelegate(OrderForm& form, QObject* parent)
        : QStyledItemDelegate(parent)
        , m_form(form) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        if (!m_form.canEditCell(index.row() + 1, index.column()))
            return nullptr;
        if (index.column() != OrderForm::NameColumn)
            return new QLineEdit(parent);
        auto* names = new QComboBox(parent);
        names->setEditable(true);
        names->setInsertPolicy(QComboBox::NoInsert);
        names->addItems(m_form.dishCache().names());
        names->completer()->setFilterMode(Qt::MatchContains);
        names->completer()->setCompletionMode(QCompleter::PopupCompletion);
        return names;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        const QString text = m_form.cell(index.row() + 1, index.column());
        if (auto* names = qobject_cast<QComboBox*>(editor))
            names->setEditText(text);
        else if (auto* edit = qobject_cast<QLineEdit*>(editor))
            edit->setText(text);
    }

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
        QString text;
        if (auto* names = qobject_cast<QComboBox*>(editor))
            text = names->currentText();
        else if (auto* edit = qobject_cast<QLineEdit*>(editor))
            text = edit->text();
        m_form.editCell(index.row() + 1, index.column(), text);
    }

private:
    OrderForm& m_form;
};

} // namespace

LinesGrid::LinesGrid(OrderForm& form, QWidget* parent)
    : QTableWidget(0, OrderForm::ColumnCount, parent)
    , m_form(form) {
    setHorizontalHeaderLabels(OrderForm::columnHeaders);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 10);
    horizontalHeader()->setMinimumSectionSize(32);
    horizontalHeader()->setDefaultSectionSize(48);
    horizontalHeader()->setStretchLastSection(true);
    setColumnWidth(OrderForm::NameColumn, 115);
    setColumnWidth(OrderForm::QuantityColumn, 48);
    setColumnWidth(OrderForm::UnitColumn, 40);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setItemDelegate(new LineDelegate(form, this));

    connect(&form, &OrderForm::linesChanged, this, &LinesGrid::showLines);
    connect(&form, &OrderForm::cursorChanged, this, &LinesGrid::showCursor);
    connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        if (!m_showing && row >= 0 && column >= 0)
            m_form.setCursor(row + 1, column);
    });
    showLines();
}

void LinesGrid::showLines() {
    m_showing = true;
    const int rows = m_form.rowCount() - 1;
    setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < OrderForm::ColumnCount; ++column) {
            QTableWidgetItem* cell = item(row, column);
            if (!cell) {
                cell = new QTableWidgetItem;
                setItem(row, column, cell);
            }
            cell->setText(m_form.cell(row + 1, column));
        }
    }
    m_showing = false;
    showCursor();
}

void LinesGrid::showCursor() {
    m_showing = true;
    const int row = m_form.cursorRow() - 1;
    if (row >= 0 && row < rowCount() && (row != currentRow() || m_form.cursorColumn() != currentColumn()))
        setCurrentCell(row, m_form.cursorColumn());
    m_showing = false;
}

void LinesGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && state() != QAbstractItemView::EditingState) {
        m_form.deleteLine();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void LinesGrid::mousePressEvent(QMouseEvent* event) {
    // A right click leaves the cursor alone until its menu has closed.
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTableWidget::mousePressEvent(event);
}

void LinesGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::RightButton) {
        QTableWidget::mouseReleaseEvent(event);
        return;
    }
    // The menu acts on the cursor row as it was; afterwards the cursor moves to the cell under the mouse.
    if (m_form.offersLineMenu()) {
        QMenu menu(this);
        QAction* remove = menu.addAction(QStringLiteral("删除行"));
        if (menu.exec(event->globalPosition().toPoint()) == remove)
            m_form.deleteLine();
    }
    const QModelIndex under = indexAt(event->position().toPoint());
    if (under.isValid())
        setCurrentCell(under.row(), under.column());
}

} // namespace qm
