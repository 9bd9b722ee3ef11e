#pragma once
// The floating panels that edit a tool table ten tools at a time: "Panel" for
// the TNC 407/426 table and "Panel530" for the iTNC 530 table.
#include "tooltables/logic/tablesession.h"

#include <QDockWidget>
#include <QLineEdit>
#include <functional>

class QCheckBox;
class QMimeData;
class QLabel;
class QSlider;
class QTimer;
class QToolButton;

namespace velmora {

// The mime type of a dragged tool list node.
inline constexpr const char *kToolNodeMime = "application/x-velmora-toolnode";

// Whether dragging tools into the tool table panels is allowed (SetupCNC.ini).
bool toolTableDropAllowed();

// A field of a panel row that takes a dropped tool list node.
class ToolDropEdit : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;
    bool acceptsNodes = false;
    std::function<void(const QString &nodeText)> onDrop;

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    bool wanted(const QMimeData *mime) const;
};

class ToolTablePanel : public QDockWidget {
    Q_OBJECT
public:
    ToolTablePanel(ToolTableKind kind, QWidget *parent);

    ToolTableSession &session() { return session_; }
    const ToolTableSession &session() const { return session_; }

    // The fields of row k (0 to 9).
    QLabel *numberLabel(int k) const { return rows_[k].number; }
    ToolDropEdit *nameField(int k) const { return rows_[k].name; }
    ToolDropEdit *radiusField(int k) const { return rows_[k].radius; }
    QCheckBox *drillBox(int k) const { return rows_[k].drill; }
    QSlider *trackBar() const { return track_; }
    QLabel *tableNameLabel() const { return tableName_; }

    // Shows the rows of the session (after it changed from outside).
    void showRows();
    // Stores the ten rows into the table; a cut field is reported through the status callback.
    void storeRows();
    // The up and down buttons (the 407/426 panel warns "Konec souboru" at the end).
    void pageUp();
    void pageDown();
    // The name shown after "Tabulka :".
    void refreshTableName();
    // Shows the panel (expanded) when it is hidden.
    void bringUp();
    // The minimise button of the title bar: folded, the panel is only its title bar.
    void setFolded(bool folded);
    bool isFolded() const;
    // A message about the panel's fields (a text cut to its field), shown in
    // the panel's message line for five seconds.
    void showMessage(const QString &text);
    QLabel *messageLabel() const { return message_; }

    // Notifications to the controller.
    std::function<void(const QString &)> warning;

signals:
    void shownChanged(bool visible);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    struct Row {
        QLabel *number = nullptr;
        ToolDropEdit *name = nullptr;
        ToolDropEdit *radius = nullptr;
        QCheckBox *drill = nullptr;
    };
    void nameEnter(int k);
    void radiusEnter(int k);
    void dropped(int k, bool onName, const QString &nodeText);
    void trackMoved(int position);

    ToolTableSession session_;
    Row rows_[ToolTableSession::kRows];
    QSlider *track_ = nullptr;
    QLabel *tableName_ = nullptr;
    QLabel *message_ = nullptr;
    QToolButton *fold_ = nullptr;
    QTimer *messageTimer_ = nullptr;
    bool showing_ = false; // the rows are being filled: no storing
};

// A message text of section "Messages" for the tool tables. The texts the
// tool tables add to the language files have a Czech text of their own for a
// language file without them; the other keys read as languageText reads them.
QString toolTablesMessage(const char *key);

// Applies section "ToolTables" of the current language file to the named
// children of `root` (labels, check boxes, buttons, actions, the window title
// under the root's own name). Keys that name nothing change nothing.
void applyToolTablesTexts(QWidget *root);

} // namespace velmora
