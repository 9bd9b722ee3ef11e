#pragma once
// TFDrazka, the groove generator (created for each use of the command), and
// TFPopisDrazek, the picture that explains the approach points.
#include "calculators/logic/groove.h"

#include <QDialog>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QTreeWidget;

namespace velmora {

class GeoPreview;
class Host;

class TFPopisDrazek : public QDialog {
    Q_OBJECT
public:
    explicit TFPopisDrazek(QWidget *parent = nullptr);
};

class TFDrazka : public QDialog {
    Q_OBJECT
public:
    // `help` is the start-up window that "&Help" shows.
    TFDrazka(Host &host, TFPopisDrazek *help, QWidget *parent = nullptr);

    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5;
    QComboBox *ComboBox1, *ComboBox2, *ComboBox4;
    QPlainTextEdit *Memo1;
    QTreeWidget *TreeView1;
    GeoPreview *preview;
    QMenu *treeMenu;
    QAction *MenuDelete, *MenuEdit, *MenuReCount;

    void ButtonSumaClick();
    void ButtonDeleteClick();
    void MenuDeleteClick();
    void MenuEditClick();
    void MenuReCountClick();
    const calc::GeoTree &tree() const { return tree_; }
    int selectedIndex() const;
    void selectIndex(int index);
    // The window's text in NC form, as an insertion writes it.
    QStringList blocks() const;

protected:
    void showEvent(QShowEvent *e) override;
    void changeEvent(QEvent *e) override;

private:
    void calculate(const calc::GrooveInput &in);
    void rebuildTree();
    void updateMenu();
    Host &host_;
    TFPopisDrazek *help_;
    calc::GeoTree tree_;
    QList<calc::Shape> shapes_;
};

} // namespace velmora
