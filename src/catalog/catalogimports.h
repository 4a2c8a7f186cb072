#pragma once

#include "catalog/customerimport.h"
#include "catalog/dishimport.h"
#include "catalog/importsession.h"

// The two imports of the master-data windows: dishes into 菜单 (with their units), customers into 客户.
namespace qm {

class DishImportSession : public ImportSession {
public:
    // Works against the dishes and units as they are stored now.
    explicit DishImportSession(const Database& db);

    QString title() const override { return QStringLiteral("导入菜单"); }
    const QList<ImportColumn>& columns() const override { return dishImportColumns(); }
    QStringList previewTitles() const override;
    QString existingLabel() const override { return QStringLiteral("已有数字代号："); }
    ImportStoreResult store(Database& db, const ImportProgress& progress) override;

    const DishImportPlan& dishPlan() const { return m_plan; }

protected:
    ImportSummary plan() override;

private:
    QList<StoredDish> m_stored;
    QStringList m_units;
    QStringList m_stations;
    DishImportPlan m_plan;
};

class CustomerImportSession : public ImportSession {
public:
    explicit CustomerImportSession(const Database& db);

    QString title() const override { return QStringLiteral("导入客户"); }
    const QList<ImportColumn>& columns() const override { return customerImportColumns(); }
    QStringList previewTitles() const override;
    QString existingLabel() const override { return QStringLiteral("已有电话："); }
    ImportStoreResult store(Database& db, const ImportProgress& progress) override;

protected:
    ImportSummary plan() override;

private:
    QList<StoredCustomer> m_stored;
    CustomerImportPlan m_plan;
};

} // namespace qm
