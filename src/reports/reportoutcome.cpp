#include "reports/reportoutcome.h"

#include "core/numtext.h"

#include <cmath>
#include <limits>

namespace qm {

double raiseChartMaximum(double maximum, double amount, qint64 count) {
    if (amount - maximum > 1e-7)
        return std::trunc(amount);
    if (maximum < double(count))
        return double(count);
    return maximum;
}

int chartAxisMaximum(double maximum) {
    if (!std::isfinite(maximum) || maximum <= 0)
        return 0;
    const double hundreds = maximum / 100;
    double axis = maximum;
    if (hundreds - std::trunc(hundreds) > 1e-7)
        axis = (std::trunc(hundreds) + 1) * 100;
    // An absurd amount keeps the axis at the largest value the chart can take.
    return axis >= double(std::numeric_limits<int>::max()) ? std::numeric_limits<int>::max() : int(axis);
}

QString readErrorMessage(const QString& reason) {
    return QStringLiteral("无法读取点单数据，报表没有生成。\r\n\r\n") + reason;
}

qint64 truncatedAmount(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= 9.2e18)
        return std::numeric_limits<qint64>::max();
    if (value <= -9.2e18)
        return std::numeric_limits<qint64>::min();
    return qint64(std::trunc(value));
}

QString averageText(double total, qint64 count) {
    return doubleText(roundHalfAway(total / double(count), 1));
}

} // namespace qm
