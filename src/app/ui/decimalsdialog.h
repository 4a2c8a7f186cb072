#pragma once

#include "store/staffstore.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QLineEdit;

namespace qm {

class Database;
class Platform;

// "设置": the quantity decimals (0 to 3), "数量默认 1，不再询问", "电话后四位查找顾客" and the till's name,
// with the database in use shown beneath. "确认" stores a valid value and the choice in the database, the
// till's name in the till's own file (`tillFile`, 收银机.ini), and closes; a value out of range is refused
// with a message and the window stays open. "应用设置" does nothing. With `event` (staff mode), a change is
// recorded with the settings before and after, in the transaction that stores it.
class DecimalsDialog : public QDialog {
    Q_OBJECT
public:
    DecimalsDialog(Database& db, Platform& platform, int currentDecimals, const QString& tillFile,
                   std::optional<AuditEvent> event = std::nullopt, QWidget* parent = nullptr);

    // The decimals in force: the stored value after "确认", else the value the window opened with.
    int decimals() const { return m_decimals; }
    // Whether a picked dish takes the quantity 1 without asking, as stored after "确认".
    bool quantityWithoutAsking() const { return m_withoutAsking; }
    bool telephoneTail() const { return m_telephoneTail; }

private:
    void confirm();

    Database& m_db;
    Platform& m_platform;
    QString m_tillFile;
    int m_decimals;
    QLineEdit* m_edit;
    QLineEdit* m_tillNameEdit;
    QCheckBox* m_withoutAskingBox;
    bool m_withoutAsking;
    QCheckBox* m_telephoneTailBox;
    bool m_telephoneTail;
    std::optional<AuditEvent> m_event;
};

} // namespace qm
