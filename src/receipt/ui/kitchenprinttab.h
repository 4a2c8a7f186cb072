#pragma once

#include "receipt/kitchenprinters.h"
#include "receipt/printsettingseditor.h"

#include <QWidget>

#include <functional>

class QComboBox;
class QLineEdit;
class QListWidget;
class QStackedWidget;

namespace qm {

class Database;
class DropDownComboBox;
class Home;
class Platform;

// The tab "后厨打印" of 打印设置: for each kitchen station the printer its slips go to on this till (none,
// network, USB or CUPS raw queue), the roll width, and a test page.
class KitchenPrintTab : public QWidget {
    Q_OBJECT
public:
    // `validate` checks a printer as the receipt printer is checked (it tells the user what is wrong).
    using Validate = std::function<PrinterField(PrintSettingsForm& form)>;

    KitchenPrintTab(const Database& db, Platform& platform, const Home& home, Validate validate,
                    QWidget* parent = nullptr);

    // Checks every station's printer; on a fault shows that station and its field. False then.
    bool validate();
    // validate(), then stores the stations' printers in the till's home.
    bool apply();

private:
    void showStation(int row);
    void keepStation();
    void showKind();
    PrinterField check(int row);
    void focusField(PrinterField field);
    void printTestPage();

    Platform& m_platform;
    const Home& m_home;
    Validate m_validate;
    QList<StationPrinter> m_printers;
    QStringList m_portTexts; // each station's port as typed
    int m_shown = -1;

    QListWidget* m_stations;
    QComboBox* m_kind;
    QStackedWidget* m_pages;
    QLineEdit* m_host;
    QLineEdit* m_port;
    DropDownComboBox* m_device;
    DropDownComboBox* m_queue;
    QComboBox* m_paper;
    QWidget* m_details;
};

} // namespace qm
