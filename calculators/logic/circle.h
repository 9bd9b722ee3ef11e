#pragma once
// Holes on a pitch circle: the group tree, the calculation report, the
// preview shapes and the NC blocks written from the report.
#include "calculators/logic/geotree.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace velmora::calc {

enum class Plane { XY = 0, XZ = 1, YZ = 2 };
QString planeName(Plane plane);          // "XY", "XZ", "YZ"
QChar firstAxis(Plane plane);            // X, X, Y
QChar secondAxis(Plane plane);           // Y, Z, Z

// Texts of the language section FKruznice the calculator writes and recognises.
struct CircleTexts {
    QString sCircle, cHole, fAngle, nAngle, coord, dHole, polarYes, polarNo, plane;
    QString polarItem; // "RadioGroup2.colums[0]": recognises the polar style in the tree
    // The texts of the current language file; the Czech ones when the file
    // lacks any of them or they cannot tell the polar style from the Cartesian one.
    static CircleTexts fromLanguage();
    bool usable() const;
    static CircleTexts czech(); // the texts of the shipped Czech language file
};

struct CircleInput {
    QString diameter = QStringLiteral("100");
    QString holes = QStringLiteral("8");
    QString startAngle = QStringLiteral("30");
    QString stepAngle = QStringLiteral("45");
    QString centre1 = QStringLiteral("0");
    QString centre2 = QStringLiteral("0");
    QString holeDiameter = QStringLiteral("8");
    bool polar = false;
    Plane plane = Plane::XY;
};

// The overlap question: true goes on, false stops the group.
using OverlapQuestion = std::function<bool()>;
QString overlapQuestionText();

class CircleCalculator : public GroupCalculator {
public:
    explicit CircleCalculator(CircleTexts texts, int decimals = 3);

    // "Spočti": a new group from field texts ("." is taken as ","). Throws ConversionError.
    void calculate(const CircleInput &input, const OverlapQuestion &ask);
    // Rebuilds report and drawing from the tree.
    void recalculate(const OverlapQuestion &ask);
    // Deletes the group whose root is at `root`; recalculates when `autoRecalc`.
    void deleteGroup(int root, bool autoRecalc, const OverlapQuestion &ask);
    // Replaces a node's value ("." taken as ","); empties the report; recalculates when `autoRecalc`.
    bool editNode(int index, const QString &value, bool autoRecalc, const OverlapQuestion &ask);
    int decimals() const { return decimals_; }
    void setDecimals(int d) { decimals_ = d; }

private:
    void calculateGroup(const CircleInput &in, int recalcRoot, const OverlapQuestion &ask);
    CircleTexts texts_;
    int decimals_;
    int counter_ = 1;
};

// The NC blocks written from a report; `prefix` is the block prefix ("N1").
QStringList circleBlocks(const QStringList &report, const CircleTexts &texts, const QString &prefix);

} // namespace velmora::calc
