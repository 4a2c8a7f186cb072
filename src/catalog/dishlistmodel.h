#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>

// Dishes as the report lists show them (the dish list of 菜单设置 and the candidate list of the order
// form): column 0 is always empty (the lists hide it); columns 1 to 5 hold number code, letter code,
// name, price text and unit; the dish list adds the kitchen station as column 6.
namespace qm {

struct DishRow {
    QString code;
    QString letters;
    QString name;
    QString priceText;
    QString unit;
    QString station{};
};

class DishListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Hidden, Code, Letters, Name, Price, Unit, Station, ColumnCount };

    // `nameHeader` is the caption of the name column ("菜名" in the dish list, "品名" among candidates);
    // `withStation` shows the station column.
    explicit DishListModel(const QString& nameHeader, QObject* parent = nullptr, bool withStation = false);

    // The lists' column widths in pixels, by column.
    static int columnWidth(int column);

    const QList<DishRow>& rows() const { return m_rows; }
    void setRows(QList<DishRow> rows);
    void appendRow(const DishRow& row);
    void setRow(int row, const DishRow& value);
    void removeRowAt(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QString m_nameHeader;
    bool m_withStation;
    QList<DishRow> m_rows;
};

} // namespace qm
