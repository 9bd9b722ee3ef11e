#pragma once
// Names of the calculators' choices as velmora-cli spells them.
#include "calculators/logic/circle.h"
#include "calculators/logic/cutting.h"

#include <QString>

namespace velmora::calc {

bool speedRoundingFromName(const QString &name, SpeedRounding &out);   // none, whole, tens
bool feedRoundingFromName(const QString &name, FeedRounding &out);     // none, 3, 2, 1, whole, tens
bool feedModeFromName(const QString &name, FeedMode &out);             // turn-rev, turn-min, mill-tooth, mill-min
bool planeFromName(const QString &name, Plane &out);                   // xy, xz, yz (any case)

// A coordinate pair "C1,C2" or "C1;C2". With "," as the separator the numbers
// take "." as the decimal mark; with ";" either mark. The two texts come back
// with "," as the decimal mark, as the windows' fields hold them. False when the
// text is no such pair.
bool parseCoordinatePair(const QString &text, QString &first, QString &second);

// A number text of an option ("." or ",") in the form the windows' fields hold
// (decimal comma); false when it is no number.
bool fieldNumber(const QString &text, QString &field);

} // namespace velmora::calc
