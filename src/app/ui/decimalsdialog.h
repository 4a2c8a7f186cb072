#pragma once

#include <QDialog>

class QLineEdit;

namespace qm {

class Database;
class Platform;

// "设置": the quantity decimals (0 to 3). "确认" stores a valid value and closes; a value out of range is
// refused with a message and the window stays open. "应用设置" does nothing.
class DecimalsDialog : public QDialog {
    Q_OBJECT
public:
    DecimalsDialog(const Database& db, Platform& platform, int currentDecimals, QWidget* parent = nullptr);

    // The decimals in force: the stored value after "确认", else the value the window opened with.
    int decimals() const { return m_decimals; }

private:
    void confirm();

    const Database& m_db;
    Platform& m_platform;
    int m_decimals;
    QLineEdit* m_edit;
};

} // namespace qm
