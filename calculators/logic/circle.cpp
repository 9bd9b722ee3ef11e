#include "calculators/logic/circle.h"

#include "common/language.h"
#include "common/numbers.h"

#include <algorithm>
#include <cmath>

namespace velmora::calc {

QString planeName(Plane plane) {
    switch (plane) {
    case Plane::XZ:
        return QStringLiteral("XZ");
    case Plane::YZ:
        return QStringLiteral("YZ");
    default:
        return QStringLiteral("XY");
    }
}
QChar firstAxis(Plane plane) { return plane == Plane::YZ ? u'Y' : u'X'; }
QChar secondAxis(Plane plane) { return plane == Plane::XY ? u'Y' : u'Z'; }

CircleTexts CircleTexts::fromLanguage() {
    const QString s = QStringLiteral("FKruznice");
    CircleTexts t;
    t.sCircle = languageText(s, QStringLiteral("SCircle"));
    t.cHole = languageText(s, QStringLiteral("CHole"));
    t.fAngle = languageText(s, QStringLiteral("FAngle"));
    t.nAngle = languageText(s, QStringLiteral("NAngle"));
    t.coord = languageText(s, QStringLiteral("Coord"));
    t.dHole = languageText(s, QStringLiteral("DHole"));
    t.polarYes = languageText(s, QStringLiteral("PolarYes"));
    t.polarNo = languageText(s, QStringLiteral("PolarNo"));
    t.plane = languageText(s, QStringLiteral("Plane"));
    t.polarItem = languageText(s, QStringLiteral("RadioGroup2.colums[0]"));
    return t.usable() ? t : czech();
}

bool CircleTexts::usable() const {
    const QString error = QStringLiteral("Error");
    for (const QString *s : {&sCircle, &cHole, &fAngle, &nAngle, &coord, &dHole, &polarYes, &polarNo, &plane, &polarItem})
        if (s->isEmpty() || *s == error)
            return false;
    // The report tells the styles apart by these texts.
    return polarYes.contains(polarItem) && !polarNo.contains(polarItem) && !polarNo.contains(polarYes);
}

CircleTexts CircleTexts::czech() {
    CircleTexts t;
    t.sCircle = QStringLiteral("Roztečná kružnice");
    t.cHole = QStringLiteral("Počet otvorů");
    t.fAngle = QStringLiteral("Počáteční úhel");
    t.nAngle = QStringLiteral("Další úhel");
    t.coord = QStringLiteral("Souřadnice středu");
    t.dHole = QStringLiteral("Průměr otvorů");
    t.polarYes = QStringLiteral("Polárně Heidenhain ISO - Ano");
    t.polarNo = QStringLiteral("Polárně Heidenhain ISO - Ne");
    t.plane = QStringLiteral("Rovina");
    t.polarItem = QStringLiteral("Ano");
    return t;
}

QString overlapQuestionText() { return QStringLiteral("Kružnice se budou překrývat.\rPokračoat ?"); }

CircleCalculator::CircleCalculator(CircleTexts texts, int decimals) : texts_(std::move(texts)), decimals_(decimals) {}

namespace {

QString commaText(QString s) {
    s.replace(QLatin1Char('.'), QLatin1Char(','));
    return s;
}

} // namespace

void CircleCalculator::calculate(const CircleInput &input, const OverlapQuestion &ask) {
    CircleInput in = input;
    for (QString *f : {&in.diameter, &in.startAngle, &in.stepAngle, &in.centre1, &in.centre2, &in.holeDiameter})
        *f = commaText(*f);
    calculateGroup(in, -1, ask);
}

void CircleCalculator::calculateGroup(const CircleInput &in, int recalcRoot, const OverlapQuestion &ask) {
    // Every number is converted before anything is drawn, so a bad field adds nothing.
    const double diameter = parseFloat(in.diameter);
    const double c1 = parseFloat(in.centre1);
    const double c2 = parseFloat(in.centre2);
    const int n = holeCount(in.holes);
    const double a0 = parseFloat(in.startAngle);
    const double step = parseFloat(in.stepAngle);
    const double d = parseFloat(in.holeDiameter);
    const double r = diameter / 2;
    // The NC words fit: a hole lies within the radius around the centre, its
    // angle within the start angle and the steps; the field that makes a word
    // too large is named.
    const auto larger = [](double a, const QString &aText, double b, const QString &bText) {
        return std::fabs(a) >= std::fabs(b) ? aText : bText;
    };
    requireNcWord(std::fabs(r) + std::fabs(c1), larger(c1, in.centre1, r, in.diameter));
    requireNcWord(std::fabs(r) + std::fabs(c2), larger(c2, in.centre2, r, in.diameter));
    const double steps = std::fabs(step) * std::max(0, n - 1);
    requireNcWord(std::fabs(a0) + steps, larger(a0, in.startAngle, steps, in.stepAngle));

    Shape pitch;
    pitch.number = counter_++;
    pitch.group = counter_;
    pitch.points = circlePolygon(QPointF(c1 / 100, c2 / 100), r / 100, 50);
    pitch.closed = true;
    pitch.dashed = true;
    pitch.colour = ShapeColour::Pitch;
    shapes_.append(pitch);
    if (n <= 0)
        return;

    const int group = counter_;
    const QString planeText = texts_.plane + QStringLiteral(" : ") + planeName(in.plane);
    const QString styleText = in.polar ? texts_.polarYes : texts_.polarNo;
    double a = a0;
    for (int k = 1; k <= n; ++k) {
        if (k >= 2) {
            a = roundNoise(a + step);
            if (a > 361 && !(ask && ask()))
                return;
        }
        const double rad = a * M_PI / 180;
        const double p1 = r * std::cos(rad) + c1;
        const double p2 = r * std::sin(rad) + c2;
        if (k == 1) {
            const QChar f = firstAxis(in.plane), s = secondAxis(in.plane);
            report_ << QStringLiteral("WM").repeated(18)
                    << QStringLiteral("Roztečná kružnice   : ") + in.diameter
                    << QStringLiteral("Počet otvorů        : ") + in.holes
                    << QStringLiteral("Počátční úhel       : ") + in.startAngle
                    << QStringLiteral("Další úhel          : ") + in.stepAngle
                    << QStringLiteral("Souřadnice středu %1 : ").arg(f) + in.centre1
                    << QStringLiteral("Souřadnice středu %1 : ").arg(s) + in.centre2
                    << texts_.dHole + QStringLiteral(" : ") + in.holeDiameter
                    << styleText
                    << planeText
                    << (in.polar ? QStringLiteral("  R                    H")
                                 : QStringLiteral("  %1                    %2").arg(f).arg(s))
                    << QStringLiteral("*").repeated(36);
            const QString root = QString::number(group) + QStringLiteral("- ") + texts_.sCircle + QStringLiteral(" : ") + in.diameter;
            if (recalcRoot < 0) {
                const QString x1 = in.plane == Plane::YZ ? QStringLiteral(" Y : ") : QStringLiteral(" X : ");
                const QString x2 = in.plane == Plane::XY ? QStringLiteral(" Y : ") : QStringLiteral(" Z : ");
                tree_ << GeoNode{0, root}
                      << GeoNode{1, texts_.cHole + QStringLiteral(" : ") + in.holes}
                      << GeoNode{1, texts_.fAngle + QStringLiteral(" : ") + in.startAngle}
                      << GeoNode{1, texts_.nAngle + QStringLiteral(" : ") + in.stepAngle}
                      << GeoNode{1, texts_.coord + x1 + in.centre1}
                      << GeoNode{1, texts_.coord + x2 + in.centre2}
                      << GeoNode{1, texts_.dHole + QStringLiteral(" : ") + in.holeDiameter}
                      << GeoNode{1, styleText}
                      << GeoNode{1, planeText};
            } else {
                tree_[recalcRoot].text = root;
            }
        }
        const QString first = in.polar ? formatGeneral(r) : formatGeneral(roundDecimal(p1, decimals_));
        const QString second = in.polar ? formatGeneral(a) : formatGeneral(roundDecimal(p2, decimals_));
        report_ << first.leftJustified(21, QLatin1Char(' ')) + second;

        Shape hole;
        hole.number = counter_++;
        hole.group = group;
        hole.points = circlePolygon(QPointF(p1 / 100, p2 / 100), d / 2 / 100, 50);
        hole.closed = true;
        hole.colour = ShapeColour::Hole;
        shapes_.append(hole);
    }
}

void CircleCalculator::recalculate(const OverlapQuestion &ask) {
    report_.clear();
    shapes_.clear();
    counter_ = 1;
    for (int i = 0; i < tree_.size(); ++i) {
        if (tree_[i].depth != 0)
            continue;
        const int end = groupEnd(tree_, i);
        if (end - i - 1 < 8)
            continue;
        CircleInput in;
        in.diameter = nodeValue(tree_[i].text);
        in.holes = nodeValue(tree_[i + 1].text);
        in.startAngle = nodeValue(tree_[i + 2].text);
        in.stepAngle = nodeValue(tree_[i + 3].text);
        in.centre1 = nodeValue(tree_[i + 4].text);
        in.centre2 = nodeValue(tree_[i + 5].text);
        in.holeDiameter = nodeValue(tree_[i + 6].text);
        in.polar = !texts_.polarItem.isEmpty() && tree_[i + 7].text.contains(texts_.polarItem);
        const QString &planeNode = tree_[i + 8].text;
        in.plane = Plane::XY;
        for (Plane p : {Plane::XY, Plane::XZ, Plane::YZ})
            if (planeNode.contains(texts_.plane + QStringLiteral(" : ") + planeName(p)))
                in.plane = p;
        calculateGroup(in, i, ask);
    }
    stale_ = false; // a bad value on the way leaves the report stale
}

void CircleCalculator::deleteGroup(int root, bool autoRecalc, const OverlapQuestion &ask) {
    if (root < 0 || root >= tree_.size() || tree_[root].depth != 0)
        return;
    const int number = groupNumber(tree_[root].text);
    tree_.remove(root, groupEnd(tree_, root) - root);
    shapes_.removeIf([number](const Shape &s) { return s.group == number; });
    stale_ = true;
    if (autoRecalc)
        recalculate(ask);
}

bool CircleCalculator::editNode(int index, const QString &value, bool autoRecalc, const OverlapQuestion &ask) {
    // An edited value takes "." as the decimal comma, as the fields do.
    if (index < 0 || index >= tree_.size() || !setNodeValue(tree_[index].text, commaText(value)))
        return false;
    stale_ = true;
    report_.clear();
    if (autoRecalc)
        recalculate(ask);
    return true;
}

QStringList circleBlocks(const QStringList &report, const CircleTexts &texts, const QString &prefix) {
    QStringList out;
    QString d, poleX, poleY, poleZ;
    bool polar = false;
    Plane plane = Plane::XY;
    bool inList = false;
    const QString dKey = texts.dHole + QStringLiteral(" : ");
    const QString xKey = QStringLiteral("Souřadnice středu X : ");
    const QString yKey = QStringLiteral("Souřadnice středu Y : ");
    const QString zKey = QStringLiteral("Souřadnice středu Z : ");
    auto dotted = [](const QString &s) { return withoutExponent(s).replace(QLatin1Char(','), QLatin1Char('.')); };
    for (const QString &line : report) {
        if (line.startsWith(QLatin1Char('W'))) {
            inList = false;
            continue;
        }
        if (inList) {
            const qsizetype sp = line.indexOf(QLatin1Char(' '));
            QString first = sp < 0 ? line : line.left(sp);
            QString second;
            if (sp >= 0) {
                qsizetype i = sp;
                while (i < line.size() && line[i] == u' ')
                    ++i;
                second = line.mid(i);
            }
            first = ncForm(withoutExponent(first));
            second = ncForm(withoutExponent(second));
            if (polar)
                out << prefix + QStringLiteral(" G10 R") + first + QStringLiteral(" H") + second;
            else
                out << prefix + QStringLiteral(" %1").arg(firstAxis(plane)) + first + QStringLiteral(" %1").arg(secondAxis(plane)) + second;
            continue;
        }
        if (line.startsWith(dKey))
            d = line.mid(dKey.size());
        if (line.startsWith(xKey))
            poleX = line.mid(xKey.size());
        if (line.startsWith(yKey))
            poleY = line.mid(yKey.size());
        if (line.startsWith(zKey))
            poleZ = line.mid(zKey.size());
        if (!texts.polarNo.isEmpty() && line.contains(texts.polarNo))
            polar = false;
        if (!texts.polarYes.isEmpty() && line.contains(texts.polarYes))
            polar = true;
        for (Plane p : {Plane::XY, Plane::XZ, Plane::YZ})
            if (line.contains(texts.plane + QStringLiteral(" : ") + planeName(p)))
                plane = p;
        if (line.startsWith(QLatin1Char('*'))) {
            if (polar) {
                out << QStringLiteral("; Pol. souřadnice - otvory pr. :") + d;
                // The pole in the words of the plane: I and J (XY), I and K (XZ), J and K (YZ).
                QString pole;
                if (plane == Plane::XY)
                    pole = QStringLiteral(" I") + dotted(poleX) + QStringLiteral(" J") + dotted(poleY);
                else if (plane == Plane::XZ)
                    pole = QStringLiteral(" I") + dotted(poleX) + QStringLiteral(" K") + dotted(poleZ);
                else
                    pole = QStringLiteral(" J") + dotted(poleY) + QStringLiteral(" K") + dotted(poleZ);
                out << prefix + pole;
            } else {
                out << QStringLiteral("(Souřadnice - otvory pr. :") + d + QStringLiteral(")");
            }
            inList = true;
        }
    }
    return out;
}

} // namespace velmora::calc
