#pragma once
// TFPrimka: holes along a straight line, created for each use of the command.
#include "calculators/logic/linepoints.h"
#include "calculators/widgets/geowindow.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace velmora {

class TFPrimka : public GeoWindow {
    Q_OBJECT
public:
    TFPrimka(Host &host, QWidget *parent = nullptr);

    QLineEdit *Edit971, *Edit972, *Edit973, *Edit974, *Edit975, *Edit976;
    QLabel *Label2, *Label3;
    QList<QRadioButton *> planeItems;
    QCheckBox *CheckBoxSAxis;

    void ButtonCountClick();
    const calc::LineCalculator &calculator() const { return calc_; }
    QStringList blocks() const;

protected:
    const calc::GeoTree &geoTree() const override { return calc_.tree(); }
    void setGeoTree(const calc::GeoTree &tree) override { calc_.setTree(tree); }
    const QList<calc::Shape> &geoShapes() const override { return calc_.shapes(); }
    QStringList report() const override { return calc_.report(); }
    void recalculate() override;
    void deleteGroup(int root, bool autoRecalc) override { calc_.deleteGroup(root, autoRecalc); }
    bool editNode(int index, const QString &value, bool autoRecalc) override;
    void setGroupHidden(int root, bool hidden) override { calc_.setGroupHidden(root, hidden); }
    void showAll() override { calc_.showAll(); }
    void clearAll() override { calc_.clearAll(); }
    bool reportIsStale() const override { return calc_.reportIsStale(); }

private:
    calc::LineTexts texts() const; // with the captions Label2 and Label3 have now
    calc::LineCalculator calc_;
};

} // namespace velmora
