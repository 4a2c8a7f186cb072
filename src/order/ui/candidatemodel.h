#pragma once

#include <QAbstractTableModel>

namespace qm {

class OrderForm;

// The dishes found for the typed code, as the candidate list shows them: a hidden first column, then
// number code, letter code, name, price and unit.
class CandidateModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { HiddenColumn, CodeColumn, LettersColumn, NameColumn, PriceColumn, UnitColumn, ColumnCount };

    explicit CandidateModel(const OrderForm& form, QObject* parent = nullptr);

    // Column widths in pixels, by column.
    static int columnWidth(int column);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The form's candidates changed: shows the new list.
    void reload();

private:
    const OrderForm& m_form;
};

} // namespace qm
