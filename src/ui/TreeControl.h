#pragma once
// The tree view both trees of the main window are made of: nodes found by key, a sort that
// happens only when asked for, label editing that a handler may refuse, drags started with
// either mouse button, and the notifications the window's tree handlers are connected to.
#include "TreeControlCodes.h"
#include "TreeNode.h"

#include <QHash>
#include <QPoint>
#include <QTimer>
#include <QTreeWidget>
#include <optional>
#include <vector>

class QMimeData;

class TreeControl : public QTreeWidget {
    Q_OBJECT
public:
    explicit TreeControl(QWidget* parent = nullptr);
    ~TreeControl() override;

    // Node drags carry this format only: the source tree's object name, a newline, the node key.
    static QString mimeType();
    static QString dragSourceName(const QMimeData* data);
    static QString dragKey(const QMimeData* data);

    // Appends a node as the last child of the node relativeKey, or at the end of the top level
    // when relativeKey is empty. Returns nullptr, adding nothing, when the key is already in the
    // tree or the relative node does not exist. An empty key adds a node that Item cannot find.
    TreeNode* Add(const QString& relativeKey, const QString& key, const QString& text,
                  const QString& image = QString());
    // Appends nodes made beforehand, keys, texts, images and tags set, as the last children of the
    // node relativeKey (or the top level) in one insertion, which a long list needs: added one
    // by one, each node costs the view an insertion of its own. A node whose key is empty or
    // already taken is deleted instead, and all of them when the relative node does not exist.
    void AddNodes(const QString& relativeKey, const std::vector<TreeNode*>& nodes);
    // The node with that key, or nullptr.
    TreeNode* Item(const QString& key) const;
    int Count() const;
    // Removes the node with all its descendants. Nodes must leave the tree only through Remove
    // and Clear, which keep the key index right.
    void Remove(TreeNode* node);
    void Clear();
    // Hides the view's own clear, which would leave the key index behind.
    void clear() { Clear(); }

    TreeNode* selectedNode() const;
    // Makes node the selected node and visible (its ancestors expand); sends no NodeClick.
    void selectNode(TreeNode* node);
    // Expands the ancestors of node and scrolls it into view.
    void EnsureVisible(TreeNode* node);

    // Put the children of node, or the top-level nodes, in compareNoCase order once; nodes added
    // later are appended at the end until the next request.
    void sortChildren(TreeNode* node);
    void sortTopLevel();

    // The node at a point of the viewport (the coordinates every notification passes), or nullptr.
    TreeNode* hitTest(int x, int y) const;
    TreeNode* hitTest(const QPoint& point) const { return hitTest(point.x(), point.y()); }
    // Whether a press at a point of the viewport lands on a node's picture or text, and so is
    // followed by a NodeClick or a drag (not on its plus sign, nor on blank space).
    bool pressesNode(int x, int y) const;

    // The node shown as drop target; nullptr shows none.
    TreeNode* dropHighlight() const { return m_dropHighlight; }
    void setDropHighlight(TreeNode* node);

    // Opens in-place editing of the selected node's text; ends in AfterLabelEdit.
    void startLabelEdit();
    // Where the popup menu opens: below the selected node when the keyboard asked for it (the
    // Menu key, Shift+F10), otherwise at the pointer.
    QPoint popupPosition() const;

    // Whether a node's text is being edited in place.
    bool isEditing() const { return state() == QAbstractItemView::EditingState; }

    // Whether pressing a node and moving the mouse starts a drag. Off at first.
    bool autoDrag() const { return m_autoDrag; }
    void setAutoDrag(bool on) { m_autoDrag = on; }

    // Whether typed letters move the selection to a matching node (the tree's own search).
    bool incrementalSearch() const { return m_incrementalSearch; }
    void setIncrementalSearch(bool on) { m_incrementalSearch = on; }

    // True while NodeClick is sent for a node the user has begun to drag (so that the handler
    // positions on it before the drag starts): a handler opens no popup menu then.
    bool startingDrag() const { return m_startingDrag; }
    // The button (TreeButton) of the drag this tree is the source of, 0 when none.
    int dragButton() const { return m_dragButton; }

    void refresh();
    void keyboardSearch(const QString& search) override;

Q_SIGNALS:
    // A mouse click on a node with any button (after MouseDown), a keyboard move of the
    // selection, or the press of a node about to be dragged; never a selection by the program.
    void NodeClick(TreeNode* Node);
    void Collapse(TreeNode* Node);
    void Expand(TreeNode* Node);
    // KeyCode is a TreeKey code, Shift a TreeShift mask; the tree's own handling follows.
    void KeyDown(int KeyCode, int Shift);
    // Button is a TreeButton, x and y are viewport coordinates.
    void MouseDown(int Button, int Shift, int x, int y);
    // A double click with the left button on a node (after the tree's own expand or collapse).
    void DblClick();
    // The tree received the focus from elsewhere; not when a popup menu, its own label editor or
    // a reactivated window hands it back.
    void GotFocus();
    // The user ended a label edit with Enter or by leaving it; Escape sends nothing. Setting
    // Cancel keeps the old text; otherwise the node shows NewString, which the handler may change.
    void AfterLabelEdit(bool& Cancel, QString& NewString);
    // A drag of the selected node begins; the handler may add data or narrow the effects
    // (none cancels the drag).
    void OLEStartDrag(QMimeData* Data, Qt::DropActions& AllowedEffects);
    // A node drag is over this tree; State is a TreeDragState, Button the button held since the
    // drag began. Setting Effect to Qt::IgnoreAction refuses a drop at this point.
    void OLEDragOver(const QMimeData* Data, Qt::DropAction& Effect, int Button, int Shift, int x,
                     int y, int State);
    // The drag this tree started has ended, dropped or not.
    void OLECompleteDrag(Qt::DropAction Effect);
    void OLEDragDrop(const QMimeData* Data, Qt::DropAction& Effect, int Button, int Shift, int x,
                     int y);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

protected Q_SLOTS:
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    // Where a press lands: beside the node, on its expand sign, or on the node itself.
    enum class PressPart { Outside, Sign, Node };
    PressPart pressPart(TreeNode* node, const QPoint& pos) const;
    void forget(QTreeWidgetItem* item);
    void beginDrag();
    void runDrag(TreeNode* node, Qt::MouseButton button);
    bool acceptsDrag(const QMimeData* data) const;
    void sendDragOver(QDragMoveEvent* event, int state);
    void followDragEdge(int y);
    void endDragOver();
    // The Menu key or Shift+F10: the selected node is pressed and clicked as with the right
    // button, which opens the popup menu below it.
    void openPopupByKeyboard();

    QHash<QString, TreeNode*> m_index;
    TreeNode* m_dropHighlight = nullptr;

    TreeNode* m_pressNode = nullptr; // the node under the last press, until release or drag
    QPoint m_pressPos;
    Qt::MouseButton m_pressButton = Qt::NoButton;
    bool m_pressClicked = false; // NodeClick already sent for this press
    bool m_pressToView = false;  // the view saw the press, so it sees the release

    bool m_autoDrag = false;
    bool m_incrementalSearch = true;
    bool m_startingDrag = false;
    int m_dragButton = 0;

    bool m_committing = false;
    bool m_editorClosing = false;
    std::optional<QPoint> m_keyboardPopupAt;

    const QMimeData* m_overData = nullptr; // the drag over this tree, between enter and leave
    QPoint m_overPos;
    QTimer m_edgeScroll;
    int m_edgeStep = 0;
};
