#include "ToolsResources.h"

#include <QtGlobal>

// Outside any namespace, as the resource initialiser requires.
static void initToolsResources() {
    Q_INIT_RESOURCE(tools);
    Q_INIT_RESOURCE(help);
}

void ensureToolsResources() {
    static const bool ready = (initToolsResources(), true);
    Q_UNUSED(ready);
}
