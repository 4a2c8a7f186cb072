#pragma once

#include <QString>

#include <array>

// The effective receipt settings of one rendering, taken from 记录 and the configuration file.
namespace qm {

class RecordStore;
class ConfigFile;

enum class ReceiptType { Mm58, Mm80 };

// Type size in points and weight of one receipt element.
struct ElementStyle {
    int size = 9;
    bool bold = false;
};

struct ExtraLine {
    bool enabled = false;
    QString text;
};

inline constexpr int receiptElementCount = 11;

struct ReceiptSettings {
    ReceiptType type = ReceiptType::Mm58;
    ExtraLine extra1;
    ExtraLine extra2;
    bool topPicture = false;
    bool bottomPicture = false;
    std::array<ElementStyle, receiptElementCount> styles;
    int printWidth = 0; // printer units (0.1 mm); read for printing only

    // The style of element 1 to 11.
    const ElementStyle& style(int element) const { return styles[size_t(element - 1)]; }
};

// Reads the settings afresh. Default styling gives 9 points regular everywhere and no pictures, while the
// extra lines follow their own flags. `forPrinting` also reads the print width of the receipt type from
// the configuration file, appending the entry with its default when it is missing.
ReceiptSettings loadReceiptSettings(const RecordStore& records, const ConfigFile& config, bool forPrinting);

// The print width of a receipt type from the configuration file (appending a missing entry with its
// default); the default when the entry is no positive number.
int printWidthFor(const ConfigFile& config, ReceiptType type);

// The copies a settled order prints: 打印份数, at least 1.
int receiptCopies(const RecordStore& records);

// A stored "|"-joined list cut or padded with empty parts to the eleven elements.
std::array<QString, receiptElementCount> splitElementList(const QString& stored);

} // namespace qm
