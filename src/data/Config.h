#pragma once
// The CONFIG items (users, current user, the two optional nutrient labels), read and written
// through gDataSource->rscmdConfig.
#include <QString>

// The value of a CONFIG item, or the empty text when there is no such item.
QString GetConfigValue(const QString& item);
// Writes value and selected flag of an existing item; an absent item is left alone. A failure
// shows its message; false then.
bool SetConfigValue(const QString& item, const QString& value, bool selected);
// The item name of the selected user ("USER1" when none is selected).
QString LoadCurrentUser();
