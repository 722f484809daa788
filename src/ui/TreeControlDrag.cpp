// The drag side of TreeControl: starting a drag with either button, and taking drags of nodes.
#include "TreeControl.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QScrollBar>

using namespace Qt::StringLiterals;

namespace {

// The tree a drag is running from. Only one drag runs at a time; a drag that arrives while no
// tree is dragging came from somewhere else and is not for the trees.
TreeControl* draggingTree = nullptr;

QStringList payloadOf(const QMimeData* data) {
    if (!data || !data->hasFormat(TreeControl::mimeType()))
        return {};
    return QString::fromUtf8(data->data(TreeControl::mimeType())).split(u'\n');
}

} // namespace

QString TreeControl::mimeType() {
    return u"application/x-forkwise-node"_s;
}

QString TreeControl::dragSourceName(const QMimeData* data) {
    return payloadOf(data).value(0);
}

QString TreeControl::dragKey(const QMimeData* data) {
    return payloadOf(data).value(1);
}

// The handlers work from the selected node and the current row, so they hear of the pressed
// node before the drag starts, whether or not it was clicked before; they may also switch
// automatic drag on for it then.
void TreeControl::beginDrag() {
    TreeNode* node = m_pressNode;
    const Qt::MouseButton button = m_pressButton;
    m_pressClicked = true;
    m_startingDrag = true;
    Q_EMIT NodeClick(node);
    m_startingDrag = false;
    if (m_pressNode != node || !m_autoDrag || draggingTree)
        return;
    m_pressNode = nullptr;
    runDrag(node, button);
}

void TreeControl::runDrag(TreeNode* node, Qt::MouseButton button) {
    auto* data = new QMimeData;
    data->setData(mimeType(), (objectName() + u'\n' + node->Key()).toUtf8());
    const QPixmap picture = node->icon(0).pixmap(16, 16);

    // The drop side reads the button here: once the button is up, the events no longer tell.
    m_dragButton = treeButtonOf(button);
    draggingTree = this;
    Qt::DropActions allowed = Qt::CopyAction | Qt::MoveAction;
    Q_EMIT OLEStartDrag(data, allowed);
    Qt::DropAction effect = Qt::IgnoreAction;
    if (allowed != Qt::IgnoreAction) {
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        if (!picture.isNull())
            drag->setPixmap(picture);
        effect = drag->exec(allowed);
    } else {
        delete data;
    }
    draggingTree = nullptr;
    m_dragButton = 0;
    Q_EMIT OLECompleteDrag(effect);
}

bool TreeControl::acceptsDrag(const QMimeData* data) const {
    return draggingTree && dragSourceName(data) == draggingTree->objectName() &&
           !dragKey(data).isNull();
}

void TreeControl::sendDragOver(QDragMoveEvent* event, int state) {
    m_overData = event->mimeData();
    m_overPos = event->position().toPoint();
    Qt::DropAction effect = event->proposedAction();
    Q_EMIT OLEDragOver(m_overData, effect, draggingTree ? draggingTree->dragButton() : 0,
                       treeShiftOf(event->modifiers()), m_overPos.x(), m_overPos.y(), state);
    event->setDropAction(effect);
    if (effect == Qt::IgnoreAction)
        event->ignore();
    else
        event->accept();
}

void TreeControl::dragEnterEvent(QDragEnterEvent* event) {
    if (!acceptsDrag(event->mimeData())) {
        event->ignore();
        return;
    }
    sendDragOver(event, TreeDragState::Enter);
    // Refusing the enter would end the moves too; the handler refuses point by point instead.
    event->accept();
}

void TreeControl::dragMoveEvent(QDragMoveEvent* event) {
    if (!m_overData) {
        event->ignore();
        return;
    }
    sendDragOver(event, TreeDragState::Over);
    followDragEdge(m_overPos.y());
}

void TreeControl::dragLeaveEvent(QDragLeaveEvent* /*event*/) {
    if (!m_overData)
        return;
    const QMimeData* data = m_overData;
    endDragOver();
    Qt::DropAction effect = Qt::IgnoreAction;
    Q_EMIT OLEDragOver(data, effect, draggingTree ? draggingTree->dragButton() : 0,
                       treeShiftOf(QGuiApplication::keyboardModifiers()), m_overPos.x(),
                       m_overPos.y(), TreeDragState::Leave);
}

void TreeControl::dropEvent(QDropEvent* event) {
    if (!m_overData && !acceptsDrag(event->mimeData())) {
        event->ignore();
        return;
    }
    endDragOver();
    const QPoint pos = event->position().toPoint();
    Qt::DropAction effect = event->dropAction();
    Q_EMIT OLEDragDrop(event->mimeData(), effect, draggingTree ? draggingTree->dragButton() : 0,
                       treeShiftOf(event->modifiers()), pos.x(), pos.y());
    event->setDropAction(effect);
    if (effect == Qt::IgnoreAction)
        event->ignore();
    else
        event->accept();
}

// Holding a drag near the top or bottom edge scrolls the tree, so that far nodes can be reached.
void TreeControl::followDragEdge(int y) {
    const int margin = qMax(8, fontMetrics().height());
    m_edgeStep = y < margin ? -1 : (y > viewport()->height() - margin ? 1 : 0);
    if (m_edgeStep == 0)
        m_edgeScroll.stop();
    else if (!m_edgeScroll.isActive())
        m_edgeScroll.start();
}

void TreeControl::endDragOver() {
    m_overData = nullptr;
    m_edgeScroll.stop();
}
