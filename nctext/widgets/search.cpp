#include "nctext/widgets/search.h"

#include "common/language.h"
#include "nctext/widgets/radiogroup.h"
#include "shell/logic/userio.h"
#include "shell/widgets/document.h"
#include "shell/widgets/host.h"

#include <Qsci/qsciscintilla.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace velmora {

// --- TTextSearchDialog -------------------------------------------------------------

TTextSearchDialog::TTextSearchDialog(bool replace, QWidget *parent) : QDialog(parent) {
    setObjectName(replace ? QStringLiteral("TTextReplaceDialog") : QStringLiteral("TTextSearchDialog"));
    setWindowTitle(replace ? QStringLiteral("Nahradit text") : QStringLiteral("Hledej text"));
    setModal(true);
    auto *grid = new QGridLayout;
    auto combo = [this](const QString &name) {
        auto *c = new QComboBox(this);
        c->setObjectName(name);
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setMinimumWidth(260);
        return c;
    };
    cbSearchText = combo(QStringLiteral("cbSearchText"));
    auto *searchLabel = new QLabel(QStringLiteral("&Hledej :"), this);
    searchLabel->setObjectName(QStringLiteral("LabelSearch"));
    searchLabel->setBuddy(cbSearchText);
    grid->addWidget(searchLabel, 0, 0);
    grid->addWidget(cbSearchText, 0, 1);
    if (replace) {
        cbReplaceText = combo(QStringLiteral("cbReplaceText"));
        auto *replaceLabel = new QLabel(QStringLiteral("Nahradit :"), this);
        replaceLabel->setObjectName(QStringLiteral("LabelReplace"));
        replaceLabel->setBuddy(cbReplaceText);
        grid->addWidget(replaceLabel, 1, 0);
        grid->addWidget(cbReplaceText, 1, 1);
    }
    auto check = [this](const QString &name, const QString &caption) {
        auto *c = new QCheckBox(caption, this);
        c->setObjectName(name);
        return c;
    };
    cbSearchCaseSensitive = check(QStringLiteral("cbSearchCaseSensitive"), QStringLiteral("Rozlišovat malá VELKA písma"));
    cbSearchWholeWords = check(QStringLiteral("cbSearchWholeWords"), QStringLiteral("Jenom vybraná slova"));
    cbSearchFromCursor = check(QStringLiteral("cbSearchFromCursor"), QStringLiteral("Hledat z pozice kurzoru"));
    cbSearchSelectedOnly = check(QStringLiteral("cbSearchSelectedOnly"), QStringLiteral("Hledat jenom v označeném textu"));
    auto *options = new QVBoxLayout;
    for (QCheckBox *c : {cbSearchCaseSensitive, cbSearchWholeWords, cbSearchFromCursor, cbSearchSelectedOnly})
        options->addWidget(c);
    // The first item searches towards the end of the text, the second towards its start.
    rgSearchDirection = new RadioGroup(QStringLiteral("rgSearchDirection"), QStringLiteral("Hledat"),
                                       {QStringLiteral("&Nahoru"), QStringLiteral("&Dolu")}, this);
    auto *middle = new QHBoxLayout;
    middle->addLayout(options);
    middle->addWidget(rgSearchDirection);

    ButtonOK = new QPushButton(QStringLiteral("OK"), this);
    ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
    ButtonOK->setDefault(true);
    ButtonCancel = new QPushButton(QStringLiteral("Cancel"), this);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(middle);
    layout->addLayout(buttons);
}

void TTextSearchDialog::fill(const SearchState &s) {
    cbSearchText->clear();
    cbSearchText->addItems(s.searchHistory);
    cbSearchText->setEditText(s.searchText);
    if (cbReplaceText) {
        cbReplaceText->clear();
        cbReplaceText->addItems(s.replaceHistory);
        cbReplaceText->setEditText(s.replaceText);
    }
    cbSearchCaseSensitive->setChecked(s.options.caseSensitive);
    cbSearchWholeWords->setChecked(s.options.wholeWords);
    cbSearchFromCursor->setChecked(s.options.fromCaret);
    cbSearchSelectedOnly->setChecked(s.options.selectedOnly);
    rgSearchDirection->setItemIndex(s.options.backwards ? 1 : 0);
}

void TTextSearchDialog::store(SearchState &s) const {
    s.searchText = cbSearchText->currentText();
    QStringList history;
    for (int i = 0; i < cbSearchText->count(); ++i)
        history << cbSearchText->itemText(i);
    addToHistory(history, s.searchText);
    s.searchHistory = history;
    if (cbReplaceText) {
        s.replaceText = cbReplaceText->currentText();
        QStringList replaceHistory;
        for (int i = 0; i < cbReplaceText->count(); ++i)
            replaceHistory << cbReplaceText->itemText(i);
        addToHistory(replaceHistory, s.replaceText);
        s.replaceHistory = replaceHistory;
    }
    s.options.caseSensitive = cbSearchCaseSensitive->isChecked();
    s.options.wholeWords = cbSearchWholeWords->isChecked();
    s.options.fromCaret = cbSearchFromCursor->isChecked();
    s.options.selectedOnly = cbSearchSelectedOnly->isChecked();
    s.options.backwards = rgSearchDirection->itemIndex() == 1;
}

// --- TConfirmReplaceDialog ----------------------------------------------------------

TConfirmReplaceDialog::TConfirmReplaceDialog(const QString &searchText, QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TConfirmReplaceDialog"));
    setWindowTitle(QStringLiteral("Nahradit ?"));
    setModal(true);
    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("Image1"));
    const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, this).pixmap(size, size));
    Label = new QLabel(QStringLiteral("Nahradit text \"%1\"?").arg(searchText), this);
    Label->setObjectName(QStringLiteral("ConfirmationLabel"));
    Label->setTextFormat(Qt::PlainText);
    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(Label, 1);
    auto make = [this](const QString &name, const QString &caption, int result) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, result] { done(result); });
        return b;
    };
    YesButton = make(QStringLiteral("btnReplace"), QStringLiteral("&Ano"), Yes);
    NoButton = make(QStringLiteral("btnSkip"), QStringLiteral("&Ne"), No);
    CancelButton = make(QStringLiteral("btnCancel"), QStringLiteral("Storno"), Cancel);
    YesToAllButton = make(QStringLiteral("btnReplaceAll"), QStringLiteral("Ano &Vše"), YesToAll);
    YesButton->setDefault(true);
    auto *row = new QHBoxLayout;
    for (QPushButton *b : {YesButton, NoButton, CancelButton, YesToAllButton})
        row->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(row);
}

// --- TextSearch --------------------------------------------------------------------

TextSearch::TextSearch(Host &host, QObject *parent) : QObject(parent), host_(host) {}

bool TextSearch::runDialog(bool replacing) {
    Document *doc = host_.requireDocument();
    if (!doc)
        return false;
    TTextSearchDialog dialog(replacing, host_.mainWindow());
    dialog.fill(state_);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.store(state_);
    if (state_.searchText.isEmpty())
        return false;
    search(doc, replacing, state_.options.fromCaret, state_.options.backwards);
    // Afterwards the search always goes on from the caret.
    state_.continueFromCaret = true;
    return true;
}

void TextSearch::find() { runDialog(false); }

void TextSearch::replace() { runDialog(true); }

void TextSearch::findNext() {
    Document *doc = host_.requireDocument();
    if (!doc)
        return;
    if (state_.searchText.isEmpty()) {
        host_.userIO().beep();
        return;
    }
    search(doc, false, true, false);
}

TConfirmReplaceDialog::Result TextSearch::ask(Document *doc, const Match &m) {
    TConfirmReplaceDialog dialog(state_.searchText, host_.mainWindow());
    dialog.adjustSize();
    QsciScintilla *e = doc->editor();
    const long pos = e->positionFromLineIndex(m.line, m.column);
    const int x = int(e->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0ul, pos));
    const int y = int(e->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0ul, pos));
    const int h = int(e->SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, static_cast<unsigned long>(m.line)));
    QWidget *view = e->viewport();
    const QRect window(view->mapToGlobal(QPoint(0, 0)), view->size());
    const QPoint lineTop = view->mapToGlobal(QPoint(0, y));
    const QRect lineRect(window.left(), lineTop.y(), window.width(), h);
    dialog.move(confirmDialogPosition(window, lineRect, view->mapToGlobal(QPoint(x, 0)).x(), dialog.size()));
    return TConfirmReplaceDialog::Result(dialog.exec());
}

int TextSearch::search(Document *doc, bool replacing, bool fromCaret, bool backwards) {
    SearchOptions o = state_.options;
    o.backwards = backwards;
    QStringList lines = doc->lines();

    int l1, c1, l2, c2;
    doc->selection(l1, c1, l2, c2);
    const TextPos selFrom{l1 - 1, c1 - 1}, selTo{l2 - 1, c2 - 1};
    SearchArea area = SearchArea::whole();
    if (o.selectedOnly && doc->hasSelection())
        area = SearchArea{SearchArea::Stream, selFrom, selTo};
    TextPos pos = searchStart(lines, o, fromCaret, selFrom, selTo, area);

    const QString &text = state_.searchText;
    const QString &with = state_.replaceText;
    bool askEach = true;
    int found = 0;
    doc->beginUndoGroup();
    while (true) {
        const std::optional<Match> m = findMatch(lines, text, o, pos, area);
        if (!m)
            break;
        ++found;
        doc->setSelection(m->line + 1, m->column + 1, m->line + 1, m->column + m->length + 1);
        if (!replacing)
            break;
        TConfirmReplaceDialog::Result answer = TConfirmReplaceDialog::Yes;
        if (text == with)
            answer = TConfirmReplaceDialog::No; // nothing would change: skip without asking
        else if (askEach)
            answer = ask(doc, *m);
        if (answer == TConfirmReplaceDialog::Cancel)
            break;
        if (answer == TConfirmReplaceDialog::YesToAll) {
            askEach = false;
            answer = TConfirmReplaceDialog::Yes;
        }
        if (answer == TConfirmReplaceDialog::Yes) {
            doc->replaceSelection(with);
            lines[m->line].replace(m->column, m->length, with);
            shiftArea(area, m->line, int(with.size()) - m->length);
            pos = backwards ? TextPos{m->line, m->column} : TextPos{m->line, m->column + int(with.size())};
        } else {
            pos = backwards ? TextPos{m->line, m->column} : TextPos{m->line, m->column + m->length};
        }
    }
    doc->endUndoGroup();
    if (found == 0) {
        host_.userIO().beep();
        const TextPos at = backwards ? selFrom : selTo;
        doc->setCaret(at.line + 1, at.column + 1);
    }
    host_.updateStatusBar();
    return found;
}

} // namespace velmora
