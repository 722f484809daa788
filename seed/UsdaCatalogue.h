#pragma once

#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace seed {

// One USDA household measure of a food.
struct UsdaMeasure {
    int number = 0; // MSRE_NO: 1, 2, ... in the source's order
    QString description;
    double grams = 0;
};

// One USDA food with its values per 100 g, in the order Fat, Protein, Carbohydrate, Calorie,
// Sodium, Cholesterol, Other1 (fiber), Other2 (sugars); a value the source lacks is empty.
struct UsdaFood {
    int ndb = 0;
    QString name;
    std::array<std::optional<double>, 8> per100g;
    std::vector<UsdaMeasure> measures; // household measures only
    int groupCode = 0;                 // USDA food group code, such as 100 for "0100"
};

// A USDA food group as the catalogue files list it.
struct UsdaGroup {
    int code = 0;
    QString name;
};

// The catalogue read from seed/usda/: groups in file order, foods by NDB number.
struct UsdaCatalogue {
    std::vector<UsdaGroup> groups;
    std::vector<UsdaFood> foods;
    std::vector<int> favorites; // NDB numbers of the favourites that are among foods
};

// Reads the TSV files in usdaDir; when onlyFoods is not empty, keeps those foods only (each
// must exist). Every food kept is given a group, or loading fails.
bool loadCatalogue(const QString& usdaDir, const std::vector<int>& onlyFoods, UsdaCatalogue* out,
                   QString* error);

} // namespace seed
