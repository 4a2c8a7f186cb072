#include "app/helpdocuments.h"

#include "core/home.h"
#include "core/platform.h"
#include "core/systemerror.h"

#include <QDir>
#include <QFile>

namespace qm {

namespace {

QString resourcePath(HelpDocument document) {
    return document == HelpDocument::Usage ? QStringLiteral(":/help/usage.html")
                                           : QStringLiteral(":/help/printing.html");
}

// The cause when the document could not be written, else empty.
QString writeDocument(HelpDocument document, const QString& path) {
    QFile source(resourcePath(document));
    if (!source.open(QIODevice::ReadOnly))
        return source.errorString();
    return writeWholeFile(path, source.readAll());
}

} // namespace

QString helpDocumentFileName(HelpDocument document) {
    return document == HelpDocument::Usage ? QStringLiteral("怎样使用软件.html")
                                           : QStringLiteral("打印不了怎么办.html");
}

bool openHelpDocument(HelpDocument document, const Home& home, Platform& platform) {
    const QString path = home.filePath(helpDocumentFileName(document));
    const QString writeError = writeDocument(document, path);
    const bool written = writeError.isEmpty();
    const bool opened = platform.openDocument(path);
    // Without a program to open it (no xdg-utils, no browser) nothing would appear: say where the file is,
    // so that it can be opened by hand or copied.
    if (!opened && written)
        platform.showMessage(QStringLiteral("没有可以打开帮助文件的程序（请安装 xdg-utils 和网页浏览器）。"
                                            "帮助文件已写到：\n%1")
                                 .arg(QDir::toNativeSeparators(path)),
                             MessageIcon::Warning);
    else if (!opened)
        platform.showMessage(QStringLiteral("帮助文件写不进程序文件夹（%1），也打不开：\n%2")
                                 .arg(writeError, QDir::toNativeSeparators(path)),
                             MessageIcon::Warning);
    return written && opened;
}

} // namespace qm
