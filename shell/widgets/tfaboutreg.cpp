#include "shell/widgets/tfaboutreg.h"

#include "shell/widgets/tfshow.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSysInfo>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

#include <pwd.h>
#include <unistd.h>

namespace velmora {

QString versionText() { return QStringLiteral("1.4.5.0 na Linux"); }

SystemInfo readSystemInfo() {
    SystemInfo info;
    if (const passwd *pw = getpwuid(getuid())) {
        QString gecos = QString::fromLocal8Bit(pw->pw_gecos).section(QLatin1Char(','), 0, 0).trimmed();
        info.owner = gecos.isEmpty() ? QString::fromLocal8Bit(pw->pw_name) : gecos;
    }
    info.organisation = QSysInfo::machineHostName();
    QFile osRelease(QStringLiteral("/etc/os-release"));
    if (!osRelease.open(QIODevice::ReadOnly))
        osRelease.setFileName(QStringLiteral("/usr/lib/os-release"));
    if (osRelease.isOpen() || osRelease.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : osRelease.readAll().split('\n')) {
            if (line.startsWith("PRETTY_NAME=")) {
                QString v = QString::fromUtf8(line.mid(12)).trimmed();
                if (v.size() >= 2 && v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"')))
                    v = v.mid(1, v.size() - 2);
                info.productName = v;
                info.ok = true;
            }
        }
    }
    info.versionNumber = QSysInfo::kernelVersion();
    info.memory = QStringLiteral("Nelze zjistit údaj o využití paměti.");
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:")) {
                bool ok = false;
                const qint64 kb = line.mid(6).trimmed().split(' ').value(0).toLongLong(&ok);
                if (ok)
                    info.memory = QStringLiteral("%1 Kbytes").arg(kb); // the size in bytes shifted right by 10 bits
            }
        }
    }
    return info;
}

TFAboutReg::TFAboutReg(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFAboutReg"));
    setWindowTitle(QStringLiteral("O aplikaci Velmora"));
    auto *v = new QVBoxLayout(this);
    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(velmoraPicture(QSize(420, 150)));
    v->addWidget(picture);
    auto *pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("PageControl1"));
    v->addWidget(pages);

    auto *main = new QWidget;
    main->setObjectName(QStringLiteral("TabSheetHlavni"));
    auto *mf = new QFormLayout(main);
    auto *desc = new QLabel(QStringLiteral("Program pro NC/CNC programátory"));
    desc->setObjectName(QStringLiteral("LabelPopis"));
    mf->addRow(desc);
    auto *version = new QLabel(versionText());
    version->setObjectName(QStringLiteral("LabelVerze"));
    mf->addRow(QStringLiteral("Verze :"), version);
    pages->addTab(main, QStringLiteral("Hlavní"));

    auto *history = new QTextEdit;
    history->setObjectName(QStringLiteral("MemoHistorie"));
    history->setReadOnly(true);
    history->setPlainText(QStringLiteral(
        "1.4.5\n"
        "  - dokumenty v záložkách, barevná syntaxe ISO, ISO2 a Heidenhain Dialog\n"
        "  - přečíslování bloků, mezery v NC kódu, kontrola XYZ, porovnání souborů\n"
        "  - tabulky nástrojů TNC 407/426 a iTNC 530, výpis nástrojů, karta nástrojů\n"
        "  - přenos programů po RS 232, výpočty otáček, posuvů a bodů, drážky\n"
        "  - zásuvné moduly v nabídce Simulace\n"));
    pages->addTab(history, QStringLiteral("Historie"));

    auto *infoPage = new QWidget;
    infoPage->setObjectName(QStringLiteral("TabSheetInfo"));
    auto *inf = new QFormLayout(infoPage);
    owner_ = new QLabel;
    organisation_ = new QLabel;
    system_ = new QLabel;
    osVersion_ = new QLabel;
    memory_ = new QLabel;
    owner_->setObjectName(QStringLiteral("LabelOwner"));
    organisation_->setObjectName(QStringLiteral("LabelOrganization"));
    system_->setObjectName(QStringLiteral("LabelOS"));
    osVersion_->setObjectName(QStringLiteral("LabelOSVersion"));
    memory_->setObjectName(QStringLiteral("LabelMemory"));
    inf->addRow(QStringLiteral("Vlastník :"), owner_);
    inf->addRow(QString(), organisation_);
    inf->addRow(QStringLiteral("Operační systém :"), system_);
    inf->addRow(QStringLiteral("Verze OS :"), osVersion_);
    inf->addRow(QStringLiteral("Využití paměti aplikace :"), memory_);
    pages->addTab(infoPage, QStringLiteral("Info"));

    auto *components = new QLabel(QStringLiteral(
        "Editor: QScintilla\nGrafické rozhraní: Qt 6\n3D zobrazení: OpenGL a GLU\nObrázky: libjpeg-turbo"));
    components->setObjectName(QStringLiteral("LabelKomponenty"));
    components->setMargin(8);
    pages->addTab(components, QStringLiteral("Komponenty"));
    auto *thanks = new QLabel(QStringLiteral("Děkujeme všem programátorům a obsluhám strojů,\n"
                                             "kteří program zkoušeli a posílali své připomínky."));
    thanks->setObjectName(QStringLiteral("LabelPodekovani"));
    thanks->setMargin(8);
    pages->addTab(thanks, QStringLiteral("Poděkování"));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    v->addWidget(buttons);
    fillInfo();
}

void TFAboutReg::fillInfo() {
    const SystemInfo info = readSystemInfo();
    owner_->setText(info.owner);
    organisation_->setText(info.organisation);
    if (info.ok) {
        system_->setText(info.productName);
        osVersion_->setText(info.versionNumber);
    }
    memory_->setText(info.memory);
}

int TFAboutReg::exec() {
    // The memory figure is the one of the moment the window opens.
    fillInfo();
    return QDialog::exec();
}

} // namespace velmora
