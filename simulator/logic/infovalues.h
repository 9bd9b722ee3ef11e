#pragma once
// The information window's own arithmetic: from the texts it shows for a
// picked segment (start and end point, F), the differences of the coordinates
// and the time of the path, in the general number format with the decimal comma.
#include <QString>

namespace velmora::sim {

struct InfoValues {
    QString difference[3]; // |start - end| of X, Y, Z
    bool timeOk = false;   // false: the time cannot be computed (the message is in `error`)
    QString time;          // length / F, in minutes
    QString error;
};

// Texts that are no number give the message of a failed conversion.
InfoValues infoValues(const QString start[3], const QString end[3], const QString &feed);

} // namespace velmora::sim
