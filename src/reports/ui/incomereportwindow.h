#pragma once

#include "core/ui/runmodal.h"
#include "reports/periods.h"

#include <QDate>
#include <QDialog>

#include <memory>

class QPushButton;

// 收入报表: the year, quarter, month and day income reports with their pickers and charts.
namespace qm {

class Database;
class Home;
class Platform;
class ReportBody;
struct ReportOutcome;

class IncomeReportWindow : public QDialog {
    Q_OBJECT
public:
    // Opens on the year report of the current year. `runPicker` runs the pickers modally.
    IncomeReportWindow(Database& db, Platform& platform, const Home& home, RunModal runPicker = execModal,
                       QWidget* parent = nullptr);
    ~IncomeReportWindow() override;

    // The reports as the pickers run them; true when the period has orders.
    bool showYear(const QString& year);
    bool showQuarter(const QString& year, const QString& quarter);
    bool showMonth(const QString& year, const QString& month);
    bool showDay(const QString& day);

private:
    bool present(const ReportOutcome& outcome);
    void pick(PickerKind kind);
    void printClosing();

    Database& m_db;
    Platform& m_platform;
    const Home& m_home;
    RunModal m_runPicker;
    std::unique_ptr<ReportBody> m_body;
    QPushButton* m_closingButton = nullptr;
    QDate m_day; // the day of the day report on show
};

} // namespace qm
