#include "app/abouttext.h"

#include "app/version.h"

namespace qm {

QString aboutText() {
    return productTitle() + QStringLiteral("\n\n餐厅点单、小票打印与销售统计软件。\n"
                                           "外卖与堂食订单、58/80 毫米小票、菜品、顾客、桌号与历史订单。");
}

} // namespace qm
