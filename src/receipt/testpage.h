#pragma once

#include "receipt/rawsenders.h"

#include <QImage>
#include <QString>

// The test page of the print settings window: the shop name, the time, the printer, and a ruler of the
// printable width, so that a new printer can be checked before the first order.
namespace qm {

class Platform;
class ReceiptSurface;
struct PrinterChoice;

struct TestPage {
    QString shopName;
    QString time;
    QString printer; // which printer, in words
    int paperWidthMm = 58;
    int rulerMm = 48; // the printable width the ruler spans
};

// A ruler `millimetres` long at 8 dots per mm: a tick each millimetre, longer ones each 5 and 10 mm,
// numbered each 10 mm.
QImage rulerPicture(int millimetres);

// Lays the page out from y = 0; returns the drawn height.
int drawTestPage(ReceiptSurface& surface, const TestPage& page, const QImage& ruler);

// Prints the test page on `choice` (the system printer through the print dialog) for a roll
// `paperWidthMm` wide with the layout width `printWidth`. Failures are told; false when nothing printed.
bool printTestPage(Platform& platform, const PrinterChoice& choice, int paperWidthMm, int printWidth,
                   const QString& shopName, const SendLimits& limits = {});

} // namespace qm
