#pragma once
// A node of a TreeControl: its text in column 0, and its key, tag and picture kept beside the
// item rather than in its data roles, each of which costs a tree of thousands of nodes a notable
// share of its loading; sibling and parent navigation spans the top level as well.
#include <QStringView>
#include <QTreeWidgetItem>

// Orders two texts as the database's NOCASE collation does: ASCII letters folded to lower case,
// every other character by its code point, a text before any longer text it begins. The trees
// sort with it so that their order agrees with ORDER BY in SQL.
int compareNoCase(QStringView a, QStringView b);

// The row id a group, food or diet entry node stands for: its key ("G", "F" or "D" and the id)
// from the second character on.
inline long nodeId(const QString& key) {
    return key.mid(1).toLong();
}

class TreeNode : public QTreeWidgetItem {
public:
    static constexpr int NodeType = QTreeWidgetItem::UserType + 1;

    TreeNode(const QString& key, const QString& text, const QString& image);

    // The item as a node, or nullptr when it is not one (the invisible root, foreign items).
    static TreeNode* of(QTreeWidgetItem* item);

    QString Key() const { return m_key; }
    QString Tag() const { return m_tag; }
    void setTag(const QString& tag) { m_tag = tag; }
    QString Text() const;
    using QTreeWidgetItem::setText;
    void setText(const QString& text);
    // The key of the node's picture in the small-icon list; setting it shows that picture.
    QString Image() const { return m_image; }
    void setImage(const QString& imageKey);

    TreeNode* Parent() const;
    int Children() const { return childCount(); }
    TreeNode* Child(int index) const;
    TreeNode* FirstSibling() const;
    TreeNode* LastSibling() const;
    TreeNode* Next() const;
    TreeNode* Previous() const;

    bool operator<(const QTreeWidgetItem& other) const override;
    // The picture of Image() as the node's decoration.
    QVariant data(int column, int role) const override;

private:
    // The item holding this node and its siblings: its parent, or the tree's invisible root.
    QTreeWidgetItem* container() const;

    QString m_key;
    QString m_tag;
    QString m_image;
};
