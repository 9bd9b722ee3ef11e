#pragma once
// Renumbering the blocks of a program: ISO-style block numbers ("N", ":" and
// "%" lines) renumbered, removed or created, and Heidenhain Dialog line numbers.
#include "nctext/logic/nctext.h"

#include <QString>
#include <QStringList>

namespace velmora {

enum class RenumberStyle { Renumber = 0, Remove = 1, Create = 2 };
// The dialog's pages: the page decides the algorithm.
enum class RenumberPage { Iso = 0, Heidenhain = 1, Pelton = 2 };
enum class HeidenhainVariant { Tnc407 = 0, Tnc426 = 1 };

struct RenumberOptions {
    RenumberStyle style = RenumberStyle::Renumber;
    RenumberPage page = RenumberPage::Iso;
    // The fields as typed; they become integers when the renumbering runs.
    QString first = QStringLiteral("10");
    QString step = QStringLiteral("10");
    QString max = QStringLiteral("999"); // largest block number on the Pelton 50 page
    EndMarker to = EndMarker::M30;
    HeidenhainVariant variant = HeidenhainVariant::Tnc407;
};

// Renumbers lines [fromLine, toLine] (0-based, inclusive; toLine < 0 means the
// last line). The Heidenhain page always works on every line.
// Throws ConversionError ("'%s' is not a valid integer value") for a field that
// is not an integer; the lines are then unchanged.
void renumber(QStringList &lines, const RenumberOptions &options, int fromLine = 0, int toLine = -1);

// The parts, for callers that already know which one they need.
void renumberIso(QStringList &lines, const RenumberOptions &options, int fromLine, int toLine);
void renumberHeidenhain(QStringList &lines, HeidenhainVariant variant);

// The dialog's values as SetupCNC.ini keeps them in section "Precislovani".
struct RenumberSettings {
    QString first = QStringLiteral("10"); // "Prvni"
    QString step = QStringLiteral("10");  // "Dalsi"
    int to = 0;                            // "K": 0 M30, 1 M2, 2 the whole program
    int variant = 0;                       // "H": 0 TNC 407, 1 TNC 426
    QString max = QStringLiteral("999");   // "MaxRadek"
};

RenumberSettings readRenumberSettings(const QString &iniPath);
// False (with the reason in *error) when the file cannot be written.
bool writeRenumberSettings(const QString &iniPath, const RenumberSettings &settings, QString *error = nullptr);

} // namespace velmora
