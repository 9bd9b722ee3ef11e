#pragma once
// A captioned group of radio buttons with an item index, like the dialogs' radio groups.
#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QStringList>
#include <QVBoxLayout>

namespace velmora {

class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString &name, const QString &caption, const QStringList &items, QWidget *parent = nullptr)
        : QGroupBox(caption, parent), group_(new QButtonGroup(this)) {
        setObjectName(name);
        auto *layout = new QVBoxLayout(this);
        for (int i = 0; i < items.size(); ++i) {
            auto *b = new QRadioButton(items[i], this);
            b->setObjectName(QStringLiteral("%1.items[%2]").arg(name).arg(i));
            group_->addButton(b, i);
            layout->addWidget(b);
        }
        setItemIndex(0);
    }
    int itemIndex() const { return group_->checkedId(); }
    // An index outside the items checks none, as a radio group does.
    void setItemIndex(int index) {
        if (QAbstractButton *b = group_->button(index)) {
            b->setChecked(true);
            return;
        }
        group_->setExclusive(false);
        for (QAbstractButton *b : group_->buttons())
            b->setChecked(false);
        group_->setExclusive(true);
    }
    QRadioButton *item(int index) const { return qobject_cast<QRadioButton *>(group_->button(index)); }
    int count() const { return int(group_->buttons().size()); }

private:
    QButtonGroup *group_;
};

} // namespace velmora
