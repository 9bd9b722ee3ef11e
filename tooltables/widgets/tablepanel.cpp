#include "tooltables/widgets/tablepanel.h"

#include "common/ini.h"
#include "common/language.h"
#include "common/programfolder.h"
#include "tooltables/logic/tooltable.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QMimeData>
#include <QSlider>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace velmora {

bool toolTableDropAllowed() {
    return IniFile(setupIniPath()).readBool(QStringLiteral("Editor"), QStringLiteral("DragToolTable"), false);
}

// --- ToolDropEdit -------------------------------------------------------------

bool ToolDropEdit::wanted(const QMimeData *mime) const {
    // Only a node of the tool list, and only while the setting allows it.
    return acceptsNodes && mime && mime->hasFormat(QLatin1String(kToolNodeMime)) && toolTableDropAllowed();
}

// A dropped node is copied: the tool list keeps it.
void ToolDropEdit::dragEnterEvent(QDragEnterEvent *event) {
    if (wanted(event->mimeData())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void ToolDropEdit::dragMoveEvent(QDragMoveEvent *event) {
    if (wanted(event->mimeData())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void ToolDropEdit::dropEvent(QDropEvent *event) {
    if (!wanted(event->mimeData())) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    if (onDrop)
        onDrop(QString::fromUtf8(event->mimeData()->data(QLatin1String(kToolNodeMime))));
}

// --- ToolTablePanel ------------------------------------------------------------

namespace {

QString withoutTrailingBlanks(QString s) {
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == u' ')
        --n;
    s.truncate(n);
    return s;
}

QLabel *namedLabel(const QString &name, const QString &text, QWidget *parent) {
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

} // namespace

ToolTablePanel::ToolTablePanel(ToolTableKind kind, QWidget *parent) : QDockWidget(parent), session_(kind) {
    const bool t407 = kind == ToolTableKind::Tnc407;
    setObjectName(t407 ? QStringLiteral("Panel") : QStringLiteral("Panel530"));
    setWindowTitle(t407 ? QStringLiteral("Tabulka nástrojů pro Heidenhain 407, 426")
                        : QStringLiteral("Tabulka nástrojů Heidenhain iTNC530"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);

    auto *body = new QWidget(this);
    body->setObjectName(t407 ? QStringLiteral("PanelBody") : QStringLiteral("PanelBody530"));
    auto *outer = new QVBoxLayout(body);
    auto *head = new QHBoxLayout;
    head->addWidget(namedLabel(t407 ? QStringLiteral("LabelTabulka") : QStringLiteral("LabelTabulka530"),
                               QStringLiteral("Tabulka :"), body));
    tableName_ = namedLabel(t407 ? QStringLiteral("LabelTableName") : QStringLiteral("LabelTableName530"),
                            session_.tableName(), body);
    head->addWidget(tableName_, 1);
    outer->addLayout(head);

    auto *middle = new QHBoxLayout;
    auto *grid = new QGridLayout;
    const QString suffix = t407 ? QString() : QStringLiteral("530");
    grid->addWidget(namedLabel(QStringLiteral("LabelT") + suffix, QStringLiteral("T"), body), 0, 0);
    grid->addWidget(namedLabel(QStringLiteral("LabelNazev") + suffix, QStringLiteral("Název nástroje"), body), 0, 1);
    grid->addWidget(namedLabel(QStringLiteral("LabelPolomer") + suffix, QStringLiteral("Poloměr"), body), 0, 2);
    if (!t407)
        grid->addWidget(namedLabel(QStringLiteral("LabelTTROFFS"), QStringLiteral("TT:R-OFFS"), body), 0, 3);

    const QFontMetrics fm(font());
    for (int k = 0; k < ToolTableSession::kRows; ++k) {
        Row &r = rows_[k];
        const QString n = QString::number(k + 1);
        r.number = namedLabel((t407 ? QStringLiteral("LabelN") : QStringLiteral("Labeli")) + n, QString(), body);
        r.number->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("100 ")));
        r.name = new ToolDropEdit(body);
        r.name->setObjectName((t407 ? QStringLiteral("EditN") : QStringLiteral("EditDes")) + n);
        r.radius = new ToolDropEdit(body);
        r.radius->setObjectName((t407 ? QStringLiteral("EditP") : QStringLiteral("EditRad")) + n);
        r.name->setMinimumWidth(fm.horizontalAdvance(QString(18, u'M')));
        r.radius->setMinimumWidth(fm.horizontalAdvance(QString(10, u'0')));
        grid->addWidget(r.number, k + 1, 0);
        grid->addWidget(r.name, k + 1, 1);
        grid->addWidget(r.radius, k + 1, 2);
        if (!t407) {
            r.name->setMaxLength(toolTableLayout(kind).nameWidth);
            r.drill = new QCheckBox(QStringLiteral("Vrták"), body);
            r.drill->setObjectName(QStringLiteral("CheckBox") + n);
            grid->addWidget(r.drill, k + 1, 3);
            connect(r.drill, &QCheckBox::toggled, this, [this] {
                if (!showing_)
                    storeRows();
            });
        }
        // Storing when a field is left (or Enter is pressed) after a change.
        connect(r.name, &QLineEdit::editingFinished, this, [this] {
            if (!showing_)
                storeRows();
        });
        connect(r.radius, &QLineEdit::editingFinished, this, [this] {
            if (!showing_)
                storeRows();
        });
        if (t407) {
            connect(r.name, &QLineEdit::returnPressed, this, [this, k] { nameEnter(k); });
            if (k == ToolTableSession::kRows - 1)
                connect(r.radius, &QLineEdit::returnPressed, this, [this, k] { radiusEnter(k); });
        }
        // Drops: every field of the 407/426 panel, only the first name field of the iTNC 530 panel.
        r.name->acceptsNodes = t407 || k == 0;
        r.radius->acceptsNodes = t407;
        r.name->onDrop = [this, k](const QString &t) { dropped(k, true, t); };
        r.radius->onDrop = [this, k](const QString &t) { dropped(k, false, t); };
    }
    middle->addLayout(grid, 1);

    auto *side = new QVBoxLayout;
    auto *up = new QToolButton(body);
    up->setObjectName(t407 ? QStringLiteral("SpeedButtonUp") : QStringLiteral("SpeedButtonUp530"));
    up->setArrowType(Qt::UpArrow);
    auto *down = new QToolButton(body);
    down->setObjectName(t407 ? QStringLiteral("SpeedButtonDown") : QStringLiteral("SpeedButtonDown530"));
    down->setArrowType(Qt::DownArrow);
    track_ = new QSlider(Qt::Vertical, body);
    track_->setObjectName(t407 ? QStringLiteral("TrackBar1") : QStringLiteral("TrackBar2"));
    track_->setRange(t407 ? 1 : 0, 100);
    track_->setInvertedAppearance(true); // the first tools at the top
    track_->setValue(session_.firstLine());
    side->addWidget(up);
    side->addWidget(track_, 1);
    side->addWidget(down);
    middle->addLayout(side);
    outer->addLayout(middle);
    message_ = namedLabel(t407 ? QStringLiteral("LabelMessage") : QStringLiteral("LabelMessage530"), QString(), body);
    message_->setWordWrap(true);
    message_->hide();
    outer->addWidget(message_);
    messageTimer_ = new QTimer(this);
    messageTimer_->setSingleShot(true);
    messageTimer_->setInterval(5000);
    connect(messageTimer_, &QTimer::timeout, message_, [this] {
        message_->clear();
        message_->hide();
    });
    setWidget(body);

    // The title bar: the caption, a minimise button that folds the panel to
    // its title bar and opens it again, and the close button.
    auto *bar = new QWidget(this);
    bar->setObjectName(t407 ? QStringLiteral("PanelTitle") : QStringLiteral("PanelTitle530"));
    auto *barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(6, 2, 2, 2);
    barLayout->setSpacing(2);
    auto *title = new QLabel(windowTitle(), bar);
    title->setObjectName(t407 ? QStringLiteral("LabelPanelTitle") : QStringLiteral("LabelPanelTitle530"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    barLayout->addWidget(title, 1);
    fold_ = new QToolButton(bar);
    fold_->setObjectName(t407 ? QStringLiteral("ButtonMinimize") : QStringLiteral("ButtonMinimize530"));
    fold_->setAutoRaise(true);
    barLayout->addWidget(fold_);
    auto *close = new QToolButton(bar);
    close->setObjectName(t407 ? QStringLiteral("ButtonClosePanel") : QStringLiteral("ButtonClosePanel530"));
    close->setAutoRaise(true);
    close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    close->setToolTip(QStringLiteral("Zavřít"));
    barLayout->addWidget(close);
    setTitleBarWidget(bar);
    connect(this, &QWidget::windowTitleChanged, title, &QLabel::setText);
    connect(fold_, &QToolButton::clicked, this, [this] { setFolded(!isFolded()); });
    connect(close, &QToolButton::clicked, this, &QWidget::hide);
    setFolded(false);

    connect(up, &QToolButton::clicked, this, &ToolTablePanel::pageUp);
    connect(down, &QToolButton::clicked, this, &ToolTablePanel::pageDown);
    connect(track_, &QSlider::valueChanged, this, &ToolTablePanel::trackMoved);
    showRows();
}

void ToolTablePanel::showRows() {
    showing_ = true;
    // Without a table there is nothing to type into.
    widget()->setEnabled(session_.isLoaded());
    for (int k = 0; k < ToolTableSession::kRows; ++k) {
        Row &r = rows_[k];
        if (!session_.isLoaded()) {
            r.number->clear();
            r.name->clear();
            r.radius->clear();
            if (r.drill)
                r.drill->setChecked(false);
            continue;
        }
        const ToolTableSession::Row row = session_.row(k);
        r.number->setText(row.number);
        // Shown without the field's trailing blanks, so that typing at the end
        // of a name does not run past the field; storing blank-fills again.
        r.name->setText(withoutTrailingBlanks(row.name));
        r.radius->setText(withoutTrailingBlanks(row.radius));
        r.name->setModified(false);
        if (r.drill)
            r.drill->setChecked(row.drill);
    }
    const QSignalBlocker block(track_);
    track_->setValue(session_.firstLine());
    showing_ = false;
}

void ToolTablePanel::storeRows() {
    if (!session_.isLoaded())
        return;
    const ToolTableLayout &lay = session_.table().layout();
    bool nameCut = false, radiusCut = false;
    for (int k = 0; k < ToolTableSession::kRows; ++k) {
        Row &r = rows_[k];
        const FieldCuts cuts =
            session_.storeRow(k, {QString(), r.name->text(), r.radius->text(), r.drill && r.drill->isChecked()});
        nameCut |= cuts.name;
        radiusCut |= cuts.radius;
        if (cuts.any()) {
            // The field shows what the table holds.
            showing_ = true;
            const ToolTableSession::Row row = session_.row(k);
            r.name->setText(withoutTrailingBlanks(row.name));
            r.radius->setText(withoutTrailingBlanks(row.radius));
            showing_ = false;
        }
    }
    if (nameCut)
        showMessage(toolTablesMessage("TncNameCut").replace(QLatin1String("%s"), QString::number(lay.nameWidth)));
    if (radiusCut)
        showMessage(toolTablesMessage("TncRadiusCut"));
}

void ToolTablePanel::pageUp() {
    storeRows();
    if (session_.pageUp())
        showRows();
}

void ToolTablePanel::pageDown() {
    storeRows();
    if (session_.pageDown())
        showRows();
    else if (session_.kind() == ToolTableKind::Tnc407 && warning)
        warning(QStringLiteral("Konec souboru"));
}

void ToolTablePanel::trackMoved(int position) {
    if (showing_)
        return;
    // The rows always show the line the table would store them into.
    storeRows();
    session_.track(position);
    showRows();
}

void ToolTablePanel::nameEnter(int k) {
    const QString name = rows_[k].name->text();
    if (name.isEmpty())
        return;
    rows_[k].radius->setText(radiusTextFromName(name));
    rows_[k].radius->setFocus();
    storeRows();
}

void ToolTablePanel::radiusEnter(int k) {
    pageDown();
    rows_[k].name->setFocus();
}

void ToolTablePanel::dropped(int k, bool onName, const QString &nodeText) {
    if (!session_.isLoaded())
        return;
    const QString text = droppedToolText(nodeText);
    showing_ = true;
    if (onName) {
        const int width = session_.table().layout().nameWidth;
        rows_[k].name->setText(text);
        rows_[k].radius->setText(radiusTextFromName(text));
        // The iTNC 530 name field holds 17 characters and cuts by itself; say so.
        if (session_.kind() == ToolTableKind::Itnc530 && text.size() > width)
            showMessage(toolTablesMessage("TncNameCut").replace(QLatin1String("%s"), QString::number(width)));
    } else {
        rows_[k].radius->setText(text);
    }
    showing_ = false;
    storeRows();
}

void ToolTablePanel::refreshTableName() { tableName_->setText(session_.tableName()); }

void ToolTablePanel::bringUp() {
    if (!isVisible()) {
        applyToolTablesTexts(this);
        setFloating(true);
        show();
    }
    setFolded(false); // expanded
    raise();
}

bool ToolTablePanel::isFolded() const { return widget()->isHidden(); }

void ToolTablePanel::setFolded(bool folded) {
    widget()->setVisible(!folded);
    fold_->setIcon(style()->standardIcon(folded ? QStyle::SP_TitleBarNormalButton : QStyle::SP_TitleBarMinButton));
    fold_->setToolTip(folded ? QStringLiteral("Obnovit") : QStringLiteral("Minimalizovat"));
    if (!isFloating())
        return;
    layout()->activate();
    resize(width(), folded ? minimumSizeHint().height() : qMax(height(), sizeHint().height()));
}

void ToolTablePanel::showMessage(const QString &text) {
    message_->setText(text);
    message_->show();
    messageTimer_->start();
}

void ToolTablePanel::showEvent(QShowEvent *event) {
    QDockWidget::showEvent(event);
    emit shownChanged(true);
}

void ToolTablePanel::hideEvent(QHideEvent *event) {
    QDockWidget::hideEvent(event);
    emit shownChanged(false);
}

// --- language texts ----------------------------------------------------------

QString toolTablesMessage(const char *key) {
    static const QHash<QString, QString> own = {
        {QStringLiteral("TncShortTable"),
         QStringLiteral("Soubor není typu TNC.\r Tabulka má jen %s řádek, úplná tabulka jich má 104.")},
        {QStringLiteral("TncReadError"), QStringLiteral("Soubor %s nelze přečíst:")},
        {QStringLiteral("TncSaveChar"), QStringLiteral("Znak na řádce %s nelze uložit v kódování Windows-1250.")},
        {QStringLiteral("TncNameCut"), QStringLiteral("Název nástroje je delší než %s znaků, byl zkrácen.")},
        {QStringLiteral("TncRadiusCut"), QStringLiteral("Poloměr je delší než 12 znaků, byl zkrácen.")},
        {QStringLiteral("TncTableNameCut"), QStringLiteral("Název souboru je delší než %s znaků, v hlavičce tabulky byl zkrácen.")},
        {QStringLiteral("TncMoveCut"), QStringLiteral("Názvy nástrojů delší než 17 znaků byly zkráceny (%s).")},
        {QStringLiteral("ToolListReadError"), QStringLiteral("Soubor %s nelze přečíst:")},
        {QStringLiteral("ToolListWriteError"), QStringLiteral("Soubor %s nelze uložit:")},
        {QStringLiteral("ToolListFilter"), QStringLiteral("Výpis nástrojů (*.txt)|*.txt|Všechny soubory (*.*)|*.*")},
    };
    const QString k = QString::fromLatin1(key);
    const auto it = own.find(k);
    const QString section = QStringLiteral("Messages");
    return it == own.end() ? languageText(section, k) : languageText(section, k, it.value());
}

void applyToolTablesTexts(QWidget *root) {
    if (!root)
        return;
    const QString path = currentLanguagePath();
    if (path.isEmpty())
        return;
    const IniData data = IniFile(path).read();
    const IniSection *section = data.section(QStringLiteral("ToolTables"));
    if (!section)
        return;
    for (const IniEntry &e : section->entries) {
        const QString text = expandLineBreaks(e.value);
        if (e.key == root->objectName())
            root->setWindowTitle(text);
        for (QObject *o : root->findChildren<QObject *>(e.key)) {
            if (auto *l = qobject_cast<QLabel *>(o))
                l->setText(text);
            else if (auto *b = qobject_cast<QAbstractButton *>(o))
                b->setText(text);
            else if (auto *a = qobject_cast<QAction *>(o))
                a->setText(text);
            else if (auto *w = qobject_cast<QWidget *>(o); w && w->isWindow())
                w->setWindowTitle(text);
        }
    }
}

} // namespace velmora
