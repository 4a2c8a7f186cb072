#pragma once

#include "backup/restore.h"

#include <QDialog>

class QTreeWidget;

namespace qm {

class Home;
class Platform;

// The window "恢复数据": the copies of the backup folder (time, size, orders, latest order) and a file
// chooser for a copy kept elsewhere. It only chooses; the caller restores. The window opens at once with
// the times and sizes; each copy's orders are read in turn after it shows (a large copy takes a while).
class RestoreWindow : public QDialog {
    Q_OBJECT
public:
    RestoreWindow(const Home& home, Platform& platform, QWidget* parent = nullptr);

    // The copy chosen; empty when the window was closed without a choice.
    QString chosenPath() const { return m_chosen; }
    // Chooses the copy in `row` of the list, as the button "恢复" does.
    void chooseRow(int row);
    void chooseFile();
    // True once every row shows its orders.
    bool described() const { return m_described == m_listings.size(); }

private:
    Platform& m_platform;
    QList<BackupListing> m_listings;
    QTreeWidget* m_list;
    QString m_chosen;
    int m_described = 0;
};

} // namespace qm
