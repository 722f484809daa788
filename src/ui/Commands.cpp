#include "Commands.h"

#include <QAction>

void CommandActions::add(Command command, QAction* action) {
    table_[std::size_t(command)] << action;
}

const QList<QAction*>& CommandActions::actions(Command command) const {
    return table_[std::size_t(command)];
}

void CommandActions::enable(std::initializer_list<Command> commands, bool on) const {
    for (const Command command : commands)
        for (QAction* action : actions(command))
            action->setEnabled(on);
}
