#pragma once
// TFKruznice: holes on a pitch circle, created for each use of the command.
#include "calculators/logic/circle.h"
#include "calculators/widgets/geowindow.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace velmora {

class TFKruznice : public GeoWindow {
    Q_OBJECT
public:
    TFKruznice(Host &host, QWidget *parent = nullptr);

    QLineEdit *Edit971, *Edit972, *Edit973, *Edit976, *Edit974, *Edit975, *Edit977;
    QLabel *Label5, *Label6;
    QList<QRadioButton *> polarItems, planeItems;
    QCheckBox *CheckBox1;

    void BitBtnCountClick();
    const calc::CircleCalculator &calculator() const { return calc_; }
    // The NC blocks an insertion writes, with the block prefix of the settings.
    QStringList blocks() const;

protected:
    const calc::GeoTree &geoTree() const override { return calc_.tree(); }
    void setGeoTree(const calc::GeoTree &tree) override { calc_.setTree(tree); }
    const QList<calc::Shape> &geoShapes() const override { return calc_.shapes(); }
    QStringList report() const override { return calc_.report(); }
    void recalculate() override;
    void deleteGroup(int root, bool autoRecalc) override;
    bool editNode(int index, const QString &value, bool autoRecalc) override;
    void setGroupHidden(int root, bool hidden) override { calc_.setGroupHidden(root, hidden); }
    void showAll() override { calc_.showAll(); }
    void clearAll() override { calc_.clearAll(); }
    bool reportIsStale() const override { return calc_.reportIsStale(); }

private:
    calc::Plane plane() const;
    void planeChosen();
    calc::OverlapQuestion overlapQuestion();
    calc::CircleTexts texts_;
    calc::CircleCalculator calc_;
};

} // namespace velmora
