#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// The pictures printed at the top and bottom of a receipt: data/stp.png and data/xtp.png in the program
// home, with built-in placeholders for a missing file.
namespace qm {

class Home;

enum class PicturePlace { Top, Bottom };

QString picturePath(const Home& home, PicturePlace place);
// The resource path of the built-in picture (430 × 189 at the top, 430 × 430 at the bottom).
QString builtinPicturePath(PicturePlace place);
// The bytes the settings window shows: the file's, or the built-in picture's when the file is missing or
// empty.
QByteArray shownPictureBytes(const Home& home, PicturePlace place);
// For printing: the file's picture; a null image when the file is missing or unreadable.
QImage loadPrintPicture(const Home& home, PicturePlace place);
// For the preview: a missing file is first written from the built-in picture, then the file is loaded.
QImage loadPreviewPicture(const Home& home, PicturePlace place);
// Replaces the picture file with these bytes; the cause when it could not be written, else empty.
QString writePictureFile(const Home& home, PicturePlace place, const QByteArray& bytes);

} // namespace qm
