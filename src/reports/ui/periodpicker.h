#pragma once

#include "reports/periods.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QDateEdit;

// The four small modal pickers of the report windows: year, quarter, month and day.
namespace qm {

class PeriodPicker : public QDialog {
    Q_OBJECT
public:
    // What happens on confirm. The income report runs its report and keeps the picker open while the
    // period has no orders (the function returns false); the sales statistics close the picker first.
    struct Route {
        std::function<bool(const PickedPeriod&)> confirm;
        bool closeFirst = false;
    };

    // `today` fills the year list (this year down to 2010), selects the current month in the month
    // picker and is the day picker's first date.
    PeriodPicker(PickerKind kind, const QDate& today, Route route, QWidget* parent = nullptr);

    PickedPeriod picked() const;

private:
    void confirm();

    PickerKind m_kind;
    Route m_route;
    QComboBox* m_year = nullptr;
    QComboBox* m_part = nullptr;
    QDateEdit* m_day = nullptr;
};

} // namespace qm
