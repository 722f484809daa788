#pragma once
// The commands of the main window and the actions that carry each: its menu item, its popup
// item and its toolbar button. What is enabled is set per command, on all of its actions at once.
#include <QList>
#include <array>
#include <initializer_list>

class QAction;

enum class Command {
    FileRestore,
    FileExit,
    EditNew, // the New submenu
    NewFoodGroup,
    NewFoodItem,
    AddToDiet,
    DietDetails,
    DietEntry,
    FoodDetails,
    FoodFav,
    Cut,
    Copy,
    Paste,
    Delete,
    FindEntry,
    FindNext,
    Rename,
    ToolsOptions,
    ToolsTargets,
    ToolsDietReport,
    ToolsPurgeDietData,
    HelpContents,
    HelpSearch,
    HelpAbout,
    Count_ // the number of commands, not a command
};

class CommandActions {
public:
    // Records `action` as one of the places `command` is chosen from.
    void add(Command command, QAction* action);
    const QList<QAction*>& actions(Command command) const;
    void enable(std::initializer_list<Command> commands, bool on) const;

private:
    std::array<QList<QAction*>, std::size_t(Command::Count_)> table_;
};
