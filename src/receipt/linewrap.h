#pragma once

#include <QString>

// Breaking receipt text into lines of at most `width` columns.
namespace qm {

// Inserts CR LF at the break points so that no line is wider than `width` columns, counted as GBK bytes
// (a character outside ASCII takes two). Existing CR LF pairs are kept and never doubled; nothing else
// changes. A run of ASCII letters and digits cut by the width moves whole to the next line unless it
// starts the line; an opening bracket or quote never ends a line, and a closing mark does not begin one
// (the character before it moves along). Every line keeps at least one character, whatever the width.
QString wrapText(const QString& text, int width);

} // namespace qm
