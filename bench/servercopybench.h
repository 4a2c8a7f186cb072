#pragma once

// The move of a large home's SQLite data to a PostgreSQL server (quillmenu --copy-to): the time of the
// whole copy into a throwaway server and the memory it took.
namespace qm {
class Home;
}

namespace qm::bench {

// False when the server could not be started or the copy failed (told on stderr).
bool benchServerCopy(const Home& home);

} // namespace qm::bench
