#pragma once

class QImage;

// The receipt, element by element, on any drawing surface.
namespace qm {

class ReceiptSurface;
struct ReceiptContent;
struct ReceiptSettings;

// Draws one receipt from y = 0 and returns its drawn height. A picture is drawn when its flag is on and
// the picture is given and not null.
int drawReceipt(ReceiptSurface& surface, const ReceiptSettings& settings, const ReceiptContent& content,
                const QImage* top, const QImage* bottom);

} // namespace qm
