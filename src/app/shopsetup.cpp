#include "app/shopsetup.h"

#include "core/numtext.h"
#include "core/platform.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/shopsetupstore.h"

namespace qm {

ShopSetup::ShopSetup(Database& db, const Home& home, Platform& platform)
    : m_db(db)
    , m_platform(platform)
    , m_records(db)
    , m_editor(m_records, home, platform)
    , m_form(m_editor.fill()) {}

bool ShopSetup::offeredAtStart(const Database& db, bool turnedOff) {
    return !turnedOff && setupPending(db);
}

QString ShopSetup::telephoneLine() const {
    return m_form.extra1 && m_form.extra1Text != extraLine1DesignText ? m_form.extra1Text : QString();
}

bool ShopSetup::applyShop(const ShopNamesChoice& choice) {
    const auto replace = [&](const QString& table, const QString& column, const QStringList& samples,
                             const QStringList& texts) {
        return texts.isEmpty() ||
               replaceListRows(m_db, table, column, choice.replaceSamples ? samples : QStringList(), texts);
    };
    if (!replace(QStringLiteral("店名"), QStringLiteral("店铺名称"), sampleShopNames(), choice.shopNames) ||
        !replace(QStringLiteral("票头设置"), QStringLiteral("票头"), sampleTicketHeaders(),
                 choice.ticketHeaders)) {
        m_platform.showMessage(QStringLiteral("保存失败：") + m_db.lastError(), MessageIcon::Warning);
        return false;
    }
    // The order form starts with the first of each, as it starts with the choice it last saved.
    if (!choice.shopNames.isEmpty())
        m_records.write(QStringLiteral("店铺名称"), choice.shopNames.first());
    if (!choice.ticketHeaders.isEmpty())
        m_records.write(QStringLiteral("票头"), choice.ticketHeaders.first());

    PrintSettingsForm form = m_form;
    form.extra1 = !trimBlanks(choice.telephoneLine).isEmpty();
    form.extra1Text = form.extra1 ? trimBlanks(choice.telephoneLine) : m_form.extra1Text;
    return store(form);
}

PrintSettingsForm ShopSetup::withPrinter(const PrintSettingsForm& printer, int receiptType) const {
    PrintSettingsForm form = m_form;
    form.printer = printer.printer;
    form.portText = printer.portText;
    form.receiptType = receiptType;
    return form;
}

bool ShopSetup::applyPrinter(const PrintSettingsForm& printer, int receiptType, PrinterField* invalid) {
    return store(withPrinter(printer, receiptType), invalid);
}

bool ShopSetup::printTestPage(const PrintSettingsForm& printer, int receiptType) {
    PrintSettingsForm form = withPrinter(printer, receiptType);
    return m_editor.printTestPage(form);
}

bool ShopSetup::applyPictures(PictureChoice choice, const PicturePick& top, const PicturePick& bottom) {
    PrintSettingsForm form = m_form;
    switch (choice) {
    case PictureChoice::None:
        form.topPicture = form.bottomPicture = false;
        break;
    case PictureChoice::Samples:
        form.topPicture = form.bottomPicture = true;
        break;
    case PictureChoice::Own:
        form.topPicture = !top.bytes.isEmpty();
        form.bottomPicture = !bottom.bytes.isEmpty();
        form.top = top;
        form.bottom = bottom;
        // The pictures print under the custom styling only.
        form.settingType = 1;
        break;
    }
    return store(form);
}

bool ShopSetup::applyMenu(MenuChoice choice) {
    if (choice == MenuChoice::Keep)
        return true;
    if (!deleteAllDishes(m_db)) {
        m_platform.showMessage(QStringLiteral("清空菜单失败：") + m_db.lastError(), MessageIcon::Warning);
        return false;
    }
    return true;
}

void ShopSetup::finish() {
    markSetupDone(m_db);
}

bool ShopSetup::store(PrintSettingsForm form, PrinterField* invalid) {
    int invalidElement = 0;
    PrinterField invalidPrinter = PrinterField::None;
    const PrintSettingsEditor::ApplyResult result = m_editor.apply(form, &invalidElement, &invalidPrinter);
    if (invalid)
        *invalid = invalidPrinter;
    if (result != PrintSettingsEditor::ApplyResult::Saved)
        return false;
    // What was stored is what the next page starts from; a newly chosen picture is now the home's own.
    form.top.path.clear();
    form.bottom.path.clear();
    m_form = form;
    return true;
}

QStringList boxLines(const QString& text) {
    QStringList lines;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString trimmed = trimBlanks(line);
        if (!trimmed.isEmpty() && !lines.contains(trimmed))
            lines << trimmed;
    }
    return lines;
}

} // namespace qm
