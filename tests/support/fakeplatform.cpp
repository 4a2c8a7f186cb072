#include "support/fakeplatform.h"

namespace qm {

namespace {
QString shownCaption(const QString& caption) {
    return caption.isEmpty() ? defaultCaption : caption;
}
} // namespace

void FakePlatform::showMessage(const QString& text, MessageIcon icon, const QString& caption) {
    shown.append({Kind::Message, text, icon, shownCaption(caption)});
}

bool FakePlatform::askYesNo(const QString& text, MessageIcon icon, const QString& caption) {
    shown.append({Kind::Question, text, icon, shownCaption(caption)});
    if (yesNoAnswers.isEmpty()) {
        ++unanswered;
        return false;
    }
    return yesNoAnswers.dequeue();
}

std::optional<QString> FakePlatform::askText(const QString& title, const QString& prompt, const QString&,
                                             bool) {
    shown.append({Kind::Input, prompt, MessageIcon::None, title});
    if (textAnswers.isEmpty()) {
        ++unanswered;
        return std::nullopt;
    }
    return textAnswers.dequeue();
}

QString FakePlatform::openFileName(const QString& title, const QString&) {
    shown.append({Kind::OpenFile, title, MessageIcon::None, title});
    return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
}

QString FakePlatform::saveFileName(const QString& title, const QString&, const QString&) {
    shown.append({Kind::SaveFile, title, MessageIcon::None, title});
    return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
}

std::unique_ptr<ReceiptPrinter> FakePlatform::choosePrinter(const PrintRequest& request) {
    shown.append({Kind::PrintDialog, request.documentName, MessageIcon::None, QString()});
    printRequests.append(request);
    if (printers.isEmpty())
        return nullptr;
    return printers.dequeue()(request);
}

bool FakePlatform::openDocument(const QString& path) {
    openedDocuments.append(path);
    return true;
}

bool FakePlatform::openUrl(const QUrl& url) {
    openedUrls.append(url);
    return true;
}

QStringList FakePlatform::texts() const {
    QStringList out;
    for (const Shown& s : shown) {
        if (s.kind == Kind::Message || s.kind == Kind::Question)
            out << s.text;
    }
    return out;
}

} // namespace qm
