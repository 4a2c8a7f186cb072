#pragma once

#include "receipt/printerchoice.h"
#include "receipt/receiptsettings.h"
#include "store/staffstore.h"

#include <QByteArray>
#include <QString>

#include <array>

// The rules of the print settings window, on the plain values its controls hold.
namespace qm {

class Database;
class Home;
class Platform;
class RecordStore;

// The design texts the extra-line boxes keep while nothing is stored for them.
inline const QString extraLine1DesignText = QStringLiteral("订餐电话:1390000****");
inline const QString extraLine2DesignText = QStringLiteral("订餐微信号:kfwx****");

struct PicturePick {
    QString path;     // the path box: set only when a new picture was chosen
    QByteArray bytes; // the picture box
};

struct PrintSettingsForm {
    int receiptType = 0; // 0 = 58 mm, 1 = 80 mm
    int settingType = 1; // 0 = default styling, 1 = custom
    bool extra1 = false;
    QString extra1Text = extraLine1DesignText;
    bool extra2 = false;
    QString extra2Text = extraLine2DesignText;
    bool topPicture = false;
    bool bottomPicture = false;
    PicturePick top;
    PicturePick bottom;
    QString copies;
    std::array<QString, receiptElementCount> sizes;
    std::array<bool, receiptElementCount> bold{};
    PrinterChoice printer; // its port as typed is `portText`
    QString portText = QString::number(defaultPrinterPort);
};

// The settings as the record of changes tells them, one line each: a newly chosen picture shows as
// "（新图片）".
QString printSettingsText(const PrintSettingsForm& form);

// The printer field that stopped validation.
enum class PrinterField { None, Host, Port, Device, Queue };

class PrintSettingsEditor {
public:
    PrintSettingsEditor(const RecordStore& records, const Home& home, Platform& platform);

    // The window's controls from the stored settings and pictures.
    PrintSettingsForm fill() const;

    // The copies box after an edit: "1" when its text reads as 0 or less, else unchanged.
    static QString copiesAfterEdit(const QString& text);
    // The custom controls are enabled under "自定义" only.
    static bool customControlsEnabled(int settingType) { return settingType != 0; }

    // Clamps the copies to 1..4, then checks the size boxes (element 10 first, then 1 to 9 and 11). On the
    // first invalid box shows the message and returns its element number; 0 when all are valid.
    int validate(PrintSettingsForm& form) const;

    // The fields the chosen printer kind needs: a host and a port from 1 to 65535, a device file or a
    // queue. On the first missing or wrong one shows the message and returns it. The port goes into
    // `form.printer` whatever the kind, as typed when valid, else as stored.
    PrinterField validatePrinter(PrintSettingsForm& form) const;

    enum class ApplyResult { Invalid, InvalidPrinter, Refused, Saved };
    // Validates, then stores every setting as an update of its row and writes newly chosen pictures; the
    // printer choice is written whole, its rows created when missing.
    // Refused when the rows were never created ("设置失败.错误7763") or a file or the database could not be
    // written (the user was told). `invalidElement` receives the element that failed validation,
    // `invalidPrinter` the printer field. With recordChangesIn(), the rows are stored in one transaction
    // with the record's event when something changed; the pictures and the printer choice, which are
    // files, are written first, so the event follows their save.
    ApplyResult apply(PrintSettingsForm& form, int* invalidElement = nullptr,
                      PrinterField* invalidPrinter = nullptr) const;

    // Staff mode: apply() records a change as `event` (修改打印设置) in `db`.
    void recordChangesIn(Database& db, const AuditEvent& event) {
        m_auditDb = &db;
        m_event = event;
    }

    // Staff mode: records a change of settings kept in a file of their own (the kitchen printers), once
    // their save succeeded. Nothing to do without recordChangesIn() or when nothing changed; a record that
    // could not be written is told.
    void recordFileChange(const QString& before, const QString& after) const;

    // The open-file dialog for a PNG picture; false when cancelled or the file is not there. A picture
    // larger than 430 pixels either way is taken after a word of advice.
    bool choosePicture(PicturePick& pick) const;

    // "打印测试页" on the printer and roll the form shows, before they are applied. False when nothing
    // printed (the user was told why).
    bool printTestPage(PrintSettingsForm& form) const;

private:
    const RecordStore& m_records;
    const Home& m_home;
    Platform& m_platform;
    Database* m_auditDb = nullptr;
    std::optional<AuditEvent> m_event;
};

} // namespace qm
