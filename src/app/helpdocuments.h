#pragma once

#include <QString>

// The two help documents carried by the program. Opening one writes it into the program home under its
// fixed name, replacing any older copy, and hands the file to the default application.
namespace qm {

class Home;
class Platform;

enum class HelpDocument { Usage, PrintingTrouble };

// The document's file name inside the home.
QString helpDocumentFileName(HelpDocument document);
// Writes the document and asks the platform to open it. A failed write (a read-only home) still asks to
// open the file, so an older copy opens if there is one. A file that does not open is told with the place
// it was written to. True when the document was written and opened.
bool openHelpDocument(HelpDocument document, const Home& home, Platform& platform);

} // namespace qm
