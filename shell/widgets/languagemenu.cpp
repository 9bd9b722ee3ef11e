#include "shell/widgets/languagemenu.h"

#include "common/ini.h"
#include "common/language.h"
#include "common/programfolder.h"
#include "common/textfile.h"
#include "shell/logic/userio.h"
#include "shell/widgets/host.h"

#include <QAbstractButton>
#include <QLibraryInfo>
#include <QTranslator>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

namespace velmora {
namespace {

// How the keys of one section are applied.
struct SectionRule {
    QStringList windows;          // object names of the windows the section applies to
    bool radioKeyIsItems = false; // a key naming a radio group sets its items (else its caption)
    bool flatButtonIsHint = false;// a flat button named by a key gets a hint (else a caption)
    QStringList fixedKeys;        // keys read even when missing ("Error")
};

QStringList items(const char *prefix, int count, const char *word = "items") {
    QStringList out;
    for (int i = 0; i < count; ++i)
        out << QStringLiteral("%1.%2[%3]").arg(QLatin1String(prefix), QLatin1String(word)).arg(i);
    return out;
}

SectionRule ruleFor(const QString &section) {
    SectionRule r;
    const QString s = section;
    auto is = [&](const char *name) { return s.compare(QLatin1String(name), Qt::CaseInsensitive) == 0; };
    if (is("Editor")) {
        r.windows = {QStringLiteral("TFEditor")};
        return r;
    }
    r.windows = {QStringLiteral("T") + s, s}; // "TFOtacky", or a window named like its section
    if (is("FSetup")) {
        r.radioKeyIsItems = true;
    } else if (is("FAddMaschine") || is("FAddEditSabl") || is("FAddFunction")) {
        r.fixedKeys = {s};
    } else if (is("FOtacky")) {
        r.fixedKeys = QStringList{s, QStringLiteral("RadioGroup")} + items("RadioGroup", 3);
    } else if (is("FPosuv")) {
        r.fixedKeys = QStringList{s, QStringLiteral("RadioGroupCo")} + items("RadioGroupCo", 2) +
                      QStringList{QStringLiteral("RadioGroupCoT")} + items("RadioGroupCoT", 2) + items("RadioGroupR", 6) +
                      QStringList{QStringLiteral("TabSheetTurn"), QStringLiteral("TabSheetCut"), QStringLiteral("TabSheetRound")};
    } else if (is("FPrecislovani")) {
        r.fixedKeys = QStringList{s} + items("RadioGroupStyle", 3, "Items") +
                      QStringList{QStringLiteral("RadioGroupTo"), QStringLiteral("StaticTextFirstB"),
                                  QStringLiteral("StaticTextNextB"), QStringLiteral("CheckBoxSelect"), QStringLiteral("LabelMax")};
    } else if (is("FSablony")) {
        r.windows << QStringLiteral("TFCreateSabl");
        r.fixedKeys = QStringList{s, QStringLiteral("LabelS"), QStringLiteral("LabelNC"), QStringLiteral("LabelSy"),
                                  QStringLiteral("ButtonAdd"), QStringLiteral("ButtonEdit"), QStringLiteral("ButtonDel")} +
                      items("ListView1", 2, "columns") + QStringList{QStringLiteral("LabelName"), QStringLiteral("LabelDes")};
    } else if (is("FKruznice")) {
        r.flatButtonIsHint = true;
    }
    return r;
}

// The window an object belongs to: popup menus count as part of the window that holds them.
QWidget *owningWindow(QObject *o) {
    for (QObject *p = o; p; p = p->parent()) {
        auto *w = qobject_cast<QWidget *>(p);
        if (!w || qobject_cast<QMenu *>(w))
            continue;
        return w->window();
    }
    return nullptr;
}

// Every named object of a window, by name.
QMultiHash<QString, QObject *> namedObjects(QWidget *window) {
    QMultiHash<QString, QObject *> out;
    const QList<QObject *> all = window->findChildren<QObject *>();
    for (QObject *o : all)
        if (!o->objectName().isEmpty() && owningWindow(o) == window)
            out.insert(o->objectName(), o);
    return out;
}

QList<QRadioButton *> radioButtons(QGroupBox *box) {
    QList<QRadioButton *> out;
    for (QRadioButton *b : box->findChildren<QRadioButton *>())
        if (b->parentWidget() == box || b->parentWidget()->parentWidget() == box)
            out << b;
    return out;
}

bool isRadioGroup(QObject *o) {
    auto *box = qobject_cast<QGroupBox *>(o);
    return box && !radioButtons(box).isEmpty();
}

bool isTabPage(QWidget *w, QTabWidget **tabs) {
    auto *stack = qobject_cast<QStackedWidget *>(w->parentWidget());
    if (!stack)
        return false;
    *tabs = qobject_cast<QTabWidget *>(stack->parentWidget());
    return *tabs != nullptr;
}

void setHint(QToolButton *b, const QString &value) {
    // A toolbar button takes its hint from its action whenever the action changes.
    if (QAction *a = b->defaultAction())
        a->setToolTip(value);
    b->setToolTip(value);
}

bool isToolbarButton(QObject *o) {
    auto *b = qobject_cast<QToolButton *>(o);
    return b && qobject_cast<QToolBar *>(b->parentWidget());
}

bool isFlatButton(QObject *o) {
    if (isToolbarButton(o))
        return false;
    if (qobject_cast<QToolButton *>(o))
        return true;
    auto *p = qobject_cast<QPushButton *>(o);
    return p && p->isFlat();
}

// One value for one component named by a key.
void applyToComponent(QObject *o, const QString &value, const SectionRule &rule) {
    if (auto *a = qobject_cast<QAction *>(o)) {
        a->setText(value);
        return;
    }
    if (auto *m = qobject_cast<QMenu *>(o)) {
        m->setTitle(value);
        return;
    }
    auto *w = qobject_cast<QWidget *>(o);
    if (!w)
        return;
    QTabWidget *tabs = nullptr;
    if (isTabPage(w, &tabs)) {
        tabs->setTabText(tabs->indexOf(w), value);
        return;
    }
    if (isToolbarButton(o) || (rule.flatButtonIsHint && isFlatButton(o))) {
        if (auto *b = qobject_cast<QToolButton *>(o))
            setHint(b, value);
        else
            w->setToolTip(value);
        return;
    }
    if (auto *b = qobject_cast<QAbstractButton *>(o)) {
        b->setText(value);
        return;
    }
    if (auto *l = qobject_cast<QLabel *>(o)) {
        l->setText(value);
        return;
    }
    if (auto *g = qobject_cast<QGroupBox *>(o)) {
        if (rule.radioKeyIsItems && isRadioGroup(g)) {
            const QStringList list = splitDelimitedText(value);
            const QList<QRadioButton *> buttons = radioButtons(g);
            for (int i = 0; i < buttons.size() && i < list.size(); ++i)
                buttons[i]->setText(list[i]);
        } else {
            g->setTitle(value);
        }
        return;
    }
    if (auto *t = qobject_cast<QToolBar *>(o)) {
        t->setWindowTitle(value);
        return;
    }
    if (auto *c = qobject_cast<QComboBox *>(o)) {
        const int current = c->currentIndex();
        c->clear();
        c->addItems(splitDelimitedText(value));
        c->setCurrentIndex(qMin(current, c->count() - 1));
        return;
    }
}

// One item of a component: a radio button of a group, an entry of a combo box, a list view column.
void applyToItem(QObject *o, int index, const QString &value) {
    if (auto *g = qobject_cast<QGroupBox *>(o)) {
        const QList<QRadioButton *> buttons = radioButtons(g);
        if (index < buttons.size())
            buttons[index]->setText(value);
    } else if (auto *c = qobject_cast<QComboBox *>(o)) {
        if (index < c->count())
            c->setItemText(index, value);
    } else if (auto *t = qobject_cast<QTreeWidget *>(o)) {
        if (index < t->columnCount())
            t->headerItem()->setText(index, value);
    }
}

void applyKey(QWidget *window, const QMultiHash<QString, QObject *> &named, const QString &section, const QString &key,
              const QString &value, const SectionRule &rule) {
    if (key == section) // the window's own caption
        window->setWindowTitle(value);
    IndexedKey ik;
    if (parseIndexedKey(key, ik)) {
        for (QObject *o : named.values(ik.component))
            applyToItem(o, ik.index, value);
        return;
    }
    for (QObject *o : named.values(key))
        applyToComponent(o, value, rule);
    if (key.size() > 1 && key.endsWith(QLatin1Char('H'))) // a toolbar button's hint
        for (QObject *o : named.values(key.chopped(1)))
            if (auto *b = qobject_cast<QToolButton *>(o))
                setHint(b, value);
    if (rule.radioKeyIsItems && key.size() > 1 && key.endsWith(QLatin1Char('C'))) // a radio group's caption
        for (QObject *o : named.values(key.chopped(1)))
            if (isRadioGroup(o))
                static_cast<QGroupBox *>(o)->setTitle(value);
}

void applySection(QWidget *window, const IniSection &section, const SectionRule &rule) {
    const QMultiHash<QString, QObject *> named = namedObjects(window);
    for (const IniEntry &e : section.entries)
        applyKey(window, named, section.name, e.key, e.value, rule);
    if (section.entries.isEmpty())
        return;
    // Fixed texts the section lacks read "Error".
    for (const QString &key : rule.fixedKeys) {
        bool present = false;
        for (const IniEntry &e : section.entries)
            present = present || e.key.compare(key, Qt::CaseInsensitive) == 0;
        if (!present)
            applyKey(window, named, section.name, key, QStringLiteral("Error"), rule);
    }
}

QList<QWidget *> windowsNamed(const QStringList &names) {
    QList<QWidget *> out;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (!qobject_cast<QMenu *>(w) && names.contains(w->objectName()))
            out << w;
    return out;
}

QString languageFolder() { return programFile(QStringLiteral("Language")); }

QActionGroup *languageGroup(Host &host) {
    QMenu *menu = host.menu(QStringLiteral("Jazyk"));
    return menu ? menu->findChild<QActionGroup *>(QStringLiteral("LanguageItems")) : nullptr;
}

void checkItem(Host &host, const QString &name) {
    if (QActionGroup *group = languageGroup(host))
        for (QAction *a : group->actions())
            a->setChecked(a->objectName() == name);
}

// The Qt translation of the standard dialogs' buttons and texts (message
// boxes, input boxes, file dialogs) that the language file in force names
// under key "Qt" of its section "Language" ("cs"); none without that key.
void applyQtTranslation() {
    static QTranslator *installed = nullptr;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    const QString path = currentLanguagePath();
    if (path.isEmpty() || !QCoreApplication::instance())
        return;
    const QString locale = IniFile(path).readString(QStringLiteral("Language"), QStringLiteral("Qt"));
    if (locale.isEmpty() || locale.startsWith(QLatin1String("en")))
        return; // Qt speaks English itself
    auto *t = new QTranslator;
    if (!t->load(QStringLiteral("qtbase_") + locale, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete t; // the translations are not installed: the dialogs keep their English buttons
        return;
    }
    QCoreApplication::installTranslator(t);
    installed = t;
}

} // namespace

bool applyLanguageFile(const QString &path) {
    const LoadResult loaded = loadTextFile(path);
    if (!loaded.ok)
        return false;
    const IniData data = IniData::parse(loaded.lines);
    for (const IniSection &section : data.sections) {
        const SectionRule rule = ruleFor(section.name);
        for (QWidget *window : windowsNamed(rule.windows))
            applySection(window, section, rule);
    }
    return true;
}

void applyWindowSection(QWidget *window, const QString &section) {
    const QString path = currentLanguagePath();
    if (!window || path.isEmpty())
        return;
    const LoadResult loaded = loadTextFile(path);
    if (!loaded.ok)
        return;
    const IniData data = IniData::parse(loaded.lines);
    const IniSection *s = data.section(section);
    if (!s || s->entries.isEmpty())
        return; // the window keeps its built-in texts
    QString caption = QStringLiteral("ERROR");
    for (const IniEntry &e : s->entries)
        if (e.key.compare(section, Qt::CaseInsensitive) == 0) {
            caption = e.value;
            break;
        }
    window->setWindowTitle(caption);
    SectionRule rule = ruleFor(section);
    rule.fixedKeys.clear();
    const QMultiHash<QString, QObject *> named = namedObjects(window);
    for (const IniEntry &e : s->entries)
        if (e.key.compare(section, Qt::CaseInsensitive) != 0)
            applyKey(window, named, section, e.key, e.value, rule);
}

void chooseLanguage(Host &host, const QString &name) {
    const QString fileName = name + QStringLiteral(".lng");
    setCurrentLanguageFile(fileName);
    const QString path = findFileNoCase(languageFolder() + QLatin1Char('/'), fileName);
    if (!applyLanguageFile(path))
        host.userIO().error(QStringLiteral("%1\n%2").arg(path, loadTextFile(path).error));
    applyQtTranslation();
    IniFile setup(setupIniPath());
    if (!setup.writeString(QStringLiteral("Language"), QStringLiteral("lng"), name))
        host.userIO().error(QStringLiteral("%1\n%2").arg(setup.path(), setup.lastError()));
    checkItem(host, name);
}

void installLanguageMenu(Host &host) {
    QMenu *menu = host.menu(QStringLiteral("Jazyk"));
    if (!menu)
        return;
    auto *group = new QActionGroup(menu);
    group->setObjectName(QStringLiteral("LanguageItems"));
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    const QString folder = languageFolder();
    const QStringList files = QDir(folder).entryList({QStringLiteral("*.lng")}, QDir::Files, QDir::Name);
    const QString stored = IniFile(setupIniPath()).readString(QStringLiteral("Language"), QStringLiteral("lng"), QStringLiteral("error"));
    for (const QString &file : files) {
        const QString name = languageItemName(file);
        if (name.isEmpty())
            continue;
        const QString caption = IniFile(QDir(folder).filePath(file))
                                    .readString(QStringLiteral("Language"), QStringLiteral("Language"), QStringLiteral("ERROR"));
        QAction *item = menu->addAction(caption);
        item->setObjectName(name);
        item->setCheckable(true);
        item->setChecked(name == stored);
        group->addAction(item);
        QObject::connect(item, &QAction::triggered, &host, [&host, name] { chooseLanguage(host, name); });
    }
}

QString startupLanguageName() { return QStringLiteral("Cestina"); }

void chooseStartupLanguage() {
    IniFile setup(setupIniPath());
    const QString stored = setup.readString(QStringLiteral("Language"), QStringLiteral("lng"));
    const QString folder = languageFolder() + QLatin1Char('/');
    const auto existing = [&](const QString &name) {
        const QString path = findFileNoCase(folder, name + QStringLiteral(".lng"));
        return QFileInfo(path).isFile() ? QFileInfo(path).fileName() : QString();
    };
    QString file = stored.isEmpty() ? QString() : existing(stored);
    if (file.isEmpty()) {
        // A first start, or a chosen file that has gone: the program speaks Czech.
        file = existing(startupLanguageName());
        if (!file.isEmpty() && stored.isEmpty())
            setup.writeString(QStringLiteral("Language"), QStringLiteral("lng"), languageItemName(file));
    }
    setCurrentLanguageFile(file);
    applyQtTranslation();
}

void applyStartupLanguage(Host &host) {
    (void)host;
    const QString file = currentLanguageFile();
    if (file.isEmpty())
        return; // the built-in captions stay
    if (!applyLanguageFile(currentLanguagePath()))
        setCurrentLanguageFile(QString());
}

} // namespace velmora
