#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

// The platform seam: every modal interaction and outside service the system uses. Windows receive a
// Platform; production passes the Qt implementation, tests a scripted fake.
namespace qm {

class ReceiptSurface;

enum class MessageIcon { None, Information, Warning, Question, Stop };

// The caption of a message box when a window names none.
inline const QString defaultCaption = QStringLiteral("信息：");

// What the print dialog is asked for: the paper roll and the print width, both for one receipt.
struct PrintRequest {
    int paperWidthMm = 58; // 58 or 80
    int printWidth = 480;  // usable width in printer units (0.1 mm)
    QString documentName;  // the spooler's name for the job
};

// A printer the user chose or confirmed in the print dialog. Later copies go to it without asking.
class ReceiptPrinter {
public:
    virtual ~ReceiptPrinter() = default;
    // Prints one page as one job. `draw` lays the receipt out from y = 0 on the surface it is given and
    // returns the drawn height; it may be called more than once (a first pass measures the page).
    virtual bool printPage(const std::function<int(ReceiptSurface&)>& draw) = 0;
};

// The progress window of a long task, with a Cancel button; closed when destroyed.
class Progress {
public:
    virtual ~Progress() = default;
    // Moves the bar to `value` (0 .. maximum) and lets the window breathe; false once the user has
    // cancelled.
    virtual bool advance(int value) = 0;
};

// What the sign-in box gives back: the chosen name and the PIN typed.
struct SignInAnswer {
    QString name;
    QString secret;
};

class Platform {
public:
    virtual ~Platform() = default;

    // A modal message with an OK button. An empty caption means the default caption.
    virtual void showMessage(const QString& text, MessageIcon icon, const QString& caption = {}) = 0;
    // A modal Yes/No question; true on Yes.
    virtual bool askYesNo(const QString& text, MessageIcon icon = MessageIcon::Question,
                          const QString& caption = {}) = 0;
    // The same question with No as the answer Enter gives, for a question whose Yes overwrites stored data.
    virtual bool askYesNoDefaultNo(const QString& text, MessageIcon icon, const QString& caption = {}) {
        return askYesNo(text, icon, caption);
    }
    // The same message and question with technical details (what SQLite or the system reported) kept
    // behind the box's details button, so that the question stays short and its buttons on the screen.
    virtual void showMessageWithDetails(const QString& text, const QString& details, MessageIcon icon) {
        showMessage(text + QStringLiteral("\n\n") + details, icon);
    }
    virtual bool askYesNoWithDetails(const QString& text, const QString& details, MessageIcon icon) {
        return askYesNo(text + QStringLiteral("\n\n") + details, icon);
    }
    // A modal input box; no value when cancelled. `decimal` restricts the input to a decimal number.
    virtual std::optional<QString> askText(const QString& title, const QString& prompt,
                                           const QString& initial, bool decimal) = 0;
    // A modal box for a PIN or password: the typed text is never shown; no value when cancelled.
    virtual std::optional<QString> askSecret(const QString& title, const QString& prompt) = 0;
    // The sign-in box covering the main window: a choice of `names` and a PIN box, `notice` telling how the
    // last try went (empty at first). No value when the cashier leaves the program instead.
    virtual std::optional<SignInAnswer> askSignIn(const QStringList& names, const QString& notice) = 0;
    // Open-file and save-file dialogs, opening in the user's home folder; an empty text when cancelled.
    // Filters are Qt filter texts.
    virtual QString openFileName(const QString& title, const QString& filter) = 0;
    virtual QString saveFileName(const QString& title, const QString& filter, const QString& suggested) = 0;
    // The folder chooser of a backup, opening on the first mounted USB stick, else in the home folder; an
    // empty text when cancelled.
    virtual QString chooseFolder(const QString& title) = 0;
    // Shows the progress of a long task over the window in front.
    virtual std::unique_ptr<Progress> startProgress(const QString& title, const QString& label,
                                                    int maximum) = 0;
    // The print dialog for the first copy of a receipt; null when cancelled or no printer is there.
    virtual std::unique_ptr<ReceiptPrinter> choosePrinter(const PrintRequest& request) = 0;
    // Opens a document with its default application, or a web page in the browser.
    virtual bool openDocument(const QString& path) = 0;
    virtual bool openUrl(const QUrl& url) = 0;
    // The clock.
    virtual QDateTime now() const = 0;
};

} // namespace qm
