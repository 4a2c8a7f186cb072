#include "app/helpdocuments.h"

#include "core/home.h"
#include "core/platform.h"

#include <QFile>
#include <QSaveFile>

namespace qm {

namespace {

QString resourcePath(HelpDocument document) {
    return document == HelpDocument::Usage ? QStringLiteral(":/help/usage.html")
                                           : QStringLiteral(":/help/printing.html");
}

bool writeDocument(HelpDocument document, const QString& path) {
    QFile source(resourcePath(document));
    if (!source.open(QIODevice::ReadOnly))
        return false;
    QSaveFile target(path);
    return target.open(QIODevice::WriteOnly) && target.write(source.readAll()) == source.size() &&
           target.commit();
}

} // namespace

QString helpDocumentFileName(HelpDocument document) {
    return document == HelpDocument::Usage ? QStringLiteral("怎样使用软件.html")
                                           : QStringLiteral("打印不了怎么办.html");
}

bool openHelpDocument(HelpDocument document, const Home& home, Platform& platform) {
    const QString path = home.filePath(helpDocumentFileName(document));
    const bool written = writeDocument(document, path);
    const bool opened = platform.openDocument(path);
    return written && opened;
}

} // namespace qm
