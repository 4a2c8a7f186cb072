#pragma once

namespace qm {

// The program: command line, fonts, program home, database, main window. Returns the exit status.
int runApplication(int argc, char** argv);

} // namespace qm
