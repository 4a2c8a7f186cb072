#pragma once

#include "core/ui/runmodal.h"
#include "reports/periods.h"
#include "reports/salesstatistics.h"

#include <QDialog>

#include <memory>

class QComboBox;

// 销售统计: the yearly, monthly and daily sales statistics for every dish or one.
namespace qm {

class Database;
class Home;
class Platform;
class ReportBody;

class SalesStatisticsWindow : public QDialog {
    Q_OBJECT
public:
    // Opens on the yearly statistic of the current year for every dish; the statistic kind and the
    // remembered periods in `state` outlive the window.
    SalesStatisticsWindow(Database& db, Platform& platform, const Home& home,
                          SalesState& state = salesState(), RunModal runPicker = execModal,
                          QWidget* parent = nullptr);
    ~SalesStatisticsWindow() override;

    // Runs the statistic of `kind` for `period` (empty: the remembered one); true when there are sales.
    bool showStatistic(SalesKind kind, const QString& period);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pick(PickerKind kind);
    void chooseType();

    Database& m_db;
    Platform& m_platform;
    SalesState& m_state;
    RunModal m_runPicker;
    QComboBox* m_type = nullptr;
    std::unique_ptr<ReportBody> m_body;
};

} // namespace qm
