#include "order/dishcache.h"

#include "core/numtext.h"

namespace qm {

void DishCache::reset(QList<DishRecord> dishes) {
    m_dishes = std::move(dishes);
    m_firstByName.clear();
    // From the last row up, so that the first row with a name is the one kept.
    for (qsizetype i = m_dishes.size() - 1; i >= 0; --i)
        m_firstByName.insert(m_dishes[i].name, i);
}

QStringList DishCache::names() const {
    QStringList names;
    names.reserve(m_dishes.size());
    for (const DishRecord& dish : m_dishes)
        names.append(dish.name);
    return names;
}

const DishRecord* DishCache::find(const QString& name) const {
    const auto it = m_firstByName.constFind(name);
    return it == m_firstByName.cend() ? nullptr : &m_dishes[*it];
}

QList<const DishRecord*> searchDishes(const DishCache& cache, const QString& typed) {
    QList<const DishRecord*> found;
    const QString text = trimBlanks(typed);
    if (text.isEmpty())
        return found;
    for (const DishRecord& dish : cache.dishes()) {
        if (dish.code.contains(text, Qt::CaseSensitive))
            found.append(&dish);
        if (dish.letters.contains(text, Qt::CaseSensitive))
            found.append(&dish);
    }
    return found;
}

} // namespace qm
