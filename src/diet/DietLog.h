#pragma once
// The diet log: the diet tree of the current user's days and entries, and what clicks, keys,
// drags, the Edit commands and the totals window do on it.
#include "MainParts.h"

#include <QObject>

class QMimeData;
class Recordset;
class TreeNode;

class DietLog : public QObject, public TreeCommands, public DietEntrySink, public FindTarget {
    Q_OBJECT
public:
    explicit DietLog(MainParts& parts);

    // Fills the tree with the current user's days.
    void LoadDietDates();
    // Reopens the current user's diet data after a change of many rows (a deleted day, a purge,
    // another user) and, with rebuildTree, fills the tree afresh. With no days left, the diet
    // commands go off and the food tree takes the focus.
    void ReloadDietLog(bool rebuildTree = true);
    void AddDietEntry(const FoodClipRecord& food, double servings, const QDate& date,
                      const QString& servingText, long measureNo, double gramWeight) override;
    // Opens the selected entry in the entry dialog, or loads the selected day's entries.
    void tvwDiet_DblClick();
    void ShowDietTotals();

    void Cut() override;
    void Copy() override;
    void Paste() override;
    void Delete() override;

    Recordset* findRows() override;
    TreeControl* findTree() override;
    void ShowFoundRow() override;
    void RestoreFoundRow() override;

private:
    // ---- The tree (DietLog.cpp)
    void LoadDietItems(const QDate& day);
    void AddDietNode(Recordset& rs, const QString& tag, bool loading);
    void FindDietEntry(const QString& key);
    void tvwDiet_NodeClick(TreeNode* node);
    // Makes the selected entry, if an entry is selected, the current row of rscmdDietData.
    void locateSelectedEntry();
    void tvwDiet_MouseDown(int button, int shift, int x, int y);
    void tvwDiet_KeyDown(int keyCode, int shift);
    void tvwDiet_GotFocus();
    void tvwDiet_Collapse(TreeNode* node);
    void tvwDiet_Expand(TreeNode* node);
    void CollapseDietDay();

    // ---- Entries and drops (DietEntries.cpp)
    void EditDietEntry();
    // Every new entry is written here: `entries`, all of one day, become rows of the current
    // user, each with a new key, all in one transaction or none; the first is shown selected.
    // Returns whether they were written.
    bool addEntries(std::vector<DietClipRecord> entries);
    // Moves the current entry, shown as `entry`, to `day`.
    void moveEntry(TreeNode* entry, const QDate& day);
    void tvwDiet_OLEStartDrag(QMimeData* data, Qt::DropActions& allowedEffects);
    void tvwDiet_OLEDragOver(const QMimeData* data, Qt::DropAction& effect, int button, int shift,
                             int x, int y, int state);
    void tvwDiet_OLEDragDrop(const QMimeData* data, Qt::DropAction& effect, int button, int shift,
                             int x, int y);
    void tvwDiet_OLECompleteDrag(Qt::DropAction effect);
    void dropFoodAskingServings(FoodClipRecord food, const QDate& date);

    // ---- Deletions and the clipboard (DietClipboard.cpp)
    void DeleteSelected();
    void DeleteDietEntry(const QString& mode);
    void DeleteDietDay(const QDate& day);
    void CopyDietEntry(Recordset& rs);
    // Copies all of the current user's entries of `day`.
    void CopyDietDay(const QDate& day);
    void holdInDietClip(std::vector<DietClipRecord> entries);
    void PasteDietEntry();
    // Whether the day has entries of the current user, whether or not they were loaded.
    bool dayHasEntries(const TreeNode* day) const;

    MainParts& parts;
    TreeControl* tvwDiet;
    TreeState& state;
};
