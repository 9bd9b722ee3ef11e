#include "nctext/logic/nctext.h"

namespace velmora {

QString endMarkerText(EndMarker marker) {
    switch (marker) {
    case EndMarker::M30:
        return QStringLiteral("M30");
    case EndMarker::M2:
        return QStringLiteral("M2");
    case EndMarker::Whole:
        break;
    }
    return QStringLiteral("konec programu");
}

EndMarker endMarkerFromIndex(int index) {
    switch (index) {
    case 1:
        return EndMarker::M2;
    case 2:
        return EndMarker::Whole;
    default:
        return EndMarker::M30;
    }
}

bool endMarkerFromName(const QString &name, EndMarker &marker) {
    if (name.compare(QLatin1String("M30"), Qt::CaseInsensitive) == 0)
        marker = EndMarker::M30;
    else if (name.compare(QLatin1String("M2"), Qt::CaseInsensitive) == 0)
        marker = EndMarker::M2;
    else if (name.compare(QLatin1String("all"), Qt::CaseInsensitive) == 0)
        marker = EndMarker::Whole;
    else
        return false;
    return true;
}

bool containsText(const QString &line, const QString &text) {
    const qsizetype n = line.size(), m = text.size();
    if (m == 0)
        return true;
    const QChar *d = line.constData(), *t = text.constData();
    const QChar first = t[0];
    for (qsizetype i = 0; i + m <= n; ++i) {
        if (d[i] != first)
            continue;
        qsizetype k = 1;
        while (k < m && d[i + k] == t[k])
            ++k;
        if (k == m)
            return true;
    }
    return false;
}

QString trimLeftBlanks(const QString &line) {
    qsizetype i = 0;
    while (i < line.size() && line[i].unicode() <= 32)
        ++i;
    return i == 0 ? line : line.mid(i);
}

bool replaceFirst(QString &text, const QString &what, const QString &with) {
    const qsizetype at = text.indexOf(what);
    if (at < 0)
        return false;
    text.replace(at, what.size(), with);
    return true;
}

} // namespace velmora
