#pragma once

#include "receipt/printsettingseditor.h"
#include "store/settings.h"

#include <QStringList>

// The set-up of a new shop, page by page: its names and telephone line, the receipt printer, the receipt
// pictures and the menu. Each page stores its own choices when it is left forward, so the receipt
// preview shows them at once. A page's defaults keep the names, the printer and the menu, and are what
// a real shop wants of the samples meant for trying out: no sample telephone line, no sample pictures.
namespace qm {

class Database;
class Home;
class Platform;

struct ShopNamesChoice {
    QStringList shopNames;     // one per line of the box, blanks trimmed, empty lines dropped
    QStringList ticketHeaders; // likewise
    bool replaceSamples = false;
    QString telephoneLine; // extra line 1; empty prints no line
};

enum class PictureChoice { None, Samples, Own };
enum class MenuChoice { Keep, Empty, Import };

class ShopSetup {
public:
    ShopSetup(Database& db, const Home& home, Platform& platform);

    // Offered at start: a new home, never finished or skipped, no order stored, not turned off.
    static bool offeredAtStart(const Database& db, bool turnedOff);

    // The print settings as stored, which the printer and picture pages change.
    const PrintSettingsForm& printSettings() const { return m_form; }
    // The telephone line the shop page starts with: empty while the sample line is in place.
    QString telephoneLine() const;

    // Each false when nothing was stored (the user was told why).
    bool applyShop(const ShopNamesChoice& choice);
    // The printer part of `printer` and its paper width (0 = 58 mm, 1 = 80 mm). `invalid` receives the
    // field that failed validation.
    bool applyPrinter(const PrintSettingsForm& printer, int receiptType, PrinterField* invalid = nullptr);
    bool printTestPage(const PrintSettingsForm& printer, int receiptType);
    // `top` and `bottom` are the chosen pictures for PictureChoice::Own; one not chosen prints nothing.
    bool applyPictures(PictureChoice choice, const PicturePick& top = {}, const PicturePick& bottom = {});
    bool choosePicture(PicturePick& pick) const { return m_editor.choosePicture(pick); }
    // Empty and Import both clear the sample dishes; the import itself is the dish import window's.
    bool applyMenu(MenuChoice choice);

    // 完成 and 跳过 both end the offer at start.
    void finish();

private:
    // The stored settings with the printer part of `printer` and the paper width.
    PrintSettingsForm withPrinter(const PrintSettingsForm& printer, int receiptType) const;
    bool store(PrintSettingsForm form, PrinterField* invalid = nullptr);

    Database& m_db;
    Platform& m_platform;
    RecordStore m_records;
    PrintSettingsEditor m_editor;
    PrintSettingsForm m_form;
};

// A box's lines, blanks trimmed, empty lines dropped.
QStringList boxLines(const QString& text);

} // namespace qm
