#pragma once

#include "receipt/receiptsettings.h"

#include <QByteArray>
#include <QString>

#include <array>

// The rules of the print settings window, on the plain values its controls hold.
namespace qm {

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
};

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

    enum class ApplyResult { Invalid, Refused, Saved };
    // Validates, then stores every setting as an update of its row and writes newly chosen pictures.
    // Refused when the rows were never created ("设置失败.错误7763"). `invalidElement` receives the
    // element that failed validation.
    ApplyResult apply(PrintSettingsForm& form, int* invalidElement = nullptr) const;

    // The open-file dialog for a PNG picture; false when cancelled or the file is not there. A picture
    // larger than 430 pixels either way is taken after a word of advice.
    bool choosePicture(PicturePick& pick) const;

private:
    const RecordStore& m_records;
    const Home& m_home;
    Platform& m_platform;
};

} // namespace qm
