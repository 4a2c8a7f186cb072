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
// The same, stopping at the decimal point (as C atoi): "2.7" reads as 2. Out of range values clamp.
int textToInt(const QString& text);

// Rounds to `places` decimals, halves away from zero, after a 1e-12 nudge of the magnitude.
double roundHalfAway(double value, int places);

// Leading and trailing blanks (ASCII and full-width spaces) removed; blanks inside stay.
QString trimBlanks(const QString& text);

} // namespace qm
