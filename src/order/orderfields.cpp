#include "order/orderfields.h"

namespace qm {

bool isChoiceField(OrderField field) {
    switch (field) {
    case OrderField::TicketHeader:
    case OrderField::ShopName:
    case OrderField::DiscountName:
    case OrderField::PaymentMethod:
    case OrderField::TableName:
        return true;
    default:
        return false;
    }
}

EnterRule enterRule(OrderField field) {
    switch (field) {
    case OrderField::DiscountName:
        return {true, OrderField::DiscountCount};
    case OrderField::DiscountCount:
        return {true, OrderField::DiscountAmount};
    case OrderField::PaymentMethod:
        return {true, OrderField::Paid};
    case OrderField::Paid:
        return {true, OrderField::ToPay};
    case OrderField::TableCode:
        return {true, OrderField::TableName};
    case OrderField::TableName:
        return {true, OrderField::Telephone};
    case OrderField::Telephone:
        return {true, OrderField::CustomerName};
    case OrderField::CustomerName:
        return {true, OrderField::Address};
    case OrderField::Address:
        return {true, OrderField::Note};
    case OrderField::DiscountAmount:
    case OrderField::ToPay:
        return {true, std::nullopt};
    default:
        return {};
    }
}

bool selectsAllOnFocus(OrderField field) {
    // Every edit box of the form: whatever is typed after the focus arrives replaces the old text.
    return !isChoiceField(field) && field != OrderField::OrderId;
}

bool refreshesPreviewOnLeave(OrderField field) {
    switch (field) {
    case OrderField::DiscountCount:
    case OrderField::DiscountAmount:
    case OrderField::Total:
    case OrderField::Paid:
    case OrderField::ToPay:
    case OrderField::TableCode:
    case OrderField::Telephone:
    case OrderField::CustomerName:
    case OrderField::Address:
    case OrderField::Note:
        return true;
    default:
        return false;
    }
}

} // namespace qm
