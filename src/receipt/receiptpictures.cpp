#include "receipt/receiptpictures.h"

#include "core/home.h"
#include "core/systemerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace qm {

namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

QString picturePath(const Home& home, PicturePlace place) {
    return place == PicturePlace::Top ? home.topPicturePath() : home.bottomPicturePath();
}

QString builtinPicturePath(PicturePlace place) {
    return place == PicturePlace::Top ? QStringLiteral(":/receipt/top.png")
                                      : QStringLiteral(":/receipt/bottom.png");
}

QByteArray shownPictureBytes(const Home& home, PicturePlace place) {
    const QByteArray bytes = fileBytes(picturePath(home, place));
    return bytes.isEmpty() ? fileBytes(builtinPicturePath(place)) : bytes;
}

QImage loadPrintPicture(const Home& home, PicturePlace place) {
    return QImage(picturePath(home, place));
}

QImage loadPreviewPicture(const Home& home, PicturePlace place) {
    const QString path = picturePath(home, place);
    if (!QFileInfo::exists(path))
        writePictureFile(home, place, fileBytes(builtinPicturePath(place)));
    return QImage(path);
}

QString writePictureFile(const Home& home, PicturePlace place, const QByteArray& bytes) {
    errno = 0;
    if (!QDir().mkpath(home.dataDir()))
        return systemErrorText(errno);
    return writeWholeFile(picturePath(home, place), bytes);
}

} // namespace qm
