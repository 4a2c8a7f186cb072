#include "support/fakeplatform.h"

#include <algorithm>

namespace qm {

namespace {
QString shownCaption(const QString& caption) {
    return caption.isEmpty() ? defaultCaption : caption;
}
class FakeProgress : public Progress {
public:
    FakeProgress(FakePlatform& platform, int index)
        : m_platform(platform)
        , m_index(index) {}
    bool advance(int value) override {
        int& reached = m_platform.progressReached[m_index];
        reached = std::max(reached, value);
        return m_platform.cancelProgressAt < 0 || value < m_platform.cancelProgressAt;
    }

private:
    FakePlatform& m_platform;
    int m_index;
};

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

bool FakePlatform::askYesNoDefaultNo(const QString& text, MessageIcon icon, const QString& caption) {
    const bool answer = askYesNo(text, icon, caption);
    shown.last().defaultNo = true;
    return answer;
}

void FakePlatform::showMessageWithDetails(const QString& text, const QString& details, MessageIcon icon) {
    showMessage(text, icon);
    shown.last().details = details;
}

bool FakePlatform::askYesNoWithDetails(const QString& text, const QString& details, MessageIcon icon) {
    const bool answer = askYesNo(text, icon);
    shown.last().details = details;
    return answer;
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

std::optional<QString> FakePlatform::askSecret(const QString& title, const QString& prompt) {
    shown.append({Kind::Secret, prompt, MessageIcon::None, title});
    if (secretAnswers.isEmpty()) {
        ++unanswered;
        return std::nullopt;
    }
    return secretAnswers.dequeue();
}

std::optional<SignInAnswer> FakePlatform::askSignIn(const QStringList& names, const QString& notice) {
    shown.append({Kind::SignIn, notice, MessageIcon::None, QStringLiteral("登录")});
    signInNames.append(names);
    if (signInAnswers.isEmpty()) {
        ++unanswered;
        return std::nullopt;
    }
    return signInAnswers.dequeue();
}

QString FakePlatform::openFileName(const QString& title, const QString&) {
    shown.append({Kind::OpenFile, title, MessageIcon::None, title});
    return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
}

QString FakePlatform::saveFileName(const QString& title, const QString&, const QString&) {
    shown.append({Kind::SaveFile, title, MessageIcon::None, title});
    return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
}

QString FakePlatform::chooseFolder(const QString& title) {
    shown.append({Kind::Folder, title, MessageIcon::None, title});
    return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
}

std::unique_ptr<Progress> FakePlatform::startProgress(const QString& title, const QString& label, int) {
    shown.append({Kind::Progress, label, MessageIcon::None, title});
    progressReached.append(0);
    return std::make_unique<FakeProgress>(*this, int(progressReached.size()) - 1);
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
    return documentsOpen;
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
