#pragma once

#include "receipt/printsettingseditor.h"
#include "store/settings.h"

#include <QDialog>

#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace qm {

class Home;
class KitchenPrintTab;
class PrinterFields;
class Platform;

// The window "打印设置": receipt type, styling, extra lines, pictures, type sizes, copies, the printer
// receipts go to, and the kitchen stations' printers.
class PrintSettingsWindow : public QDialog {
    Q_OBJECT
public:
    // `afterApply` runs after each "应用设置" that got past validation (the preview redraws).
    // With `event` (staff mode), each change applied is recorded as it.
    PrintSettingsWindow(Database& db, Platform& platform, const Home& home, std::function<void()> afterApply,
                        std::optional<AuditEvent> event = std::nullopt, QWidget* parent = nullptr);

private:
    struct PictureRow {
        QCheckBox* check;
        QLineEdit* path;
        QPushButton* choose;
        QLabel* picture;
        QByteArray bytes;
    };

    QWidget* buildSettingsPage();
    QWidget* buildFontPage();
    QWidget* buildPrinterPage();
    void buildPictureRow(PictureRow& row, const QString& caption, const QString& suffix, int number,
                         QWidget* page);
    void fill();
    PrintSettingsForm collect() const;
    void showPicture(PictureRow& row, const QByteArray& bytes);
    void choosePicture(PictureRow& row);
    void enableCustomControls();
    void focusSize(int element);
    void focusPrinterField(PrinterField field);
    void printTestPage();
    bool applySettings();
    void confirm();

    RecordStore m_records;
    const Home& m_home;
    PrintSettingsEditor m_editor;
    std::function<void()> m_afterApply;

    QComboBox* m_receiptType;
    QComboBox* m_settingType;
    QTabWidget* m_tabs;
    QCheckBox* m_extra1;
    QLineEdit* m_extra1Text;
    QCheckBox* m_extra2;
    QLineEdit* m_extra2Text;
    PictureRow m_top;
    PictureRow m_bottom;
    std::array<QLineEdit*, receiptElementCount> m_sizes{};
    std::array<QCheckBox*, receiptElementCount> m_bold{};
    QLineEdit* m_copies;

    PrinterFields* m_printer;
    KitchenPrintTab* m_kitchen;
};

// Opens the window modally over `parent`.
void openPrintSettings(QWidget* parent, Database& db, Platform& platform, const Home& home,
                       std::function<void()> afterApply, std::optional<AuditEvent> event = std::nullopt);

} // namespace qm
