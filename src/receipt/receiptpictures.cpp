#include "receipt/receiptpictures.h"

#include "core/home.h"
#include "core/systemerror.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>

#include <cerrno>

namespace qm {

namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// A picture file is decoded once while it stays the same file (same time and size): the preview is redrawn
// on every key, and decoding two pictures would cost a slow till more than the whole drawing.
QImage decodedPicture(const QString& path) {
    struct Decoded {
        QDateTime modified;
        qint64 size = -1;
        QImage image;
    };
    static QMutex mutex;
    static QHash<QString, Decoded> decoded;
    const QFileInfo info(path);
    if (!info.isFile())
        return QImage();
    const QDateTime modified = info.lastModified();
    const qint64 size = info.size();
    {
        const QMutexLocker lock(&mutex);
        const auto found = decoded.constFind(path);
        if (found != decoded.cend() && found->modified == modified && found->size == size)
            return found->image;
    }
    const QImage image(path);
    const QMutexLocker lock(&mutex);
    decoded.insert(path, {modified, size, image});
    return image;
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
    return decodedPicture(picturePath(home, place));
}

QImage loadPreviewPicture(const Home& home, PicturePlace place) {
    const QString path = picturePath(home, place);
    if (!QFileInfo::exists(path))
        writePictureFile(home, place, fileBytes(builtinPicturePath(place)));
    return decodedPicture(path);
}

QString writePictureFile(const Home& home, PicturePlace place, const QByteArray& bytes) {
    errno = 0;
    if (!QDir().mkpath(home.dataDir()))
        return systemErrorText(errno);
    return writeWholeFile(picturePath(home, place), bytes);
}

} // namespace qm
