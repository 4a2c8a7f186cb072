#include "receipt/receiptcontent.h"

namespace qm {

ReceiptContent receiptContentFrom(const OrderFormValues& form) {
    ReceiptContent content;
    content.orderNumber = form.orderNumber;
    content.ticketHeader = form.ticketHeader;
    content.shopName = form.shopName;
    content.paymentMethod = form.paymentMethod;
    content.orderTime = form.orderTime;
    content.lines = form.lines;
    content.discountName = form.discountName;
    content.discountCount = form.discountCount;
    content.discountAmount = form.discountAmount;
    content.total = form.total;
    content.paid = form.paid;
    content.tableName = form.tableName;
    content.customerName = form.customerName;
    content.telephone = form.telephone;
    content.address = form.address;
    content.note = form.note;
    return content;
}

} // namespace qm
