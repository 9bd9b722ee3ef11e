#include "simulator/widgets/tform1.h"

#include "common/codec.h"
#include "common/numbers.h"
#include "nctext/widgets/scannerlexer.h"
#include "shell/logic/userio.h"
#include "shell/widgets/icons.h"
#include "simulator/picture/picture.h"
#include "simulator/widgets/pathview.h"
#include "simulator/widgets/simdialogs.h"

#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDockWidget>
#include <QEventLoop>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace velmora::sim {

namespace {

constexpr int kStopMarker = 1;
const QString kCaption = QStringLiteral("Simulace Heidenhain 407 ISO");

QColor qcolour(ColorValue v) {
    const ColorValue c = plainColour(v);
    return QColor(colorRed(c), colorGreen(c), colorBlue(c));
}

// The stop image of the gutter: a small red octagon with a white bar.
QPixmap stopImage() {
    QPixmap pm(14, 14);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPolygonF octagon;
    for (int i = 0; i < 8; ++i) {
        const double a = (22.5 + 45 * i) * 3.14159265358979 / 180;
        octagon << QPointF(7 + 6.5 * std::cos(a), 7 + 6.5 * std::sin(a));
    }
    p.setBrush(QColor(200, 20, 20));
    p.setPen(QColor(120, 0, 0));
    p.drawPolygon(octagon);
    p.fillRect(QRectF(3.5, 6, 7, 2), Qt::white);
    return pm;
}

// The kind a path tree node stands for, -1 for other nodes.
int kindOfNode(const QString &caption) {
    static const char *const kinds[kSegmentKinds] = {"Rychloposuv",   "Posuv",  "Pravá korekce",
                                                     "Levá korekce", "Vrtání", "Závity"};
    for (int k = 0; k < kSegmentKinds; ++k)
        if (caption == QString::fromUtf8(kinds[k]))
            return k;
    return -1;
}

// The tool of a tool node ("Nástroj - #" and the number): its eleventh character is "#".
bool toolOfNode(const QString &caption, int &tool) {
    if (caption.size() < 11 || caption[10] != u'#')
        return false;
    bool ok = false;
    tool = caption.mid(11).trimmed().toInt(&ok);
    return ok;
}

} // namespace

// The program as the editor holds it, read line by line from Scintilla's own text.
class TForm1::EditorProgram final : public ProgramText {
public:
    explicit EditorProgram(QsciScintilla *e) : e_(e) {}
    int lineCount() const override { return int(e_->SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT)); }
    QStringView line(int index) const override {
        const long start = e_->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, index);
        const long end = e_->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, index);
        const auto *text = reinterpret_cast<const unsigned char *>(e_->SendScintilla(QsciScintillaBase::SCI_GETCHARACTERPOINTER));
        if (!text || start < 0 || end < start) {
            buffer_.clear();
            return buffer_;
        }
        const unsigned char *p = text + start;
        const long n = end - start;
        bool ascii = true;
        for (long i = 0; i < n && ascii; ++i)
            ascii = p[i] < 0x80;
        if (ascii) {
            buffer_.resize(n);
            char16_t *d = reinterpret_cast<char16_t *>(buffer_.data());
            for (long i = 0; i < n; ++i)
                d[i] = p[i];
        } else {
            buffer_ = QString::fromUtf8(reinterpret_cast<const char *>(p), n);
        }
        return buffer_;
    }
    quint64 revision() const override { return revision_; }
    void changed() { ++revision_; }

private:
    QsciScintilla *e_;
    mutable QString buffer_;
    quint64 revision_ = 1;
};

class TForm1::Messages final : public SimMessages {
public:
    explicit Messages(UserIO &io) : io_(io) {}
    void show(sim::MessageKind kind, int, const QString &text) override {
        switch (kind) {
        case sim::MessageKind::Error: io_.message(velmora::MessageKind::Error, text, kCancel, kCaption); break;
        case sim::MessageKind::Info: io_.message(velmora::MessageKind::Information, text, kOk, kCaption); break;
        case sim::MessageKind::Message:
            io_.message(velmora::MessageKind::Information, text, kOk, QStringLiteral("Message Box"));
            break;
        }
    }

private:
    UserIO &io_;
};

class TForm1::Hooks final : public RunHooks {
public:
    explicit Hooks(TForm1 &w) : w_(w) {}
    bool stopMarkAt(int line) override { return w_.hasStopMark(line); }
    void letInputThrough() override { QCoreApplication::processEvents(QEventLoop::AllEvents, 20); }
    bool stopRequested() override { return w_.stopRequested_; }

private:
    TForm1 &w_;
};

TForm1::TForm1(SimModule &module, UserIO &io, const QString &iniPath, QWidget *parent)
    : QMainWindow(parent), module_(module), io_(io), iniPath_(iniPath) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kCaption);
    resize(1200, 820);
    messages_ = std::make_unique<Messages>(io_);
    buildEditor();
    text_ = std::make_unique<EditorProgram>(editor_);
    sim_ = std::make_unique<Simulation>(module_, *text_, messages_.get());
    buildTabs();
    buildActions();
    buildPosition();
    tabs_->setCurrentIndex(0);
    const SimdraSettings s = SimdraSettings::forWindow(iniPath_);
    resetCommand();
    sim_->rapidColour = s.rapid;
    sim_->noneCompColour = s.noneComp;
    sim_->leftCompColour = s.leftComp;
    sim_->rightCompColour = s.rightComp;
    applyColours(s.background, s.currentLine);
}

TForm1::~TForm1() = default;

void TForm1::setDialogs(TFSetup *setup, TFInfo *info, TFHelp *help) {
    setup_ = setup;
    info_ = info;
    help_ = help;
}

void TForm1::buildEditor() {
    editor_ = new QsciScintilla;
    editor_->setObjectName(QStringLiteral("SynEdit1"));
    editor_->setUtf8(true);
    editor_->setEolMode(QsciScintilla::EolWindows);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSize(10);
    SyntaxStyle style = defaultSyntaxStyle(Syntax::ISO2);
    auto colour = [&](TokenClass c, ColorValue v) {
        style[c].hasColour = true;
        style[c].colour = v;
    };
    colour(TokenClass::Comment, clGreen);
    colour(TokenClass::Key, clBlack);
    colour(TokenClass::SecondKey, clNavy);
    colour(TokenClass::Number, clMaroon);
    colour(TokenClass::Space, clRed);
    auto *lexer = new FixedStyleLexer(Syntax::ISO2, style, editor_);
    lexer->setFont(font, -1);
    lexer->applyStyle();
    editor_->setLexer(lexer);
    editor_->setFont(font);
    editor_->setMarginType(1, QsciScintilla::SymbolMargin);
    editor_->setMarginWidth(1, 18);
    editor_->setMarginSensitivity(1, true);
    editor_->setMarginLineNumbers(0, false);
    editor_->setMarginWidth(0, 0);
    editor_->markerDefine(stopImage(), kStopMarker);
    editor_->setMarginMarkerMask(1, 1 << kStopMarker);
    // The current line is the interpreter's position: shown also while the 3-D view has the focus.
    editor_->setCaretLineVisible(true);
    editor_->SendScintilla(QsciScintillaBase::SCI_SETCARETLINEVISIBLEALWAYS, 1ul);
    connect(editor_, &QsciScintilla::marginClicked, this, [this](int, int line, Qt::KeyboardModifiers) { gutterClicked(line); });
    connect(editor_, &QsciScintilla::textChanged, this, [this] {
        if (text_)
            text_->changed();
    });
}

void TForm1::buildTabs() {
    tabs_ = new QTabWidget;
    tabs_->setObjectName(QStringLiteral("PageControl1"));
    tabs_->addTab(editor_, QStringLiteral("Program"));

    qTable_ = new QTableWidget(255, 2);
    qTable_->setObjectName(QStringLiteral("StringGrid1"));
    qTable_->setHorizontalHeaderLabels({QStringLiteral("Q"), QStringLiteral("Hodnota")});
    qTable_->verticalHeader()->hide();
    qTable_->horizontalHeader()->setStretchLastSection(true);
    qTable_->setColumnWidth(0, 50);
    for (int n = 1; n <= 255; ++n) {
        auto *key = new QTableWidgetItem(QString::number(n));
        qTable_->setItem(n - 1, 0, key);
        qTable_->setItem(n - 1, 1, new QTableWidgetItem);
    }
    tabs_->addTab(qTable_, QStringLiteral("Q parametry"));

    tree_ = new QTreeWidget;
    tree_->setObjectName(QStringLiteral("TreeView1"));
    tree_->setHeaderHidden(true);
    auto *root = new QTreeWidgetItem(tree_, {QStringLiteral("Dráhy")});
    for (const char *kind : {"Rychloposuv", "Posuv", "Levá korekce", "Pravá korekce", "Vrtání", "Závity"})
        new QTreeWidgetItem(root, {QString::fromUtf8(kind)});
    setTreeMark(root, true);
    for (int i = 0; i < root->childCount(); ++i)
        setTreeMark(root->child(i), true);
    tree_->expandAll();
    tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tree_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item, int) { treeNodeClicked(item); });
    connect(tree_, &QTreeWidget::customContextMenuRequested, this, [this](QPoint pos) {
        QTreeWidgetItem *item = tree_->itemAt(pos);
        if (!item)
            return;
        tree_->setCurrentItem(item);
        QMenu menu(this);
        QAction *find = menu.addAction(QStringLiteral("Najdi v programu"));
        find->setObjectName(QStringLiteral("Najdivprogramu1"));
        if (menu.exec(tree_->viewport()->mapToGlobal(pos)) == find)
            findInProgram(item);
    });
    tabs_->addTab(tree_, QStringLiteral("Dráhy"));

    auto *info = new QWidget;
    auto *il = new QFormLayout(info);
    auto value = [&](const char *name) {
        auto *l = new QLabel(QStringLiteral("0"), info);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    il->addRow(QStringLiteral("Čas :"), timeLabel_ = value("LCas"));
    il->addRow(QStringLiteral("Čas výměny nástrojů :"), toolChangeLabel_ = value("LCasVymeny"));
    il->addRow(QStringLiteral("Čas rychloposuvy :"), rapidLabel_ = value("LCasRychloposuvu"));
    il->addRow(QStringLiteral("Čas vrtání :"), drillLabel_ = value("LCasVrtani"));
    il->addRow(QStringLiteral("Čas závitování :"), tapLabel_ = value("LCasZavitovani"));
    picking_ = new QCheckBox(QStringLiteral("Zjistit souřadnice přímek"), info);
    picking_->setObjectName(QStringLiteral("CheckBox1"));
    il->addRow(picking_);
    tabs_->addTab(info, QStringLiteral("Info"));

    auto *axis = new QWidget;
    auto *al = new QFormLayout(axis);
    aAxis_ = new QCheckBox(QStringLiteral("Simulace v ose A"), axis);
    aAxis_->setObjectName(QStringLiteral("CheckBoxOsaA"));
    diameter_ = new QLineEdit(axis);
    diameter_->setObjectName(QStringLiteral("EditPrumer"));
    al->addRow(aAxis_);
    al->addRow(QStringLiteral("0 na průmeru"), diameter_);
    tabs_->addTab(axis, QStringLiteral("Osa A"));

    auto *splitter = new QSplitter(Qt::Horizontal);
    splitter->setObjectName(QStringLiteral("Splitter1"));
    splitter->addWidget(tabs_);
    if (openGlAvailable()) {
        view_ = new PathView;
        view_->setSimulation(sim_.get());
        connect(view_, &PathView::released, this, &TForm1::pick);
        viewArea_ = QWidget::createWindowContainer(view_);
        viewArea_->setObjectName(QStringLiteral("GLSceneViewer1"));
        viewArea_->setFocusPolicy(Qt::ClickFocus);
        viewArea_->setMinimumSize(200, 200);
    } else {
        auto *l = new QLabel(QStringLiteral("3D náhled dráhy není k dispozici: na této obrazovce nelze vytvořit "
                                            "kontext OpenGL. Simulace, časy a parametry fungují."));
        l->setObjectName(QStringLiteral("GLSceneViewer1"));
        l->setAlignment(Qt::AlignCenter);
        l->setWordWrap(true);
        viewArea_ = l;
    }
    splitter->addWidget(viewArea_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({420, 780});
    setCentralWidget(splitter);
}

void TForm1::buildActions() {
    auto make = [&](const char *name, const char *caption, const QKeySequence &key, void (TForm1::*slot)()) {
        auto *a = new QAction(QString::fromUtf8(caption), this);
        a->setObjectName(QLatin1String(name));
        if (!key.isEmpty())
            a->setShortcut(key);
        if (slot)
            connect(a, &QAction::triggered, this, slot);
        addAction(a);
        return a;
    };
    QMenu *file = menuBar()->addMenu(QStringLiteral("Soubor"));
    file->setObjectName(QStringLiteral("Soubor1"));
    file->addAction(make("Uloitobrzek1", "Uložit obrázek", QKeySequence(Qt::CTRL | Qt::Key_S), &TForm1::savePictureCommand));
    file->addAction(make("Tisk1", "Tisk", QKeySequence(Qt::CTRL | Qt::Key_P), &TForm1::printCommand));
    file->addSeparator();
    file->addAction(make("Konec1", "Konec", {}, nullptr));
    connect(action(QStringLiteral("Konec1")), &QAction::triggered, this, &QWidget::close);

    QMenu *simulation = menuBar()->addMenu(QStringLiteral("Simulace"));
    simulation->setObjectName(QStringLiteral("Simulace1"));
    QAction *step = make("Pokroku1", "Po kroku", QKeySequence(Qt::Key_F8), &TForm1::stepCommand);
    QAction *run = make("Plynule1", "Plynule", QKeySequence(Qt::Key_F9), &TForm1::runCommand);
    QAction *stop = make("Stop1", "Stop", QKeySequence(Qt::Key_F10), &TForm1::stopCommand);
    QAction *reset = make("Reset1", "Reset", QKeySequence(Qt::Key_F12), &TForm1::resetCommand);
    simulation->addActions({step, run, stop, reset});

    QMenu *settings = menuBar()->addMenu(QStringLiteral("Nastavení"));
    settings->setObjectName(QStringLiteral("Nastaven1"));
    QAction *environment = make("Prosted1", "Prostředí", {}, &TForm1::settingsCommand);
    settings->addAction(environment);

    QMenu *about = menuBar()->addMenu(QStringLiteral("O aplikaci"));
    about->setObjectName(QStringLiteral("Oaplikaci1"));
    QAction *plugin = make("Plugin1", "Plug-in", {}, nullptr);
    connect(plugin, &QAction::triggered, this, [this] {
        io_.message(velmora::MessageKind::Information,
                    QStringLiteral("Plug-in pro simulaci řídícího systému\nHeidenhain 407,426 - ISO\nVerze 1.2 (1.7.2003)"),
                    kOk, kCaption);
    });
    QAction *help = make("Help1", "Help", {}, nullptr);
    connect(help, &QAction::triggered, this, [this] {
        if (help_)
            help_->exec();
    });
    about->addActions({plugin, help});
    // Context help of the editor is on Ctrl+F1.
    QAction *contextHelp = make("ContextHelp", "Nápověda", QKeySequence(Qt::CTRL | Qt::Key_F1), nullptr);
    connect(contextHelp, &QAction::triggered, help, &QAction::trigger);

    QToolBar *bar = addToolBar(QStringLiteral("Nástroje"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    QAction *zoomIn = make("ZoomIn", "Přiblížit", {}, nullptr);
    QAction *zoomOut = make("ZoomOut", "Oddálit", {}, nullptr);
    connect(zoomIn, &QAction::triggered, this, [this] {
        if (view_)
            view_->zoomIn();
    });
    connect(zoomOut, &QAction::triggered, this, [this] {
        if (view_)
            view_->zoomOut();
    });
    QAction *toBlock = make("StopNaRadku", "Stop na řádku", {}, &TForm1::runToBlockCommand);
    const QColor blue(0x2a6fb0), green(0x2f8a4a), red(0xa04040), grey(0x505a66);
    zoomIn->setIcon(badgeIcon(QStringLiteral("+"), grey));
    zoomOut->setIcon(badgeIcon(QStringLiteral("\u2212"), grey));
    environment->setIcon(badgeIcon(QStringLiteral("\u2699"), grey));
    stop->setIcon(badgeIcon(QStringLiteral("\u25A0"), red));
    step->setIcon(badgeIcon(QStringLiteral("\u25B6|"), blue));
    run->setIcon(badgeIcon(QStringLiteral("\u25B6\u25B6"), green));
    reset->setIcon(badgeIcon(QStringLiteral("\u21BA"), grey));
    toBlock->setIcon(badgeIcon(QStringLiteral("N\u25A0"), red));
    bar->addActions({zoomIn, zoomOut});
    bar->addSeparator();
    bar->addAction(environment);
    bar->addSeparator();
    bar->addActions({stop, step, run});
    bar->addSeparator();
    bar->addActions({reset, toBlock});
}

void TForm1::buildPosition() {
    position_ = new QDockWidget(QStringLiteral("Pozice"), this);
    position_->setObjectName(QStringLiteral("Panel1"));
    position_->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetClosable |
                           QDockWidget::DockWidgetFloatable);
    auto *body = new QWidget;
    auto *grid = new QGridLayout(body);
    grid->addWidget(new QLabel(QStringLiteral("Akt. pozice")), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Další blok")), 0, 2);
    const char *rows[4] = {"G :", "X :", "Y :", "Z :"};
    const char *initial[4] = {"0", "0", "0", "600"};
    for (int r = 0; r < 4; ++r) {
        grid->addWidget(new QLabel(QLatin1String(rows[r])), r + 1, 0);
        for (int c = 0; c < 2; ++c) {
            auto *l = new QLabel(QLatin1String(initial[r]));
            l->setObjectName(QStringLiteral("%1%2").arg(c == 0 ? QStringLiteral("LAkt") : QStringLiteral("LDalsi")).arg(QChar(rows[r][0])));
            l->setMinimumWidth(90);
            l->setFrameShape(QFrame::StyledPanel);
            positionLabels_[c][r] = l;
            grid->addWidget(l, r + 1, c + 1);
        }
    }
    // Its own title bar, with a button that folds the panel to it and one that closes it.
    auto *title = new QWidget;
    auto *tl = new QHBoxLayout(title);
    tl->setContentsMargins(6, 2, 2, 2);
    tl->addWidget(new QLabel(QStringLiteral("Pozice")), 1);
    auto *fold = new QToolButton(title);
    fold->setObjectName(QStringLiteral("MinimiseButton"));
    fold->setIcon(style()->standardIcon(QStyle::SP_TitleBarMinButton));
    fold->setAutoRaise(true);
    auto *closeButton = new QToolButton(title);
    closeButton->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    closeButton->setAutoRaise(true);
    tl->addWidget(fold);
    tl->addWidget(closeButton);
    connect(fold, &QToolButton::clicked, this, [this, body] {
        body->setVisible(!body->isVisible());
        position_->adjustSize();
    });
    connect(closeButton, &QToolButton::clicked, position_, &QDockWidget::close);
    position_->setTitleBarWidget(title);
    position_->setWidget(body);
    addDockWidget(Qt::RightDockWidgetArea, position_);
    position_->setFloating(true);
    position_->resize(260, 150);
}

void TForm1::applyColours(ColorValue background, ColorValue currentLine) {
    if (view_)
        view_->setBackground(background);
    editor_->setCaretLineBackgroundColor(qcolour(currentLine));
}

void TForm1::setProgram(const QStringList &lines) {
    setProgram(int(lines.size()), [&](int i) { return lines[i]; });
}

void TForm1::setProgram(int count, const std::function<QString(int)> &line) {
    // Handed to the editor as UTF-8 a megabyte at a time, with no undo record: a long
    // program never exists as one more whole text besides the editor's.
    editor_->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0ul);
    editor_->clear();
    QByteArray chunk;
    for (int i = 0; i < count; ++i) {
        chunk += line(i).toUtf8();
        if (i + 1 < count)
            chunk += "\r\n";
        if (chunk.size() > (1 << 20) || i + 1 == count) {
            editor_->SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, static_cast<unsigned long>(chunk.size()), chunk.constData());
            chunk.clear();
        }
    }
    editor_->SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
    editor_->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 1ul);
    editor_->setCursorPosition(0, 0);
    text_->changed();
}

bool TForm1::programCp1250(QList<QByteArray> &out, int &badLine, QChar &badChar) const {
    out.clear();
    const int n = text_->lineCount();
    out.reserve(n);
    QByteArray bytes;
    for (int i = 0; i < n; ++i) {
        const QStringView line = text_->line(i);
        qsizetype bad = -1;
        if (!encodeCp1250(line, bytes, &bad)) {
            badLine = i;
            badChar = line[bad];
            return false;
        }
        out.append(bytes);
    }
    return true;
}

void TForm1::releasePath() {
    sim_->segments().clear();
    if (view_)
        view_->pathChanged();
}

QStringList TForm1::program() const {
    QStringList out;
    const int n = text_->lineCount();
    out.reserve(n);
    for (int i = 0; i < n; ++i)
        out << text_->line(i).toString();
    return out;
}

QAction *TForm1::action(const QString &name) const { return findChild<QAction *>(name); }

void TForm1::showModal() {
    setWindowModality(Qt::ApplicationModal);
    showMaximized();
    QEventLoop loop;
    connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
    while (isVisible())
        loop.processEvents(QEventLoop::WaitForMoreEvents);
}

void TForm1::showEvent(QShowEvent *e) {
    QMainWindow::showEvent(e);
    // The "Pozice" panel floats at the top right of the 3-D view.
    QTimer::singleShot(0, this, [this] {
        if (position_->isFloating())
            position_->move(viewArea_->mapToGlobal(QPoint(std::max(0, viewArea_->width() - position_->width() - 16), 16)));
    });
}

void TForm1::closeEvent(QCloseEvent *e) {
    if (running_) {
        // The run ends at its next check; the window closes then.
        stopRequested_ = true;
        closing_ = true;
        e->ignore();
        return;
    }
    QMainWindow::closeEvent(e);
}

void TForm1::keyPressEvent(QKeyEvent *e) { QMainWindow::keyPressEvent(e); }

int TForm1::editorCaret() const {
    int line = 0, index = 0;
    editor_->getCursorPosition(&line, &index);
    return line + 1;
}

void TForm1::setEditorCaret(int line) {
    editor_->setCursorPosition(std::max(0, line - 1), 0);
    editor_->ensureLineVisible(std::max(0, line - 1));
}

void TForm1::syncSettings() {
    if (setup_) {
        sim_->rapidText = setup_->rapidText();
        sim_->toolChangeText = setup_->toolChangeText();
    }
    sim_->aDiameterText = diameter_->text();
}

void TForm1::showTimes() {
    timeLabel_->setText(formatGeneral(sim_->totalTime()));
    toolChangeLabel_->setText(formatGeneral(sim_->toolChangeTotal()));
    rapidLabel_->setText(formatGeneral(sim_->rapidTime()));
    drillLabel_->setText(formatGeneral(sim_->drillingTime()));
    tapLabel_->setText(formatGeneral(sim_->tappingTime()));
}

void TForm1::afterBlocks(bool preview) {
    setEditorCaret(sim_->caret());
    const PositionTexts p = sim_->positionTexts();
    for (int r = 0; r < 4; ++r) {
        positionLabels_[0][r]->setText(p.current[r]);
        if (preview)
            positionLabels_[1][r]->setText(p.next[r]);
    }
    qTable_->horizontalHeaderItem(1)->setText(sim_->qHeader());
    for (int n = 1; n <= 255; ++n) {
        QTableWidgetItem *cell = qTable_->item(n - 1, 1);
        const QString t = sim_->qText(n);
        if (cell->text() != t)
            cell->setText(t);
    }
    const auto &nodes = sim_->toolNodes();
    for (; treeToolNodes_ < nodes.size(); ++treeToolNodes_) {
        auto *node = new QTreeWidgetItem(tree_, {nodes[treeToolNodes_].caption});
        auto *child = new QTreeWidgetItem(node, {nodes[treeToolNodes_].child});
        setTreeMark(node, true);
        setTreeMark(child, true);
    }
    showTimes();
    if (view_)
        view_->pathChanged();
}

void TForm1::stepCommand() {
    if (running_)
        return;
    syncSettings();
    sim_->setCaret(editorCaret());
    sim_->step();
    afterBlocks(true);
}

void TForm1::runCommand() {
    if (running_)
        return;
    syncSettings();
    sim_->setCaret(editorCaret());
    running_ = true;
    stopRequested_ = false;
    for (const char *name : {"Pokroku1", "Plynule1", "Reset1"})
        action(QLatin1String(name))->setEnabled(false);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    Hooks hooks(*this);
    sim_->run(&hooks, -1);
    QApplication::restoreOverrideCursor();
    for (const char *name : {"Pokroku1", "Plynule1", "Reset1"})
        action(QLatin1String(name))->setEnabled(true);
    running_ = false;
    afterBlocks(false);
    if (closing_)
        close();
}

void TForm1::stopCommand() { stopRequested_ = true; }

void TForm1::resetCommand() {
    if (running_)
        return;
    sim_->reset();
    if (view_) {
        view_->camera().reset();
        view_->hideLabels();
    }
    for (int n = 1; n <= 255; ++n)
        qTable_->item(n - 1, 1)->setText(QString());
    for (int i = tree_->topLevelItemCount() - 1; i >= 0; --i)
        if (tree_->topLevelItem(i)->text(0).contains(QLatin1Char('#')))
            delete tree_->takeTopLevelItem(i);
    treeToolNodes_ = 0;
    showTimes();
    if (view_)
        view_->pathChanged();
}

void TForm1::runToBlockCommand() {
    QString value = QStringLiteral("10");
    if (!io_.inputText(QStringLiteral("Stop na řádku"), QStringLiteral("Blok N"), value))
        return;
    const int line = sim_->findBlock(value);
    if (line > 0 && !hasStopMark(line))
        editor_->markerAdd(line - 1, kStopMarker);
}

void TForm1::settingsCommand() {
    if (!setup_)
        return;
    if (setup_->exec() != QDialog::Accepted)
        return; // the typed texts stay in the fields and time the moves until the window closes
    const SimdraSettings s = setup_->settings();
    sim_->rapidColour = s.rapid;
    sim_->noneCompColour = s.noneComp;
    sim_->leftCompColour = s.leftComp;
    sim_->rightCompColour = s.rightComp;
    applyColours(s.background, s.currentLine);
    QString error;
    if (!s.write(iniPath_, &error))
        io_.error(QStringLiteral("Nastavení nelze uložit do %1: %2").arg(iniPath_, error));
}

void TForm1::savePictureCommand() {
    const QString file = io_.saveFileName(QStringLiteral("Uložit obrázek"), QStringLiteral("Obrázek PNG|*.png"),
                                          QStringLiteral("simulace.png"));
    if (file.isEmpty())
        return;
    const QImage image = view_ ? view_->picture() : drawScene(*sim_, Camera(), QSize(1280, 960), SimdraSettings::forWindow(iniPath_).background);
    if (!image.save(file, "PNG"))
        io_.error(QStringLiteral("Obrázek nelze uložit do %1.").arg(file));
}

void TForm1::printCommand() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QImage image = view_ ? view_->picture() : drawScene(*sim_, Camera(), QSize(1280, 960), SimdraSettings::forWindow(iniPath_).background);
    QPainter p;
    if (!p.begin(&printer)) {
        io_.error(QStringLiteral("Tisk nelze zahájit."));
        return;
    }
    const QRect page = p.viewport();
    const QSize fitted = image.size().scaled(page.size(), Qt::KeepAspectRatio);
    p.drawImage(QRect(page.topLeft() + QPoint((page.width() - fitted.width()) / 2, 0), fitted), image);
    p.end();
}

void TForm1::setTreeMark(QTreeWidgetItem *item, bool checked) {
    item->setData(0, Qt::CheckStateRole, checked ? Qt::Checked : Qt::Unchecked);
}

void TForm1::treeNodeClicked(QTreeWidgetItem *item) {
    if (!item)
        return;
    const bool checked = item->data(0, Qt::CheckStateRole).toInt() == Qt::Checked;
    const QString caption = item->text(0);
    const int kind = kindOfNode(caption);
    int tool = 0;
    if (kind >= 0)
        sim_->setKindVisible(kind, !checked);
    else if (toolOfNode(caption, tool))
        sim_->setToolVisible(tool, !checked);
    setTreeMark(item, !checked);
    if (view_)
        view_->pathChanged();
}

void TForm1::findInProgram(QTreeWidgetItem *item) {
    tabs_->setCurrentIndex(0);
    setEditorCaret(sim_->findInProgram(item->text(0)));
}

QTreeWidgetItem *TForm1::pathRoot() const { return tree_->topLevelItem(0); }

bool TForm1::hasStopMark(int line) const { return (editor_->markersAtLine(line - 1) & (1 << kStopMarker)) != 0; }

void TForm1::gutterClicked(int line) {
    editor_->setCursorPosition(line, 0);
    if (editor_->markersAtLine(line) != 0) {
        editor_->markerDelete(line, kStopMarker);
    } else {
        editor_->markerDelete(line, -1);
        editor_->markerAdd(line, kStopMarker);
    }
}

void TForm1::pick(QPoint pos) {
    if (!picking_->isChecked() || !view_)
        return;
    syncSettings(); // a rapid move shows the rapid traverse rate the dialog holds now
    const long index = view_->segmentAt(pos);
    if (index < 0)
        return;
    SegmentStore &segs = sim_->segments();
    const Segment seg = segs[size_t(index)];
    if (seg.count != 2) {
        io_.information(QString::number(seg.count));
        return;
    }
    const ColorValue colour = seg.colour;
    segs.setColour(size_t(index), clLime);
    const Point3f *p = segs.points(seg);
    view_->showLabels(viewPoint(p[0], seg.rotation), viewPoint(p[1], seg.rotation));
    view_->pathChanged();
    if (info_) {
        info_->setSegment(sim_->pickInfo(size_t(index)));
        info_->exec();
    }
    view_->hideLabels();
    segs.setColour(size_t(index), colour);
    view_->pathChanged();
}

QString TForm1::labelText(const char *name) const {
    const auto *l = findChild<QLabel *>(QLatin1String(name));
    return l ? l->text() : QString();
}

} // namespace velmora::sim
