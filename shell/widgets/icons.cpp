#include "shell/widgets/icons.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>

namespace velmora {

QIcon badgeIcon(const QString &sign, const QColor &colour) {
    QIcon icon;
    for (int size : {16, 24, 32}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        QLinearGradient g(0, 0, 0, size);
        g.setColorAt(0, colour.lighter(135));
        g.setColorAt(1, colour.darker(115));
        p.setBrush(g);
        p.setPen(QPen(colour.darker(160), size / 16.0));
        p.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), size / 5.0, size / 5.0);
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setBold(true);
        f.setPixelSize(sign.size() > 2 ? size * 5 / 16 : sign.size() == 2 ? size * 7 / 16 : size * 10 / 16);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, sign);
        icon.addPixmap(pm);
    }
    return icon;
}

QIcon commandIcon(const QString &name) {
    QStyle *s = QApplication::style();
    struct Std {
        const char *name;
        QStyle::StandardPixmap pixmap;
    };
    static const Std standard[] = {
        {"New", QStyle::SP_FileIcon},           {"Open", QStyle::SP_DialogOpenButton},
        {"Save", QStyle::SP_DialogSaveButton},  {"CloseOne", QStyle::SP_DialogCloseButton},
        {"Undo", QStyle::SP_ArrowBack},         {"Redo", QStyle::SP_ArrowForward},
        {"ActionOpenProject", QStyle::SP_DirOpenIcon}, {"ActionNewProject", QStyle::SP_FileDialogNewFolder},
    };
    for (const Std &st : standard)
        if (name == QLatin1String(st.name))
            return s->standardIcon(st.pixmap);
    struct Badge {
        const char *name;
        const char *sign;
        QRgb colour;
    };
    static const Badge badges[] = {
        {"SaveAll", "S*", 0x2a6fb0},      {"CloseAll", "X*", 0xa04040},   {"Print", "P", 0x505a66},
        {"PrintPreview", "P?", 0x505a66}, {"NewTable", "T+", 0x2f8a4a},   {"SaveTable", "TS", 0x2f8a4a},
        {"PrintTnc", "TP", 0x2f8a4a},     {"NewTable530", "i+", 0x1f7a7a}, {"SaveTable530", "iS", 0x1f7a7a},
        {"Cut", "\u2702", 0x606060},      {"CopyA", "C", 0x606060},        {"Paste", "V", 0x606060},
        {"Find", "?", 0xb07a10},          {"Replace", "?\u2192", 0xb07a10}, {"Renumber", "N#", 0x7a3fa0},
        {"Setup", "\u2699", 0x505a66},    {"Kruznice", "\u25CB", 0xc05020}, {"Primka", "\u2500", 0xc05020},
        {"drzka", "\u2337", 0xc05020},    {"Vrchlik", "\u2228", 0xc05020}, {"Posuv", "F", 0xc05020},
        {"Otacky", "S", 0xc05020},        {"ActionSaveProject", "PS", 0x2a6fb0}, {"ActionCloseProject", "PX", 0xa04040},
    };
    for (const Badge &b : badges)
        if (name == QLatin1String(b.name))
            return badgeIcon(QString::fromUtf8(b.sign), QColor(b.colour));
    return QIcon();
}

} // namespace velmora
