#pragma once

#include <QString>

// Where file dialogs open: in the user's home folder, a backup on the first USB stick or disk the desktop
// has mounted under /media (/media/<user>/<stick>, or /media/<stick> on older systems).
namespace qm {

// The first removable medium in `mounts` (the text of /proc/self/mounts), in the order they were mounted;
// empty when there is none.
QString removableMediumIn(const QString& mounts, const QString& user);
// The folder the backup's folder chooser opens in: the first mounted removable medium, else the home
// folder.
QString backupStartFolder();
// The folder the other file dialogs open in.
QString userStartFolder();

} // namespace qm
