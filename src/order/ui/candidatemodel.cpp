#include "order/ui/candidatemodel.h"

#include "order/orderform.h"

namespace qm {

namespace {
const int widths[] = {0, 90, 80, 130, 100, 50};
}

CandidateModel::CandidateModel(const OrderForm& form, QObject* parent)
    : QAbstractTableModel(parent)
    , m_form(form) {}

int CandidateModel::columnWidth(int column) {
    return column >= 0 && column < ColumnCount ? widths[column] : 0;
}

int CandidateModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_form.candidates().size());
}

int CandidateModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CandidateModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_form.candidates().size())
        return {};
    const DishRecord& dish = *m_form.candidates()[index.row()];
    switch (index.column()) {
    case CodeColumn:
        return dish.code;
    case LettersColumn:
        return dish.letters;
    case NameColumn:
        return dish.name;
    case PriceColumn:
        return dish.price;
    case UnitColumn:
        return dish.unit;
    default:
        return {};
    }
}

QVariant CandidateModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const QStringList headers = {QString(),
                                        QStringLiteral("数字代号"),
                                        QStringLiteral("字母代号"),
                                        QStringLiteral("品名"),
                                        QStringLiteral("价格"),
                                        QStringLiteral("单位")};
    return section >= 0 && section < headers.size() ? headers[section] : QVariant();
}

void CandidateModel::reload() {
    beginResetModel();
    endResetModel();
}

} // namespace qm
