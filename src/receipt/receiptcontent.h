#pragma once

#include "order/orderformvalues.h"

#include <QList>
#include <QString>

// What a receipt shows: the order form's texts at the moment of drawing, none of them reformatted.
namespace qm {

struct ReceiptContent {
    QString orderNumber;
    QString ticketHeader;
    QString shopName;
    QString paymentMethod;
    QString orderTime;
    QList<OrderLine> lines; // grid rows from row 1 on; rows with an empty name are skipped when drawn
    QString discountName;
    QString discountCount;
    QString discountAmount;
    QString total;
    QString paid;
    QString tableName;
    QString customerName;
    QString telephone;
    QString address;
    QString note;
};

ReceiptContent receiptContentFrom(const OrderFormValues& form);

} // namespace qm
