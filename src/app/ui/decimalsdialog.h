#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace qm {

class Database;
class Platform;

// "设置": the quantity decimals (0 to 3) and "数量默认 1，不再询问". "确认" stores a valid value and the
// choice and closes; a value out of range is
// refused with a message and the window stays open. "应用设置" does nothing.
class DecimalsDialog : public QDialog {
    Q_OBJECT
public:
    DecimalsDialog(const Database& db, Platform& platform, int currentDecimals, QWidget* parent = nullptr);

    // The decimals in force: the stored value after "确认", else the value the window opened with.
    int decimals() const { return m_decimals; }
    // Whether a picked dish takes the quantity 1 without asking, as stored after "确认".
    bool quantityWithoutAsking() const { return m_withoutAsking; }

private:
    void confirm();

    const Database& m_db;
    Platform& m_platform;
    int m_decimals;
    QLineEdit* m_edit;
    QCheckBox* m_withoutAskingBox;
    bool m_withoutAsking;
};

} // namespace qm
