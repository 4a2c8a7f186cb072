#pragma once

#include <optional>

// The fields of the order form and how the keyboard moves through them.
namespace qm {

// The fields of the form, one per control of the main window.
enum class OrderField {
    OrderNumber,    // 编辑框_编号
    TicketHeader,   // 组合框_票头 (choice)
    ShopName,       // 组合框_店铺名称 (choice)
    OrderTime,      // 编辑框_时间
    DishCode,       // 编辑框_项目代号
    DiscountName,   // 组合框_减免 (choice)
    DiscountCount,  // 编辑框_减免份数
    DiscountAmount, // 编辑框_减免金额
    Total,          // 编辑框_合计
    PaymentMethod,  // 组合框_付款方式 (choice)
    Paid,           // 编辑框_已支付
    ToPay,          // 编辑框_实付
    TableCode,      // 编辑框_时间2
    TableName,      // 组合框_桌号 (choice)
    Telephone,      // 编辑框_电话
    CustomerName,   // 编辑框_姓名
    Address,        // 编辑框_地址
    Note,           // 编辑框_备注
    OrderId,        // ID: the stored order open for change
};

bool isChoiceField(OrderField field);

// What Enter does in a field: passed on to the control, or consumed (the focus moving to `next` when the
// key is released, or staying where it is when there is no next field).
struct EnterRule {
    bool consumed = false;
    std::optional<OrderField> next;
};
EnterRule enterRule(OrderField field);
// Fields whose whole text is selected when they get the focus: every edit box.
bool selectsAllOnFocus(OrderField field);
// Fields whose losing the focus refreshes the preview.
bool refreshesPreviewOnLeave(OrderField field);

} // namespace qm
