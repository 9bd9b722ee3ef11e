#pragma once
// The search and replace dialogs, the replace confirmation, and the search
// over the active document that they drive.
#include "nctext/logic/search.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace velmora {

class Document;
class Host;
class RadioGroup;

// "Hledej text", and with the replace field "Nahradit text".
class TTextSearchDialog : public QDialog {
    Q_OBJECT
public:
    explicit TTextSearchDialog(bool replace, QWidget *parent = nullptr);

    QComboBox *cbSearchText;
    QComboBox *cbReplaceText = nullptr; // the replace dialog only
    QCheckBox *cbSearchCaseSensitive, *cbSearchWholeWords, *cbSearchFromCursor, *cbSearchSelectedOnly;
    RadioGroup *rgSearchDirection;
    QPushButton *ButtonOK, *ButtonCancel;

    void fill(const SearchState &state);
    // The new search state after OK: typed texts go to the top of their histories.
    void store(SearchState &state) const;
};

// "Nahradit ?": asks before one replacement.
class TConfirmReplaceDialog : public QDialog {
    Q_OBJECT
public:
    enum Result { Cancel = 0, Yes = 1, No = 2, YesToAll = 3 };
    explicit TConfirmReplaceDialog(const QString &searchText, QWidget *parent = nullptr);
    QLabel *Label;
    QPushButton *YesButton, *NoButton, *CancelButton, *YesToAllButton;
};

// The search state of the whole run and the commands Find, FindNextText, Replace.
class TextSearch : public QObject {
    Q_OBJECT
public:
    explicit TextSearch(Host &host, QObject *parent = nullptr);

    void find();     // "Najdi"
    void findNext(); // "Najdi další" (F3)
    void replace();  // "Nahradit"

    const SearchState &state() const { return state_; }

    // Searches the document with the state's text and options; returns the number of matches found.
    int search(Document *doc, bool replacing, bool fromCaret, bool backwards);

private:
    bool runDialog(bool replacing);
    TConfirmReplaceDialog::Result ask(Document *doc, const Match &m);
    Host &host_;
    SearchState state_;
};

} // namespace velmora
