#include "shell/widgets/qtuserio.h"

#include "shell/logic/setup.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace velmora {

namespace {

// A folder the dialogs can start in: "c:\" and other foreign folders fall back to the home folder.
QString usableFolder(const QString &folder) {
    if (!folder.isEmpty()) {
        const QFileInfo fi(folder);
        if (fi.isDir())
            return fi.absoluteFilePath();
        if (fi.absoluteDir().exists() && !fi.fileName().isEmpty())
            return fi.absoluteFilePath();
    }
    return QDir::homePath();
}

} // namespace

Answer QtUserIO::message(MessageKind kind, const QString &text, Buttons buttons, const QString &title) {
    QMessageBox box(parent_ ? parent_ : QApplication::activeWindow());
    switch (kind) {
    case MessageKind::Error: box.setIcon(QMessageBox::Critical); break;
    case MessageKind::Warning: box.setIcon(QMessageBox::Warning); break;
    case MessageKind::Information: box.setIcon(QMessageBox::Information); break;
    case MessageKind::Confirmation: box.setIcon(QMessageBox::Question); break;
    case MessageKind::Plain: box.setIcon(QMessageBox::NoIcon); break;
    }
    QString caption = title;
    if (caption.isEmpty()) {
        switch (kind) {
        case MessageKind::Error: caption = QStringLiteral("Chyba"); break;
        case MessageKind::Warning: caption = QStringLiteral("Upozornění"); break;
        case MessageKind::Information: caption = QStringLiteral("Informace"); break;
        case MessageKind::Confirmation: caption = QStringLiteral("Potvrzení"); break;
        case MessageKind::Plain: caption = QStringLiteral("Velmora"); break;
        }
    }
    box.setWindowTitle(caption);
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setText(shown);
    QMessageBox::StandardButtons sb;
    if (buttons & int(Answer::Yes))
        sb |= QMessageBox::Yes;
    if (buttons & int(Answer::No))
        sb |= QMessageBox::No;
    if (buttons & int(Answer::Ok))
        sb |= QMessageBox::Ok;
    if (buttons & int(Answer::Cancel))
        sb |= QMessageBox::Cancel;
    if (!sb)
        sb = QMessageBox::Ok;
    box.setStandardButtons(sb);
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int r = box.exec();
    QApplication::restoreOverrideCursor();
    switch (r) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Ok: return Answer::Ok;
    default: return (buttons & int(Answer::Cancel)) || !(buttons & int(Answer::No)) ? Answer::Cancel : Answer::No;
    }
}

bool QtUserIO::inputText(const QString &caption, const QString &prompt, QString &value) {
    bool ok = false;
    const QString v = QInputDialog::getText(parent_, caption, prompt, QLineEdit::Normal, value, &ok);
    if (ok)
        value = v;
    return ok;
}

QString QtUserIO::openFileName(const QString &title, const QString &filter, const QString &folder) {
    return QFileDialog::getOpenFileName(parent_, title, usableFolder(folder), qtFileFilter(filter));
}

QStringList QtUserIO::openFileNames(const QString &title, const QString &filter, const QString &folder) {
    return QFileDialog::getOpenFileNames(parent_, title, usableFolder(folder), qtFileFilter(filter));
}

QString QtUserIO::saveFileName(const QString &title, const QString &filter, const QString &proposed, int *chosenFilter) {
    QString start = proposed;
    if (QFileInfo(start).isRelative())
        start = QDir::home().filePath(start);
    const QString filters = qtFileFilter(filter);
    QString selected;
    const QString path = QFileDialog::getSaveFileName(parent_, title, start, filters, &selected);
    if (chosenFilter)
        *chosenFilter = qMax(0, int(filters.split(QStringLiteral(";;")).indexOf(selected)));
    return path;
}

QString QtUserIO::folderName(const QString &title, const QString &folder) {
    return QFileDialog::getExistingDirectory(parent_, title, usableFolder(folder));
}

void QtUserIO::beep() { QApplication::beep(); }

} // namespace velmora
