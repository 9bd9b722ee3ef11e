#pragma once
// Holes along a straight line: the group tree, the report, the preview shapes
// and the NC blocks written from the report.
#include "calculators/logic/circle.h"

namespace velmora::calc {

// Texts of the language section FPrimka the calculator writes and recognises.
struct LineTexts {
    QString dHole, cPoints, firstP, angle, sHole, plane;
    QString label2 = QStringLiteral("X"), label3 = QStringLiteral("Y"); // captions of Label2 and Label3
    static LineTexts fromLanguage(); // the Czech texts when the language file lacks them
    static LineTexts czech();
};

struct LineInput {
    QString x0 = QStringLiteral("0");
    QString y0 = QStringLiteral("0");
    QString angle = QStringLiteral("30");
    QString spacing = QStringLiteral("20");
    QString holes = QStringLiteral("15");
    QString holeDiameter = QStringLiteral("6");
    Plane plane = Plane::XY;
};

class LineCalculator : public GroupCalculator {
public:
    explicit LineCalculator(LineTexts texts, int decimals = 3);

    // "Výpočet": a new group from the field texts as typed. Throws ConversionError.
    void calculate(const LineInput &input);
    void recalculate();
    void deleteGroup(int root, bool autoRecalc);
    bool editNode(int index, const QString &value, bool autoRecalc);
    void setDecimals(int d) { decimals_ = d; }
    void setTexts(const LineTexts &texts) { texts_ = texts; } // e.g. after the captions changed

private:
    void calculateGroup(const LineInput &in, int recalcRoot);
    LineTexts texts_;
    int decimals_;
    int counter_ = 1;
};

QStringList lineBlocks(const QStringList &report, const LineTexts &texts, const QString &prefix);

} // namespace velmora::calc
