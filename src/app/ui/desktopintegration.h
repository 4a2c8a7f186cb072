#pragma once

#include <QString>

class QCoreApplication;
class QIcon;

// How the program sits on the desktop: Qt's own dialogs and buttons in Simplified Chinese, the program
// icon on every window, and the desktop entry the windows belong to.
namespace qm {

// The name of the desktop entry, the icon in the icon theme and the AppStream component.
inline const QString desktopFileId = QStringLiteral("org.quillmenu.Quillmenu");

// Loads Qt's own Simplified Chinese translations (print and file dialogs, standard buttons, the input
// box) into the application. False when they are not installed: those texts then stay in English.
bool installQtTranslations(QCoreApplication& app);
// The program icon in the sizes it carries (48, 128 and 256 pixels).
QIcon programIcon();
// Translations, the Chinese locale for every widget, Qt's own dialogs in place of the desktop's and the
// desktop entry, once the application exists.
void setUpDesktopIntegration(QCoreApplication& app);
// The program icon on every window. Its pictures take longer to decode than the rest of the set-up, so
// start-up sets it once the main window is on screen.
void setProgramIcon();

} // namespace qm
