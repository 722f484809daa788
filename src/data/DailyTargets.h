#pragma once
// A user's daily targets: for each of the eight nutrients a positive number to hold a day's total
// against, or none. Each lives in its own CONFIG item, "TARGET" + the user's digit + "_" + the
// nutrient's column in capitals (TARGET1_CALORIE); an item is there only while its target is set.
#include "Nutrients.h"

#include <QString>
#include <array>
#include <optional>

class DailyTargets {
public:
    // The targets of `user` ("USER1" to "USER4"); an item that is missing or holds no positive
    // number is no target.
    static DailyTargets load(const QString& user);
    // The CONFIG item of `user`'s target for `column` (one of Nutrients::columns()).
    static QString item(const QString& user, const QString& column);

    std::optional<double> value(const QString& column) const;
    void set(const QString& column, std::optional<double> target);
    bool any() const;

private:
    std::array<std::optional<double>, Nutrients::Count> values_; // in Nutrients::columns() order
};

// Writes all eight targets of `user` in one transaction: a set target's item is added or
// updated, an unset one's removed. On a failure shows the configuration update message, keeps
// nothing and returns false.
bool SaveDailyTargets(const QString& user, const DailyTargets& targets);

// What optional nutrient n (1 or 2) is called: its label, or "Optional nutrient n" while it has
// none.
QString OptionalNutrientName(int n);

// How much of `target` `value` is, as a whole percent rounded half up.
long long TargetPercent(double value, double target);
