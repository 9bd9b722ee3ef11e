#include "shell/logic/userio.h"

namespace velmora {

Answer ScriptedUserIO::message(MessageKind kind, const QString &text, Buttons buttons, const QString &) {
    shown.append(Shown{kind, text, buttons});
    if (!answers.isEmpty())
        return answers.takeFirst();
    if (buttons & int(Answer::Yes))
        return Answer::Yes;
    if (buttons & int(Answer::Ok))
        return Answer::Ok;
    return Answer::Cancel;
}

bool ScriptedUserIO::inputText(const QString &caption, const QString &prompt, QString &value) {
    asked.append(Asked{caption, prompt});
    if (inputs.isEmpty())
        return false;
    const QString v = inputs.takeFirst();
    if (v.isNull())
        return false;
    value = v;
    return true;
}

QString ScriptedUserIO::nextFile() { return files.isEmpty() ? QString() : files.takeFirst(); }

QString ScriptedUserIO::openFileName(const QString &title, const QString &filter, const QString &) {
    asked.append(Asked{title, filter});
    return nextFile();
}

QStringList ScriptedUserIO::openFileNames(const QString &title, const QString &filter, const QString &) {
    asked.append(Asked{title, filter});
    const QString f = nextFile();
    return f.isEmpty() ? QStringList() : f.split(QLatin1Char('\n'));
}

QString ScriptedUserIO::saveFileName(const QString &title, const QString &filter, const QString &, int *chosenFilter) {
    asked.append(Asked{title, filter});
    const int chosen = filters.isEmpty() ? 0 : filters.takeFirst();
    if (chosenFilter)
        *chosenFilter = chosen;
    return nextFile();
}

QString ScriptedUserIO::folderName(const QString &title, const QString &) {
    asked.append(Asked{title, QString()});
    return nextFile();
}

} // namespace velmora
