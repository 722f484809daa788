#include "CatalogueWriter.h"

#include <QHash>

#include <sqlite3.h>

using namespace Qt::Literals::StringLiterals;

namespace seed {
namespace {

// One prepared statement, reset after each run so it can be bound again.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr); }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool isValid() const { return stmt_ != nullptr; }
    void bind(int index, qint64 value) { sqlite3_bind_int64(stmt_, index, value); }
    void bind(int index, double value) { sqlite3_bind_double(stmt_, index, value); }
    void bind(int index, const std::optional<double>& value) {
        if (value)
            bind(index, *value);
        else
            sqlite3_bind_null(stmt_, index);
    }
    void bind(int index, const QString& value) {
        const QByteArray utf8 = value.toUtf8();
        sqlite3_bind_text(stmt_, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    // Steps through all rows; the first column of the last row is kept in value().
    bool run() {
        int rc;
        while ((rc = sqlite3_step(stmt_)) == SQLITE_ROW)
            value_ = sqlite3_column_int64(stmt_, 0);
        sqlite3_reset(stmt_);
        return rc == SQLITE_DONE;
    }
    qint64 value() const { return value_; }

private:
    sqlite3_stmt* stmt_ = nullptr;
    qint64 value_ = 0;
};

// Reports the first failure of the build with the database's own message.
class Writer {
public:
    Writer(sqlite3* db, QString* error) : db_(db), error_(error) {}

    bool check(bool ok, const char* what) {
        if (!ok && error_->isEmpty())
            *error_ =
                u"%1: %2"_s.arg(QLatin1StringView(what), QString::fromUtf8(sqlite3_errmsg(db_)));
        return ok;
    }
    // Runs a statement without values and returns the first column of its last row.
    bool queryInt(const char* sql, qint64* value) {
        Statement stmt(db_, sql);
        if (!check(stmt.isValid() && stmt.run(), sql))
            return false;
        *value = stmt.value();
        return true;
    }

private:
    sqlite3* db_;
    QString* error_;
};

constexpr const char* kInsertGroup =
    "INSERT INTO FoodGroup (GroupId, GroupName, ParentGroup, GroupTag) VALUES (?, ?, ?, 'GROUP')";
constexpr const char* kInsertFood =
    "INSERT INTO FoodItem (FoodId, GroupId, FoodName, ServingSize, Fat, Protein, Carbohydrate, "
    "Calorie, Sodium, Cholesterol, Other1, Other2, USDA_NDB_NO, USDA_MSRE_NO, USDA_GM_WT) "
    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
constexpr const char* kInsertMeasure =
    "INSERT INTO USDA_Measures (NDB_NO, MSRE_NO, MSRE_DESC, GM_WT) VALUES (?, ?, ?, ?)";
// Each counter is raised to the largest key of its table; a new key is the counter plus one.
constexpr const char* kRaiseKeys[] = {
    "UPDATE TableKey SET KeyValue = MAX(KeyValue, (SELECT IFNULL(MAX(GroupId), 0) FROM "
    "FoodGroup)) WHERE KeyName = 'FOODGROUP'",
    "UPDATE TableKey SET KeyValue = MAX(KeyValue, (SELECT IFNULL(MAX(FoodId), 0) FROM "
    "FoodItem)) WHERE KeyName = 'FOODITEM'",
    "UPDATE TableKey SET KeyValue = MAX(KeyValue, (SELECT IFNULL(MAX(DietId), 0) FROM "
    "DietActivity)) WHERE KeyName = 'DIETACTIVITY'",
};

// The serving a food is delivered with: its first household measure, or 100 g without one.
UsdaMeasure servingOf(const UsdaFood& food) {
    if (!food.measures.empty())
        return food.measures.front();
    return {1, u"100 g"_s, 100.0};
}

// One food row with its values scaled from 100 g to the serving, under the given id and group.
bool insertFood(Statement& stmt, qint64 foodId, qint64 groupId, const UsdaFood& food) {
    const UsdaMeasure serving = servingOf(food);
    stmt.bind(1, foodId);
    stmt.bind(2, groupId);
    stmt.bind(3, food.name);
    stmt.bind(4, serving.description);
    for (std::size_t i = 0; i < food.per100g.size(); ++i) {
        std::optional<double> value = food.per100g[i];
        if (value)
            *value = *value * serving.grams / 100.0;
        stmt.bind(int(i) + 5, value);
    }
    stmt.bind(13, qint64(food.ndb));
    stmt.bind(14, qint64(serving.number));
    stmt.bind(15, serving.grams); // exact: a 0.4 g dash rounded would weigh nothing
    return stmt.run();
}

// Every household measure of the food, then "100 g" numbered after them.
bool insertMeasures(Statement& stmt, const UsdaFood& food, int* count) {
    std::vector<UsdaMeasure> measures = food.measures;
    measures.push_back({int(measures.size()) + 1, u"100 g"_s, 100.0});
    for (const UsdaMeasure& measure : measures) {
        stmt.bind(1, qint64(food.ndb));
        stmt.bind(2, qint64(measure.number));
        stmt.bind(3, measure.description);
        stmt.bind(4, measure.grams);
        if (!stmt.run())
            return false;
        ++*count;
    }
    return true;
}

} // namespace

bool writeCatalogue(sqlite3* db, const UsdaCatalogue& catalogue, BuildSummary* summary,
                    QString* error) {
    Writer writer(db, error);
    qint64 rootId = 0;
    qint64 favoritesId = 0;
    qint64 lastGroupId = 0;
    qint64 lastFoodId = 0;
    if (!writer.queryInt("SELECT GroupId FROM FoodGroup WHERE GroupTag = 'GROUPROOT'", &rootId) ||
        !writer.queryInt("SELECT GroupId FROM FoodGroup WHERE GroupTag = 'FAVORITE'",
                         &favoritesId) ||
        !writer.queryInt("SELECT IFNULL(MAX(GroupId), 0) FROM FoodGroup", &lastGroupId) ||
        !writer.queryInt("SELECT IFNULL(MAX(FoodId), 0) FROM FoodItem", &lastFoodId))
        return false;

    Statement groupStmt(db, kInsertGroup);
    if (!writer.check(groupStmt.isValid(), kInsertGroup))
        return false;
    QHash<int, qint64> groupIdOfCode;
    for (const UsdaGroup& group : catalogue.groups) {
        groupStmt.bind(1, ++lastGroupId);
        groupStmt.bind(2, group.name);
        groupStmt.bind(3, rootId);
        if (!writer.check(groupStmt.run(), kInsertGroup))
            return false;
        groupIdOfCode.insert(group.code, lastGroupId);
    }

    Statement foodStmt(db, kInsertFood);
    Statement measureStmt(db, kInsertMeasure);
    if (!writer.check(foodStmt.isValid(), kInsertFood) ||
        !writer.check(measureStmt.isValid(), kInsertMeasure))
        return false;
    BuildSummary counts;
    counts.groups = int(catalogue.groups.size());
    QHash<int, const UsdaFood*> foodOfNdb;
    for (const UsdaFood& food : catalogue.foods) {
        if (!writer.check(insertFood(foodStmt, food.ndb, groupIdOfCode.value(food.groupCode), food),
                          kInsertFood) ||
            !writer.check(insertMeasures(measureStmt, food, &counts.measures), kInsertMeasure))
            return false;
        foodOfNdb.insert(food.ndb, &food);
        lastFoodId = std::max<qint64>(lastFoodId, food.ndb);
        ++counts.foods;
    }

    // The favourites are ordinary foods with ids of their own, so the user may edit them; they
    // keep the USDA numbers of their original so they can still be rescaled.
    for (int ndb : catalogue.favorites) {
        if (!writer.check(insertFood(foodStmt, ++lastFoodId, favoritesId, *foodOfNdb.value(ndb)),
                          kInsertFood))
            return false;
        ++counts.favorites;
    }

    for (const char* sql : kRaiseKeys) {
        Statement stmt(db, sql);
        if (!writer.check(stmt.isValid() && stmt.run(), sql))
            return false;
    }
    if (summary)
        *summary = counts;
    return true;
}

} // namespace seed
