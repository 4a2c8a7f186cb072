#include "catalog/dishrules.h"

#include "core/numtext.h"

namespace qm {

double readPrice(const QString& text) {
    return roundHalfAway(textToNumber(text), 1);
}

DishCheck checkDish(const DishInput& input) {
    DishCheck check;
    check.dish = {trimBlanks(input.code),
                  trimBlanks(input.letters),
                  trimBlanks(input.name),
                  readPrice(input.price),
                  input.unit,
                  input.station.isEmpty() ? defaultStation : input.station};
    if (check.dish.code.isEmpty())
        check.refusal = QStringLiteral("数字代号不能为空，请输入代号后重试。");
    else if (check.dish.name.isEmpty())
        check.refusal = QStringLiteral("名称不能为空，请输入名称后重试。");
    else if (!fitsRange(input.price, amountLimit) || check.dish.price > amountLimit)
        check.refusal = outOfRangeMessage(QStringLiteral("价格"), amountLimit);
    else if (check.dish.price <= zeroTolerance)
        check.refusal = QStringLiteral("价格不能小于或者等于0，请输入价格后重试。");
    else if (check.dish.unit.isEmpty())
        check.refusal = QStringLiteral("没有选择项目的计量单位，请选择后重试。");
    return check;
}

} // namespace qm
