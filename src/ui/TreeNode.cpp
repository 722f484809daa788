#include "TreeNode.h"

#include "Icons.h"

#include <QTreeWidget>

namespace {

// Reads one character at i (a surrogate pair as one code point), with ASCII upper case folded.
char32_t foldedCodePointAt(QStringView s, qsizetype& i) {
    char32_t c = s[i].unicode();
    ++i;
    if (QChar::isHighSurrogate(c) && i < s.size() && s[i].isLowSurrogate()) {
        c = QChar::surrogateToUcs4(static_cast<char16_t>(c), s[i].unicode());
        ++i;
    }
    if (c >= U'A' && c <= U'Z')
        c += U'a' - U'A';
    return c;
}

} // namespace

// Code points rather than UTF-16 units: the database keeps UTF-8, whose byte order is code point
// order, so a character above U+FFFF must sort after U+FFxx here too.
int compareNoCase(QStringView a, QStringView b) {
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t ca = foldedCodePointAt(a, i);
        const char32_t cb = foldedCodePointAt(b, j);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    return j < b.size() ? -1 : 0;
}

TreeNode::TreeNode(const QString& key, const QString& text, const QString& image)
    : QTreeWidgetItem(NodeType), m_key(key) {
    setFlags(flags() | Qt::ItemIsEditable);
    setText(text);
    setImage(image);
}

TreeNode* TreeNode::of(QTreeWidgetItem* item) {
    return item && item->type() == NodeType ? static_cast<TreeNode*>(item) : nullptr;
}

QString TreeNode::Text() const {
    return text(0);
}

void TreeNode::setText(const QString& text) {
    setText(0, text);
}

void TreeNode::setImage(const QString& imageKey) {
    m_image = imageKey;
    emitDataChanged();
}

QVariant TreeNode::data(int column, int role) const {
    if (column == 0 && role == Qt::DecorationRole)
        return m_image.isEmpty() ? QIcon() : smallIcon(m_image);
    return QTreeWidgetItem::data(column, role);
}

TreeNode* TreeNode::Parent() const {
    return of(parent());
}

TreeNode* TreeNode::Child(int index) const {
    return of(child(index));
}

QTreeWidgetItem* TreeNode::container() const {
    if (parent())
        return parent();
    return treeWidget() ? treeWidget()->invisibleRootItem() : nullptr;
}

TreeNode* TreeNode::FirstSibling() const {
    QTreeWidgetItem* box = container();
    return box ? of(box->child(0)) : const_cast<TreeNode*>(this);
}

TreeNode* TreeNode::LastSibling() const {
    QTreeWidgetItem* box = container();
    return box ? of(box->child(box->childCount() - 1)) : const_cast<TreeNode*>(this);
}

TreeNode* TreeNode::Next() const {
    QTreeWidgetItem* box = container();
    return box ? of(box->child(box->indexOfChild(const_cast<TreeNode*>(this)) + 1)) : nullptr;
}

TreeNode* TreeNode::Previous() const {
    QTreeWidgetItem* box = container();
    return box ? of(box->child(box->indexOfChild(const_cast<TreeNode*>(this)) - 1)) : nullptr;
}

bool TreeNode::operator<(const QTreeWidgetItem& other) const {
    return compareNoCase(text(0), other.text(0)) < 0;
}
