#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace qm {

class Platform;
class StaffSession;

// "员工与权限…": staff mode turned on with the owner's password and off again with it; staff added,
// changed (role and a new PIN) and removed; the idle time after which the till locks; the permission table,
// read-only. Every change goes through the session, which records it.
class StaffWindow : public QDialog {
    Q_OBJECT
public:
    StaffWindow(StaffSession& staff, Platform& platform, QWidget* parent = nullptr);

private:
    void refresh();
    void toggleMode();
    void saveMember();
    void removeMember();
    void pickMember();
    void saveIdleLock();
    // Asks a new secret twice; no value when cancelled or the two differ (the cashier was told).
    std::optional<QString> askNewSecret(const QString& title, const QString& what);

    StaffSession& m_staff;
    Platform& m_platform;
    QLabel* m_modeLabel;
    QPushButton* m_modeButton;
    QTableWidget* m_members;
    QLineEdit* m_name;
    QComboBox* m_role;
    QPushButton* m_save;
    QPushButton* m_remove;
    QSpinBox* m_idle;
};

// Opens the window modally.
void openStaffWindow(QWidget* parent, StaffSession& staff, Platform& platform);

} // namespace qm
