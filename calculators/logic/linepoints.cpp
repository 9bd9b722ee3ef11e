#include "calculators/logic/linepoints.h"

#include "common/language.h"
#include "common/numbers.h"

#include <algorithm>
#include <cmath>

namespace velmora::calc {

LineTexts LineTexts::fromLanguage() {
    const QString s = QStringLiteral("FPrimka");
    LineTexts t;
    t.dHole = languageText(s, QStringLiteral("DHole"));
    t.cPoints = languageText(s, QStringLiteral("CPoints"));
    t.firstP = languageText(s, QStringLiteral("FirstP"));
    t.angle = languageText(s, QStringLiteral("Angle"));
    t.sHole = languageText(s, QStringLiteral("SHole"));
    t.plane = languageText(s, QStringLiteral("Plane"));
    for (const QString *v : {&t.dHole, &t.cPoints, &t.firstP, &t.angle, &t.sHole, &t.plane})
        if (v->isEmpty() || *v == QLatin1String("Error"))
            return czech(); // a language file without these texts
    return t;
}

LineTexts LineTexts::czech() {
    LineTexts t;
    t.dHole = QStringLiteral("Průměr otvorů");
    t.cPoints = QStringLiteral("Počet bodů");
    t.firstP = QStringLiteral("Počáteční bod");
    t.angle = QStringLiteral("Úhel");
    t.sHole = QStringLiteral("Rozteč bodů");
    t.plane = QStringLiteral("Rovina");
    return t;
}

LineCalculator::LineCalculator(LineTexts texts, int decimals) : texts_(std::move(texts)), decimals_(decimals) {}

void LineCalculator::calculate(const LineInput &input) { calculateGroup(input, -1); }

void LineCalculator::calculateGroup(const LineInput &in, int recalcRoot) {
    // Every number is converted before anything is added, so a bad field adds nothing.
    const int n = holeCount(in.holes);
    const double x0 = parseFloat(in.x0);
    const double y0 = parseFloat(in.y0);
    const double alpha = parseFloat(in.angle);
    const double s = parseFloat(in.spacing);
    const double d = parseFloat(in.holeDiameter);
    // The NC words fit: the last hole lies within the steps from the first;
    // the field that makes a word too large is named.
    const double along = std::fabs(s) * std::max(0, n - 1);
    requireNcWord(std::fabs(x0) + along, std::fabs(x0) >= along ? in.x0 : in.spacing);
    requireNcWord(std::fabs(y0) + along, std::fabs(y0) >= along ? in.y0 : in.spacing);
    if (n <= 0)
        return;
    const double rad = alpha * M_PI / 180;
    const int group = counter_;
    const QString planeText = texts_.plane + QStringLiteral(" : ") + planeName(in.plane);
    double t = 0;
    for (int k = 1; k <= n; ++k) {
        if (k >= 2)
            t += s;
        const double p1 = x0 + std::cos(rad) * t;
        const double p2 = y0 + std::sin(rad) * t;
        if (k == 1) {
            const QString root = QString::number(group) + QStringLiteral("- ") + texts_.dHole + QStringLiteral(" : ") + in.holeDiameter;
            if (recalcRoot < 0) {
                tree_ << GeoNode{0, root}
                      << GeoNode{1, texts_.cPoints + QStringLiteral(" : ") + in.holes}
                      << GeoNode{1, texts_.firstP + QLatin1Char(' ') + texts_.label2 + QStringLiteral(" : ") + in.x0}
                      << GeoNode{1, texts_.firstP + QLatin1Char(' ') + texts_.label3 + QStringLiteral(" : ") + in.y0}
                      << GeoNode{1, texts_.angle + QStringLiteral(" : ") + in.angle}
                      << GeoNode{1, texts_.sHole + QStringLiteral(" : ") + in.spacing}
                      << GeoNode{1, planeText};
            } else {
                tree_[recalcRoot].text = root;
            }
            const QChar f = firstAxis(in.plane), sc = secondAxis(in.plane);
            report_ << QStringLiteral("WM").repeated(16)
                    << texts_.dHole + QStringLiteral(" : ") + in.holeDiameter
                    << texts_.firstP + QStringLiteral(" %1 : ").arg(f) + in.x0
                    << texts_.firstP + QStringLiteral(" %1 : ").arg(sc) + in.y0
                    << texts_.angle + QStringLiteral(" : ") + in.angle
                    << texts_.sHole + QStringLiteral(" : ") + in.spacing
                    << texts_.cPoints + QStringLiteral(" : ") + in.holes
                    << planeText
                    << QStringLiteral("  %1                 %2").arg(f).arg(sc)
                    << QStringLiteral("*").repeated(32);
        }
        report_ << formatGeneral(roundDecimal(p1, decimals_)).leftJustified(21, QLatin1Char(' '))
                       + formatGeneral(roundDecimal(p2, decimals_));
        Shape hole;
        hole.number = counter_++;
        hole.group = group;
        hole.points = circlePolygon(QPointF(p1 / 100, p2 / 100), d / 2 / 100, 30);
        hole.closed = true;
        hole.colour = ShapeColour::Hole;
        shapes_.append(hole);
    }
}

void LineCalculator::recalculate() {
    report_.clear();
    shapes_.clear();
    counter_ = 1;
    for (int i = 0; i < tree_.size(); ++i) {
        if (tree_[i].depth != 0)
            continue;
        if (groupEnd(tree_, i) - i - 1 < 6)
            continue;
        LineInput in;
        in.holeDiameter = nodeValue(tree_[i].text);
        in.holes = nodeValue(tree_[i + 1].text);
        in.x0 = nodeValue(tree_[i + 2].text);
        in.y0 = nodeValue(tree_[i + 3].text);
        in.angle = nodeValue(tree_[i + 4].text);
        in.spacing = nodeValue(tree_[i + 5].text);
        in.plane = Plane::XY;
        for (Plane p : {Plane::XY, Plane::XZ, Plane::YZ})
            if (tree_[i + 6].text.contains(texts_.plane + QStringLiteral(" : ") + planeName(p)))
                in.plane = p;
        calculateGroup(in, i);
    }
    stale_ = false; // a bad value on the way leaves the report stale
}

void LineCalculator::deleteGroup(int root, bool autoRecalc) {
    if (root < 0 || root >= tree_.size() || tree_[root].depth != 0)
        return;
    const int number = groupNumber(tree_[root].text);
    tree_.remove(root, groupEnd(tree_, root) - root);
    shapes_.removeIf([number](const Shape &s) { return s.group == number; });
    stale_ = true;
    if (autoRecalc)
        recalculate();
}

bool LineCalculator::editNode(int index, const QString &value, bool autoRecalc) {
    if (index < 0 || index >= tree_.size() || !setNodeValue(tree_[index].text, value))
        return false;
    stale_ = true;
    report_.clear();
    if (autoRecalc)
        recalculate();
    return true;
}

QStringList lineBlocks(const QStringList &report, const LineTexts &texts, const QString &prefix) {
    QStringList out;
    QString d;
    Plane plane = Plane::XY;
    bool inList = false;
    const QString dKey = texts.dHole + QStringLiteral(" : ");
    for (const QString &line : report) {
        if (line.startsWith(QLatin1Char('W'))) {
            inList = false;
            continue;
        }
        if (inList) {
            const qsizetype sp = line.indexOf(QLatin1Char(' '));
            const QString first = sp < 0 ? line : line.left(sp);
            QString second;
            if (sp >= 0) {
                qsizetype i = sp;
                while (i < line.size() && line[i] == u' ')
                    ++i;
                second = line.mid(i);
            }
            out << prefix + QStringLiteral(" %1").arg(firstAxis(plane)) + ncForm(withoutExponent(first))
                       + QStringLiteral(" %1").arg(secondAxis(plane)) + ncForm(withoutExponent(second));
            continue;
        }
        if (line.startsWith(dKey))
            d = line.mid(dKey.size());
        for (Plane p : {Plane::XY, Plane::XZ, Plane::YZ})
            if (line.contains(texts.plane + QStringLiteral(" : ") + planeName(p)))
                plane = p;
        if (line.startsWith(QLatin1Char('*'))) {
            out << QStringLiteral("(Souřadnice - otvory pr. :") + d + QStringLiteral(")");
            inList = true;
        }
    }
    return out;
}

} // namespace velmora::calc
