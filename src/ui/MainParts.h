#pragma once
// What the main window shares with the controllers of its two trees: the widgets they work on,
// the state that connects the trees, and the ways one controller reaches the other.
#include "ClipRecords.h"
#include "Commands.h"

#include <QDate>
#include <QString>
#include <functional>
#include <vector>

class QLabel;
class QMenu;
class Recordset;
class QWidget;
class TreeControl;

// The state both trees share.
struct TreeState {
    QString strActiveTree;       // "FOODS" or "DIET": the tree the Edit commands act on
    bool blnRightButton = false; // the next node click opens the popup; a drop is a right drag
    QString strDragKey;          // the node a drag started from
    QString strDragTag;
    bool FoodClipValid = false;
    bool DietClipValid = false;
    FoodClipRecord FoodClip;
    std::vector<DietClipRecord> DietClip; // the entry copied or cut, or a whole day's entries
    bool FoodPending = false;             // the current food row is not saved yet
    bool FoodIsNew = false;
    long FavoritesGroupId = 0;
};

// The Edit commands of the menus, the popup and the toolbar, carried out by the controller of
// the active tree.
class TreeCommands {
public:
    virtual void Cut() = 0;
    virtual void Copy() = 0;
    virtual void Paste() = 0;
    virtual void Delete() = 0;

protected:
    ~TreeCommands() = default;
};

// What the food tree asks of the diet log: an entry of a food.
class DietEntrySink {
public:
    virtual void AddDietEntry(const FoodClipRecord& food, double servings, const QDate& date,
                              const QString& servingText, long measureNo, double gramWeight) = 0;

protected:
    ~DietEntrySink() = default;
};

// What the diet log asks of the food tree: its selected node's commands and status shown again,
// and a food left unsaved by a failed save offered for saving again.
class FoodSelection {
public:
    virtual void RefreshFoodSelection() = 0;
    virtual void SavePendingFood() = 0;

protected:
    ~FoodSelection() = default;
};

// What Find asks of a tree's controller: the result set it searches, and the tree brought to
// that set's current row.
class FindTarget {
public:
    // rscmdFoods or rscmdDietData; nullptr while the data is not open.
    virtual Recordset* findRows() = 0;
    virtual TreeControl* findTree() = 0;
    // Selects the node of the current row (filling its group or day first), shows it and
    // clicks it; the tree takes the focus.
    virtual void ShowFoundRow() = 0;
    // After a search without a match: makes the selected node's row current again.
    virtual void RestoreFoundRow() = 0;

protected:
    ~FindTarget() = default;
};

// The main window's parts the controllers work on.
struct MainParts {
    QWidget* window = nullptr;
    TreeControl* tvwFood = nullptr;
    TreeControl* tvwDiet = nullptr;
    QLabel* sbPanel1 = nullptr;
    QMenu* mnuPop_RTB = nullptr;
    TreeState state;
    DietEntrySink* dietEntries = nullptr;
    FoodSelection* foodSelection = nullptr;

    // Told of every change to the current user's diet log: an entry added, edited, moved,
    // deleted or pasted, the log read afresh. Set by the main window.
    std::function<void()> onDietChanged;
    void dietChanged() const {
        if (onDietChanged)
            onDietChanged();
    }

    // The actions of each command, filled as the menus, the popup and the toolbar are built.
    CommandActions commands;

    // Enables or disables every action of the commands (menu item, popup item, toolbar button).
    void enable(std::initializer_list<Command> which, bool on) const { commands.enable(which, on); }
    // Shows the popup menu for a node of `tree` (where the pointer is, or below the node when
    // the keyboard asked for it) and waits until it closes. The right-button flag is cleared
    // first, so the command chosen clicks nodes as a left click would.
    void showPopup(const TreeControl* tree);
    // Shows the serving size of the selected food in status bar panel 1, or clears it.
    void showServingSize(const QString* servingSize) const;
};
