#pragma once
// Comparing two program files line by line, with a text report.
#include <QDate>
#include <QString>
#include <QStringList>

namespace velmora {

struct CompareResult {
    QStringList report;
    QString error;          // set when a file could not be read; the report so far stays
    bool different = false; // a line differs, or one file has lines the other lacks
};

// The report of "Porovnat". Two equal file names (without regard to case) give
// "Soubory se rovnají"; otherwise the sizes and dates, then every pair of lines
// that differ without regard to case, and the end of a shorter compared file.
CompareResult compareFiles(const QString &original, const QString &compared);

// The line-by-line part on its own, for lines already read.
void compareLines(const QStringList &original, const QStringList &compared, CompareResult &result);

QString shortDate(const QDate &date);

} // namespace velmora
