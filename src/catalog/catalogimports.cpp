#include "catalog/catalogimports.h"

namespace qm {

DishImportSession::DishImportSession(const Database& db) {
    const CatalogStore store(db);
    m_stored = store.loadDishes().value_or(QList<StoredDish>());
    m_units = store.loadNamedList(NamedList::Units).value_or(QStringList());
    m_stations = store.loadNamedList(NamedList::Stations).value_or(QStringList());
}

QStringList DishImportSession::previewTitles() const {
    return {QStringLiteral("数字代号"), QStringLiteral("字母代号"), QStringLiteral("品名"),
            QStringLiteral("价格"),     QStringLiteral("单位"),     QStringLiteral("出品部门")};
}

ImportSummary DishImportSession::plan() {
    m_plan = planDishImport(file().table, map(), m_stored, m_units, existing(), m_stations);
    ImportSummary summary;
    summary.rowCount = m_plan.rowCount;
    summary.inserts = int(m_plan.inserts.size());
    summary.updates = int(m_plan.updates.size());
    summary.unchanged = m_plan.unchanged;
    summary.preview = m_plan.preview;
    summary.refusals = m_plan.refusals;
    return summary;
}

ImportStoreResult DishImportSession::store(Database& db, const ImportProgress& progress) {
    return storeDishImport(db, m_plan.newUnits, m_plan.inserts, m_plan.updates, progress, m_plan.newStations);
}

CustomerImportSession::CustomerImportSession(const Database& db) {
    m_stored = CustomerStore(db).loadAll().value_or(QList<StoredCustomer>());
}

QStringList CustomerImportSession::previewTitles() const {
    return {QStringLiteral("电话"), QStringLiteral("姓名"), QStringLiteral("地址")};
}

ImportSummary CustomerImportSession::plan() {
    m_plan = planCustomerImport(file().table, map(), m_stored, existing());
    ImportSummary summary;
    summary.rowCount = m_plan.rowCount;
    summary.inserts = int(m_plan.inserts.size());
    summary.updates = int(m_plan.updates.size());
    summary.unchanged = m_plan.unchanged;
    summary.preview = m_plan.preview;
    summary.refusals = m_plan.refusals;
    summary.notes = m_plan.merged;
    return summary;
}

ImportStoreResult CustomerImportSession::store(Database& db, const ImportProgress& progress) {
    return storeCustomerImport(db, m_plan.inserts, m_plan.updates, progress);
}

} // namespace qm
