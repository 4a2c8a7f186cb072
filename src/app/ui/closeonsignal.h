#pragma once

// When the system asks the program to end (SIGTERM at logout or shutdown, SIGHUP, SIGINT), its windows
// close as by their close buttons: the form's choices are saved, the write-ahead log is folded into the
// database and the copy of the day is made, as on an ordinary close.
namespace qm {

// Installs the signal handlers; call once, after the application object exists.
void closeWindowsOnTermination();

} // namespace qm
