#pragma once

#include "store/orderformstore.h"

#include <QHash>
#include <QList>
#include <QStringList>

// The dishes order entry works with, in catalogue order, and the search by number or letter code.
namespace qm {

class DishCache {
public:
    // Replaces the whole cache.
    void reset(QList<DishRecord> dishes);

    const QList<DishRecord>& dishes() const { return m_dishes; }
    // Every dish name in catalogue order: the grid's name list.
    QStringList names() const;
    // The first dish with exactly this name, or null.
    const DishRecord* find(const QString& name) const;

private:
    QList<DishRecord> m_dishes;
    QHash<QString, qsizetype> m_firstByName;
};

// The candidates for a typed code: trimmed, then for each dish in order one entry when the text occurs in
// its number code and one more when it occurs in its letter code (letter case counts). Empty text, none.
// The entries point into the cache and stay valid until it is reset.
QList<const DishRecord*> searchDishes(const DishCache& cache, const QString& typed);

} // namespace qm
