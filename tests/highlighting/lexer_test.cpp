// The lexers in the main window's documents, and the "Export do HTML" command.
#include "common/language.h"
#include "nctext/widgets/lexers.h"
#include "shell/logic/userio.h"
#include "shell/widgets/document.h"
#include "shell/widgets/host.h"
#include "shell/widgets/tfeditor.h"
#include "tests/support/testutil.h"

#include <Qsci/qscilexer.h>
#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <gtest/gtest.h>

namespace velmora {
namespace {

class Highlighting : public ::testing::Test {
protected:
    Highlighting() {
        folder.write(QStringLiteral("Kody/funkce_G.txt"), test::cp1250Lines({"G01"}));
        folder.write(QStringLiteral("Kody/funkce_M.txt"), test::cp1250Lines({"M30"}));
        folder.write(QStringLiteral("Kody/d_cykly.txt"), test::cp1250Lines({"L"}));
        folder.write(QStringLiteral("Kody/d_funkce_m.txt"), test::cp1250Lines({"M3"}));
        folder.write(QStringLiteral("SetupCNC.ini"),
                     test::cp1250Lines({"[Editor]", "Prirazeni=0", "[Color]", "G=clRed", "Bloky=clLime", "[Color2]", "G=clYellow"}));
        folder.write(QStringLiteral("Language/Cestina.lng"),
                     test::cp1250Lines({"[Messages]", "NoProgram=Žádný program.", "ErrorExport=Soubor %s nelze zapsat."}));
        setCurrentLanguageFile(QStringLiteral("Cestina.lng"));
        editor = std::make_unique<TFEditor>(&io);
        installHighlighting(editor->host());
    }
    ~Highlighting() override {
        editor.reset();
        Document::setLexerFactory({});
        setCurrentLanguageFile(QString());
    }
    Document *document(const QStringList &lines, Highlighter h) {
        Document *doc = editor->newDocument();
        doc->setLines(lines);
        doc->setHighlighter(h);
        return doc;
    }
    // The style byte of each byte of a line, after styling the whole text.
    static std::vector<int> styles(Document *doc, int line) {
        QsciScintilla *e = doc->editor();
        e->SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0, -1);
        const long from = e->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
        const long to = e->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, line);
        std::vector<int> out;
        for (long p = from; p < to; ++p)
            out.push_back(int(e->SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, p)));
        return out;
    }

    test::ScratchFolder folder;
    ScriptedUserIO io;
    std::unique_ptr<TFEditor> editor;
};

TEST_F(Highlighting, DocumentsAreStyledByTheirScanner) {
    Document *doc = document({QStringLiteral("G01 č(A)"), QStringLiteral("M30 G02")}, Highlighter::ISO);
    ASSERT_TRUE(doc->editor()->lexer());
    // "G01" Key, blank Symbol, "č" a String to the end (two UTF-8 bytes for č).
    EXPECT_EQ(styles(doc, 0), (std::vector<int>{3, 3, 3, 8, 7, 7, 7, 7, 7}));
    EXPECT_EQ(styles(doc, 1), (std::vector<int>{4, 4, 4, 8, 2, 2, 2}));

    doc->setHighlighter(Highlighter::Dialog);
    EXPECT_EQ(styles(doc, 1), (std::vector<int>{2, 2, 2, 8, 2, 2, 2})); // "M30" is not a Dialog M word here
    doc->setHighlighter(Highlighter::None);
    EXPECT_EQ(doc->editor()->lexer(), nullptr);

    // Refilled keyword lists restyle the document.
    doc->setHighlighter(Highlighter::ISO);
    folder.write(QStringLiteral("Kody/funkce_G.txt"), test::cp1250Lines({"G02"}));
    EXPECT_TRUE(reloadKeywordLists().isEmpty());
    EXPECT_EQ(styles(doc, 1), (std::vector<int>{4, 4, 4, 8, 3, 3, 3}));
}

TEST_F(Highlighting, ColoursFollowTheSettingsAndAreShared) {
    Document *iso = document({QStringLiteral("G01")}, Highlighter::ISO);
    Document *iso2 = document({QStringLiteral("G01")}, Highlighter::ISO2);
    QsciLexer *a = iso->editor()->lexer();
    QsciLexer *b = iso2->editor()->lexer();
    ASSERT_TRUE(a && b);
    const int key = 3, identifier = 2, comment = 1;
    // Choice 0: section "Color" goes to ISO, without "Bloky"; ISO2 keeps its own colours.
    EXPECT_EQ(a->color(key), QColor(255, 0, 0));
    EXPECT_EQ(a->color(identifier), QColor(0, 0, 0));
    EXPECT_EQ(a->color(comment), QColor(0, 0x80, 0));
    EXPECT_TRUE(a->font(comment).italic());
    EXPECT_TRUE(a->font(key).bold());
    EXPECT_EQ(b->color(key), QColor(0, 0, 0));

    // The settings dialog's OK: all six rows, every ISO2 document at once.
    Document *iso2b = document({QStringLiteral("G01")}, Highlighter::ISO2);
    setHighlighterColours(Highlighter::ISO2, {clBlue, clRed, clGreen, clRed, clMaroon, clLime});
    for (Document *d : {iso2, iso2b}) {
        EXPECT_EQ(d->editor()->lexer()->color(key), QColor(0, 0, 255));
        EXPECT_EQ(d->editor()->lexer()->color(identifier), QColor(0, 255, 0));
    }
    EXPECT_EQ(a->color(key), QColor(255, 0, 0));
    // Choice 1 reads "Color2" for ISO2.
    readHighlighterColours(1);
    EXPECT_EQ(b->color(key), QColor(255, 255, 0));
    EXPECT_EQ(b->color(identifier), QColor(0, 255, 0)); // "Bloky" is not read here
}

// A long program is styled only as far as it is shown.
TEST_F(Highlighting, StylesOnlyWhatIsShown) {
    QStringList lines;
    for (int i = 0; i < 200000; ++i)
        lines << QStringLiteral("N%1 G01 X+12.5 Y-3 F200").arg(i);
    Document *doc = document(lines, Highlighter::ISO);
    editor->resize(800, 600);
    editor->show();
    QApplication::processEvents();
    doc->editor()->repaint();
    QApplication::processEvents();
    QsciScintilla *e = doc->editor();
    const long styled = e->SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED);
    EXPECT_GT(styled, 0);
    EXPECT_LT(styled, e->SendScintilla(QsciScintillaBase::SCI_GETLENGTH) / 100);

    // Scrolled to the end, the lines shown are styled.
    e->SendScintilla(QsciScintillaBase::SCI_SETFIRSTVISIBLELINE, 199990);
    e->repaint();
    QApplication::processEvents();
    const long lastLine = e->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, 199999);
    EXPECT_EQ(e->SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, lastLine), 2);     // "N199999"
    EXPECT_EQ(e->SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, lastLine + 8), 3); // "G01"
}

TEST_F(Highlighting, ExportWritesTheActiveDocument) {
    QAction *exportAction = editor->host().action(QStringLiteral("MExportToHTML"));
    ASSERT_TRUE(exportAction && exportAction->isEnabled());

    exportAction->trigger(); // no document
    ASSERT_EQ(io.shown.size(), 1);
    EXPECT_EQ(io.shown[0].text, QStringLiteral("Žádný program."));

    document({QStringLiteral("G01 X5 (čep)")}, Highlighter::ISO);
    io.files = {folder.file(QStringLiteral("out")), QString(), folder.file(QStringLiteral("no/dir/x.htm"))};
    exportAction->trigger();
    QFile out(folder.file(QStringLiteral("out.html")));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(out.readAll());
    EXPECT_TRUE(html.contains(QStringLiteral("<font color=\"#FF0000\"><b>G01</b></font>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<i>(čep)</i>")));
    EXPECT_EQ(io.shown.size(), 1);

    exportAction->trigger(); // cancelled: nothing written, nothing said
    EXPECT_EQ(io.shown.size(), 1);

    exportAction->trigger(); // a folder that does not exist
    ASSERT_EQ(io.shown.size(), 2);
    EXPECT_EQ(io.shown[1].kind, MessageKind::Error);
    EXPECT_TRUE(io.shown[1].text.startsWith(QStringLiteral("Soubor ") + folder.file(QStringLiteral("no/dir/x.htm")) +
                                            QStringLiteral(" nelze zapsat.")));
}

} // namespace
} // namespace velmora
