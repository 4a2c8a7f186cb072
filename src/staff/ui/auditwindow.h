#pragma once

#include "history/pagedbrowser.h"
#include "staff/auditrecord.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTableWidget;

namespace qm {

class Database;
class PageNavigator;
class Platform;
class StaffSession;

// 操作记录: the record of changes, newest first, in pages; filtered by a day range, a person and an action.
// A row opens its before/after text; 导出 writes the rows under the filter as CSV. The chain is checked
// once the window shows: a broken one is named in red until the owner acknowledges it.
class AuditWindow : public QDialog {
    Q_OBJECT
public:
    AuditWindow(const Database& db, Platform& platform, StaffSession& staff, QWidget* parent = nullptr);
    ~AuditWindow() override;

    // Checks the chain and shows the result (the window does this once shown).
    void checkChain();
    // The page and filter as the controls say.
    void applyFilter();

private:
    void present(const PageView& view);
    void openRow(int row);
    void exportCsv();
    void acknowledge();

    const Database& m_db;
    Platform& m_platform;
    StaffSession& m_staff;
    AuditTable m_table;
    PagedBrowser m_browser;
    PageNavigator* m_navigator;
    QCheckBox* m_byDay;
    QDateEdit* m_from;
    QDateEdit* m_to;
    QComboBox* m_person;
    QComboBox* m_action;
    QTableWidget* m_list;
    QLabel* m_count;
    QLabel* m_tampered;
    QPushButton* m_acknowledge;
    std::optional<qint64> m_broken;
    QList<QVariantList> m_rows;
};

void openAuditWindow(QWidget* parent, const Database& db, Platform& platform, StaffSession& staff);

} // namespace qm
