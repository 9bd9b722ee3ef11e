#pragma once
// The "Export do HTML" command.
#include <QString>

namespace velmora {
class Document;
class Host;
class UserIO;

// Connects and enables the command MExportToHTML.
void installHtmlExport(Host &host);

// Asks for a file name and writes the document as HTML with its highlighter's
// colours; a write failure is reported naming the file. Returns the file
// written, empty when cancelled or failed.
QString exportDocumentToHtml(Document &doc, UserIO &io);

} // namespace velmora
