#pragma once

#include "DatabaseBuilder.h"
#include "UsdaCatalogue.h"

#include <QString>

struct sqlite3;

namespace seed {

// Adds the catalogue to a database that holds the schema and the special rows: one group per
// USDA food group below the root, the foods with their servings and measures, copies of the
// favourites, and key counters raised to the largest keys. Runs inside the caller's transaction.
bool writeCatalogue(sqlite3* db, const UsdaCatalogue& catalogue, BuildSummary* summary,
                    QString* error);

} // namespace seed
