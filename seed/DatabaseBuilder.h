#pragma once

#include <QString>

#include <vector>

namespace seed {

// The seed/ folder of the source tree, compiled in.
QString defaultSeedDir();

// What to build and from where.
struct BuildOptions {
    QString seedDir = defaultSeedDir(); // folder holding schema.sql, standing_rows.sql, usda/
    std::vector<int>
        onlyFoods; // when not empty, only these NDB numbers (and favourites among them)
};

// What a build put into the file.
struct BuildSummary {
    int groups = 0; // USDA food groups below the root
    int foods = 0;  // original USDA foods
    int favorites = 0;
    int measures = 0; // USDA_Measures rows, the "100 g" ones included
};

// Builds a new database at path, creating its folder when missing. The file appears complete or
// not at all, and an existing file is never replaced or changed: it is the household's diet log.
// Returns false with *error set when path exists or building fails.
bool buildDatabase(const QString& path, const BuildOptions& options, QString* error,
                   BuildSummary* summary = nullptr);

} // namespace seed
