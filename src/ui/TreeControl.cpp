#include "TreeControl.h"

#include <QApplication>
#include <QCursor>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>
#include <QTreeWidgetItemIterator>

namespace {

// The tree that last sent GotFocus: a window coming back to the front hands the focus back to
// the tree that had it, which is no change of tree for the handlers.
TreeControl* lastFocusedTree = nullptr;

} // namespace

TreeControl::TreeControl(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(1);
    setHeaderHidden(true);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setUniformRowHeights(true);
    setSortingEnabled(false);
    // Drags are started here rather than by the view, which knows only the left button, and
    // drops are taken in the tree's own format only.
    setDragDropMode(NoDragDrop);
    setDragEnabled(false);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    // A right click reaches the handlers as MouseDown and NodeClick; they show the popup menu.
    setContextMenuPolicy(Qt::PreventContextMenu);

    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        if (TreeNode* node = TreeNode::of(item))
            Q_EMIT Expand(node);
    });
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
        if (TreeNode* node = TreeNode::of(item))
            Q_EMIT Collapse(node);
    });

    m_edgeScroll.setInterval(50);
    connect(&m_edgeScroll, &QTimer::timeout, this,
            [this] { verticalScrollBar()->setValue(verticalScrollBar()->value() + m_edgeStep); });
}

TreeControl::~TreeControl() {
    if (lastFocusedTree == this)
        lastFocusedTree = nullptr;
}

TreeNode* TreeControl::Add(const QString& relativeKey, const QString& key, const QString& text,
                           const QString& image) {
    if (!key.isEmpty() && m_index.contains(key))
        return nullptr;
    QTreeWidgetItem* parent = invisibleRootItem();
    if (!relativeKey.isEmpty()) {
        parent = Item(relativeKey);
        if (!parent)
            return nullptr;
    }
    auto* node = new TreeNode(key, text, image);
    parent->addChild(node);
    if (!key.isEmpty())
        m_index.insert(key, node);
    return node;
}

void TreeControl::AddNodes(const QString& relativeKey, const std::vector<TreeNode*>& nodes) {
    QTreeWidgetItem* parent = relativeKey.isEmpty() ? invisibleRootItem() : Item(relativeKey);
    QList<QTreeWidgetItem*> added;
    added.reserve(qsizetype(nodes.size()));
    m_index.reserve(m_index.size() + qsizetype(nodes.size()));
    for (TreeNode* node : nodes) {
        const QString key = node->Key();
        if (!parent || key.isEmpty() || m_index.contains(key)) {
            delete node;
            continue;
        }
        m_index.insert(key, node);
        added.append(node);
    }
    if (!added.isEmpty())
        parent->addChildren(added);
}

TreeNode* TreeControl::Item(const QString& key) const {
    return m_index.value(key, nullptr);
}

int TreeControl::Count() const {
    int count = 0;
    for (QTreeWidgetItemIterator it(const_cast<TreeControl*>(this)); *it; ++it)
        ++count;
    return count;
}

void TreeControl::forget(QTreeWidgetItem* item) {
    if (TreeNode* node = TreeNode::of(item)) {
        auto it = m_index.find(node->Key());
        if (it != m_index.end() && it.value() == node)
            m_index.erase(it);
        if (node == m_dropHighlight)
            m_dropHighlight = nullptr;
        if (node == m_pressNode)
            m_pressNode = nullptr;
    }
    for (int i = 0; i < item->childCount(); ++i)
        forget(item->child(i));
}

void TreeControl::Remove(TreeNode* node) {
    if (!node || node->treeWidget() != this)
        return;
    forget(node);
    delete node;
}

void TreeControl::Clear() {
    m_index.clear();
    m_dropHighlight = nullptr;
    m_pressNode = nullptr;
    QTreeWidget::clear();
}

TreeNode* TreeControl::selectedNode() const {
    const QList<QTreeWidgetItem*> items = selectedItems();
    return items.isEmpty() ? nullptr : TreeNode::of(items.first());
}

void TreeControl::selectNode(TreeNode* node) {
    if (!node) {
        clearSelection();
        return;
    }
    EnsureVisible(node);
    setCurrentItem(node);
}

void TreeControl::EnsureVisible(TreeNode* node) {
    if (!node)
        return;
    for (QTreeWidgetItem* up = node->parent(); up; up = up->parent())
        up->setExpanded(true);
    scrollToItem(node);
}

void TreeControl::sortChildren(TreeNode* node) {
    if (node)
        node->sortChildren(0, Qt::AscendingOrder);
}

void TreeControl::sortTopLevel() {
    invisibleRootItem()->sortChildren(0, Qt::AscendingOrder);
}

TreeNode* TreeControl::hitTest(int x, int y) const {
    return TreeNode::of(itemAt(x, y));
}

bool TreeControl::pressesNode(int x, int y) const {
    TreeNode* node = hitTest(x, y);
    return node && pressPart(node, QPoint(x, y)) == PressPart::Node;
}

void TreeControl::setDropHighlight(TreeNode* node) {
    if (node == m_dropHighlight)
        return;
    if (m_dropHighlight)
        m_dropHighlight->setData(0, Qt::BackgroundRole, QVariant());
    m_dropHighlight = node;
    if (node) {
        QColor shade = palette().color(QPalette::Highlight);
        shade.setAlpha(96);
        node->setBackground(0, shade);
    }
}

void TreeControl::startLabelEdit() {
    if (TreeNode* node = selectedNode()) {
        scrollToItem(node);
        editItem(node, 0);
    }
}

void TreeControl::refresh() {
    viewport()->update();
}

void TreeControl::keyboardSearch(const QString& search) {
    if (m_incrementalSearch)
        QTreeWidget::keyboardSearch(search);
}

TreeControl::PressPart TreeControl::pressPart(TreeNode* node, const QPoint& pos) const {
    if (!node)
        return PressPart::Outside;
    const int textLeft = visualItemRect(node).left();
    if (pos.x() >= textLeft)
        return PressPart::Node;
    if (pos.x() >= textLeft - indentation())
        return node->childCount() > 0 ? PressPart::Sign : PressPart::Node;
    return PressPart::Outside;
}

// A press only selects; NodeClick follows on the release, so that a press that turns into a
// drag (with the right button, to ask for servings) does not open the popup menu.
void TreeControl::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    Q_EMIT MouseDown(treeButtonOf(event->button()), treeShiftOf(event->modifiers()), pos.x(),
                     pos.y());
    m_pressNode = nullptr;
    m_pressClicked = false;
    TreeNode* node = hitTest(pos);
    const PressPart part = pressPart(node, pos);
    // Blank space, beside or below the nodes, keeps the selection as the native tree does.
    m_pressToView = part != PressPart::Outside;
    if (!m_pressToView)
        return;
    if (part == PressPart::Node) {
        m_pressNode = node;
        m_pressPos = pos;
        m_pressButton = event->button();
    }
    QTreeWidget::mousePressEvent(event);
    // Ctrl+click would otherwise leave the clicked node unselected.
    if (m_pressNode && (currentItem() != m_pressNode || !m_pressNode->isSelected()))
        setCurrentItem(m_pressNode);
}

void TreeControl::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() == Qt::NoButton) {
        QTreeWidget::mouseMoveEvent(event);
        return;
    }
    // The view's own moves with a button held would drag the selection along; drags are ours.
    if (!m_pressNode || m_pressClicked)
        return;
    if (m_pressButton != Qt::LeftButton && m_pressButton != Qt::RightButton)
        return;
    if ((event->position().toPoint() - m_pressPos).manhattanLength() <
        QApplication::startDragDistance())
        return;
    beginDrag();
}

void TreeControl::mouseReleaseEvent(QMouseEvent* event) {
    if (m_pressToView)
        QTreeWidget::mouseReleaseEvent(event);
    m_pressToView = false;
    TreeNode* node = m_pressNode;
    m_pressNode = nullptr;
    if (node && !m_pressClicked && event->button() == m_pressButton)
        Q_EMIT NodeClick(node);
}

void TreeControl::mouseDoubleClickEvent(QMouseEvent* event) {
    m_pressNode = nullptr;
    QTreeWidget::mouseDoubleClickEvent(event);
    // The view treats a double click on another node than the one pressed as a fresh press.
    if (m_pressNode || event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    TreeNode* node = hitTest(pos);
    if (node && pressPart(node, pos) == PressPart::Node)
        Q_EMIT DblClick();
}

void TreeControl::keyPressEvent(QKeyEvent* event) {
    // Keys the label editor passes on (Enter ends the edit) are the editor's, not the tree's:
    // Enter on a new group would otherwise open it and reset the name being typed.
    if (state() == QAbstractItemView::EditingState) {
        QTreeWidget::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Menu ||
        (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
        openPopupByKeyboard();
        return;
    }
    Q_EMIT KeyDown(treeKeyCodeOf(event->key()), treeShiftOf(event->modifiers()));
    const QTreeWidgetItem* before = currentItem();
    QTreeWidget::keyPressEvent(event);
    TreeNode* after = TreeNode::of(currentItem());
    if (after && after != before && after->isSelected())
        Q_EMIT NodeClick(after);
}

void TreeControl::focusInEvent(QFocusEvent* event) {
    QTreeWidget::focusInEvent(event);
    if (m_editorClosing) {
        m_editorClosing = false;
        return;
    }
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::PopupFocusReason)
        return;
    if (reason == Qt::ActiveWindowFocusReason && lastFocusedTree == this)
        return;
    lastFocusedTree = this;
    Q_EMIT GotFocus();
    // Arriving by keyboard, a person expects Enter, F7 and F8 to act at once: the node the
    // cursor is on is selected and clicked. A mouse press selects its own node.
    const bool byKeyboard = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                            reason == Qt::ShortcutFocusReason;
    if (!byKeyboard || selectedNode())
        return;
    TreeNode* node = TreeNode::of(currentItem());
    if (!node)
        node = TreeNode::of(topLevelItem(0));
    if (node) {
        selectNode(node);
        Q_EMIT NodeClick(node);
    }
}

void TreeControl::openPopupByKeyboard() {
    TreeNode* node = selectedNode();
    if (!node)
        return;
    EnsureVisible(node);
    const QRect rect = visualItemRect(node);
    // As a right click on the node: the press, then the click, which opens the popup below it.
    m_keyboardPopupAt = viewport()->mapToGlobal(rect.bottomLeft());
    Q_EMIT MouseDown(TreeButton::Right, 0, rect.center().x(), rect.center().y());
    Q_EMIT NodeClick(node);
    m_keyboardPopupAt.reset();
}

QPoint TreeControl::popupPosition() const {
    return m_keyboardPopupAt.value_or(QCursor::pos());
}

void TreeControl::commitData(QWidget* editor) {
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (!line) {
        QTreeWidget::commitData(editor);
        return;
    }
    // A message box shown by the handler takes the focus from the editor, which commits again.
    if (m_committing)
        return;
    QPointer<QLineEdit> guard(line);
    bool cancel = false;
    QString text = line->text();
    m_committing = true;
    Q_EMIT AfterLabelEdit(cancel, text);
    m_committing = false;
    if (cancel || !guard)
        return;
    line->setText(text);
    QTreeWidget::commitData(editor);
}

// The editor hands the focus back to the tree as it closes, either at once (Enter, Escape) or
// right after (the user clicked into the tree): neither is the tree receiving the focus.
void TreeControl::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    m_editorClosing = true;
    QTreeWidget::closeEditor(editor, hint);
    QTimer::singleShot(0, this, [this] { m_editorClosing = false; });
}
