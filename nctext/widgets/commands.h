#pragma once
// The NC text commands of the main window: renumbering, spacing, the
// coordinate check and edit, search and replace, and the file compare.
#include <QObject>
#include <QStringList>

namespace velmora {

class Document;
class Host;
class TFCompare;
class TFPrecislovani;
class TFSpacing;
class TextSearch;

class NcTextCommands : public QObject {
    Q_OBJECT
public:
    explicit NcTextCommands(Host &host);

    void RenumberExecute();
    void SpacingExecute();
    void ConltrolXYZExecute();
    void AddExecute();
    void FileCompareExecute();

    TFPrecislovani *precislovani() const { return precislovani_; }
    TFSpacing *spacing() const { return spacing_; }
    TFCompare *compare() const { return compare_; }
    TextSearch *textSearch() const { return search_; }

private:
    Host &host_;
    TFPrecislovani *precislovani_;
    TFSpacing *spacing_;
    TFCompare *compare_;
    TextSearch *search_;
};

// Writes `after` into the document as one undoable edit that replaces only the
// lines that changed, keeps the caret and marks the document modified. The
// list is emptied on the way, so that its memory is free before the edit.
void writeBackLines(Document *doc, QStringList &&after);

struct RenumberOptions;
// The renumbering command on a document with the dialog's choices, under the busy cursor.
void renumberDocument(Host &host, Document *doc, const RenumberOptions &options, bool selectionOnly);

} // namespace velmora
