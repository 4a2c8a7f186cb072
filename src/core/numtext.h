#pragma once

#include <QString>

// Number text and rounding, as every field and every stored value of the system uses them.
namespace qm {

// A value counts as zero when its magnitude is at most this.
inline constexpr double zeroTolerance = 0.0000001;

bool isZero(double value);

// Double-precision value as text: at most 13 significant digits, shortest form ("%.13g").
QString doubleText(double value);
// Single-precision value as text: at most 6 significant digits ("%.6g").
QString singleText(double value);

// Full-width forms (U+FF01..U+FF5E, the ideographic space, ￥ and ￣) folded to their ASCII forms.
QString foldFullWidth(const QString& text);

// Text read as a number after folding full-width characters: leading white space skipped, the longest
// leading decimal number taken (as C atof); a text without one reads as 0.
double textToNumber(const QString& text);
// The largest magnitudes a typed value may have: a price or an amount, a quantity or a count.
inline constexpr double amountLimit = 1000000;
inline constexpr double quantityLimit = 100000;
// Whether a typed number fits a field: not beyond what a double holds (1e309), and its magnitude at most
// `limit`. A text without a number fits (it reads as 0).
bool fitsRange(const QString& text, double limit);
// The message refusing a value of the field `what` beyond `limit`.
QString outOfRangeMessage(const QString& what, double limit);

// The same, stopping at the decimal point (as C atoi): "2.7" reads as 2. Out of range values clamp.
int textToInt(const QString& text);

// Rounds to `places` decimals, halves away from zero, after a 1e-12 nudge of the magnitude.
double roundHalfAway(double value, int places);

// Leading and trailing blanks (ASCII and full-width spaces) removed; blanks inside stay.
QString trimBlanks(const QString& text);
// The same, with line breaks (CR and LF) around the text removed as well.
QString trimBlanksAndLineBreaks(const QString& text);

// The text of a one-line field: each line break (CR LF, LF or CR, as a paste brings them) becomes one
// space, so that the lines do not run together where the text is shown or printed.
QString oneLineText(const QString& text);

} // namespace qm
