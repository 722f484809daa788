#include "HouseholdLog.h"

#include <QFile>
#include <QFileInfo>
#include <optional>
#include <random>
#include <sqlite3.h>
#include <stdexcept>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace bench {
namespace {

constexpr int kNutrients = 8;
constexpr int kDaysPerYear = 365;

// One catalogue food as a diet entry copies it.
struct Food {
    QByteArray name;
    QByteArray groupName;
    QByteArray servingSize;
    std::optional<double> nutrients[kNutrients]; // Fat .. Other2, in the order of the table
    qint64 ndbNo = 0;
    qint64 msreNo = 0;
    double gramWeight = 0; // exact, as the catalogue holds it
};

// A failed engine call, carrying the engine's message.
struct EngineError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The connection to the copy being built; closed however the build ends.
class Connection {
public:
    explicit Connection(const QString& path) {
        if (sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr) !=
            SQLITE_OK)
            fail("open");
    }
    ~Connection() {
        while (sqlite3_stmt* st = sqlite3_next_stmt(db_, nullptr))
            sqlite3_finalize(st);
        sqlite3_close(db_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void exec(const char* sql) {
        if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            fail(sql);
    }
    sqlite3_stmt* prepare(const char* sql) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql, -1, &st, nullptr) != SQLITE_OK)
            fail(sql);
        return st;
    }
    qint64 scalar(const char* sql) {
        sqlite3_stmt* st = prepare(sql);
        const qint64 v = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int64(st, 0) : -1;
        sqlite3_finalize(st);
        return v;
    }
    [[noreturn]] void fail(const char* what) const {
        throw EngineError(std::string(what) + ": " + sqlite3_errmsg(db_));
    }

private:
    sqlite3* db_ = nullptr;
};

QByteArray text(sqlite3_stmt* st, int i) {
    return QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                      sqlite3_column_bytes(st, i));
}

std::vector<Food> readCatalogue(Connection& db) {
    sqlite3_stmt* st = db.prepare(
        "SELECT f.FoodName, g.GroupName, f.ServingSize, f.Fat, f.Protein, f.Carbohydrate, "
        "f.Calorie, f.Sodium, f.Cholesterol, f.Other1, f.Other2, f.USDA_NDB_NO, f.USDA_MSRE_NO, "
        "f.USDA_GM_WT FROM FoodItem f JOIN FoodGroup g ON g.GroupId = f.GroupId ORDER BY f.FoodId");
    std::vector<Food> foods;
    while (sqlite3_step(st) == SQLITE_ROW) {
        Food f;
        f.name = text(st, 0);
        f.groupName = text(st, 1);
        f.servingSize = text(st, 2);
        for (int i = 0; i < kNutrients; ++i)
            if (sqlite3_column_type(st, 3 + i) != SQLITE_NULL)
                f.nutrients[i] = sqlite3_column_double(st, 3 + i);
        f.ndbNo = sqlite3_column_int64(st, 11);
        f.msreNo = sqlite3_column_int64(st, 12);
        f.gramWeight = sqlite3_column_double(st, 13);
        foods.push_back(std::move(f));
    }
    sqlite3_finalize(st);
    return foods;
}

void bindText(sqlite3_stmt* st, int n, const QByteArray& value) {
    sqlite3_bind_text(st, n, value.constData(), int(value.size()), SQLITE_STATIC);
}

// Adds the entries day by day, each user's entries of a day together, as a household that logs
// every day appends them; ids follow in that order.
void addEntries(Connection& db, const std::vector<Food>& foods, const LogOptions& options,
                qint64 firstId, LogSummary& summary) {
    sqlite3_stmt* insert = db.prepare(
        "INSERT INTO DietActivity (DietId, UserName, DietDate, FoodName, GroupName, NumServings, "
        "ServingSize, Fat, Protein, Carbohydrate, Calorie, Sodium, Cholesterol, Other1, Other2, "
        "USDA_NDB_NO, USDA_MSRE_NO, USDA_GM_WT) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    std::vector<QByteArray> users;
    for (int u = 1; u <= options.users; ++u)
        users.push_back("USER" + QByteArray::number(u));

    // mt19937_64 is the same sequence on every standard library; the mapping to foods and
    // servings uses plain integer arithmetic so that the file is too.
    std::mt19937_64 rng(options.seed);
    const int days = options.years * kDaysPerYear;
    const QDate end = options.endDate.isValid() ? options.endDate : QDate::currentDate();
    summary.firstDate = end.addDays(-(days - 1));
    summary.lastDate = end;
    qint64 id = firstId;
    for (int d = 0; d < days; ++d) {
        const QByteArray date = summary.firstDate.addDays(d).toString(Qt::ISODate).toLatin1();
        for (const QByteArray& user : users) {
            for (int e = 0; e < options.entriesPerDay; ++e) {
                const Food& food = foods[rng() % foods.size()];
                const double servings = 0.5 + 0.25 * double(rng() % 11); // 0.5 .. 3 by quarters
                sqlite3_reset(insert);
                sqlite3_bind_int64(insert, 1, id);
                bindText(insert, 2, user);
                bindText(insert, 3, date);
                bindText(insert, 4, food.name);
                bindText(insert, 5, food.groupName);
                sqlite3_bind_double(insert, 6, servings);
                bindText(insert, 7, food.servingSize);
                for (int i = 0; i < kNutrients; ++i) {
                    if (food.nutrients[i])
                        sqlite3_bind_double(insert, 8 + i, *food.nutrients[i] * servings);
                    else
                        sqlite3_bind_null(insert, 8 + i);
                }
                sqlite3_bind_int64(insert, 16, food.ndbNo);
                sqlite3_bind_int64(insert, 17, food.msreNo);
                sqlite3_bind_double(insert, 18, food.gramWeight);
                if (sqlite3_step(insert) != SQLITE_DONE)
                    db.fail("INSERT INTO DietActivity");
                ++id;
            }
        }
    }
    sqlite3_finalize(insert);
    summary.firstId = firstId;
    summary.lastId = id - 1;
    summary.rows = id - firstId;
}

void build(const QString& path, const LogOptions& options, LogSummary& summary) {
    Connection db(path);
    // A scratch copy: nothing is lost if the machine stops halfway, so skip the syncs.
    db.exec("PRAGMA synchronous = OFF");
    db.exec("PRAGMA journal_mode = MEMORY");
    const std::vector<Food> foods = readCatalogue(db);
    if (foods.empty())
        throw EngineError("the delivered database has no foods");
    summary.catalogueFoods = int(foods.size());

    const qint64 counter =
        db.scalar("SELECT KeyValue FROM TableKey WHERE KeyName = 'DIETACTIVITY'");
    if (counter < 0)
        throw EngineError("the delivered database has no DIETACTIVITY key counter");
    if (db.scalar("SELECT coalesce(max(DietId), 0) FROM DietActivity") > counter)
        throw EngineError("DietActivity holds ids above the DIETACTIVITY key counter");

    db.exec("BEGIN IMMEDIATE");
    addEntries(db, foods, options, counter + 1, summary);
    // The days of the log, where the delivered layout keeps them; an older file gets them when
    // it is brought up to date (forkwise-bench-mklog --upgrade).
    if (db.scalar("SELECT count(*) FROM sqlite_schema WHERE name = 'DietDay'") > 0)
        db.exec("INSERT OR IGNORE INTO DietDay (UserName, DietDate) "
                "SELECT DISTINCT UserName, DietDate FROM DietActivity");
    sqlite3_stmt* key =
        db.prepare("UPDATE TableKey SET KeyValue = ? WHERE KeyName = 'DIETACTIVITY'");
    sqlite3_bind_int64(key, 1, summary.lastId);
    if (sqlite3_step(key) != SQLITE_DONE)
        db.fail("UPDATE TableKey");
    sqlite3_finalize(key);
    db.exec("COMMIT");
}

} // namespace

bool makeHouseholdLog(const QString& deliveredPath, const QString& outPath,
                      const LogOptions& options, LogSummary* summary, QString* error) {
    auto failWith = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (options.years < 1 || options.users < 1 || options.entriesPerDay < 1)
        return failWith(u"years, users and entries per day must be at least 1"_s);
    if (!QFileInfo(deliveredPath).isFile())
        return failWith(u"%1: no such file"_s.arg(deliveredPath));
    if (QFileInfo::exists(outPath) && !options.overwrite)
        return failWith(u"%1 exists (use --force to replace it)"_s.arg(outPath));

    const QString partPath = outPath + u".part"_s;
    QFile::remove(partPath);
    if (!QFile::copy(deliveredPath, partPath))
        return failWith(u"cannot copy %1 to %2"_s.arg(deliveredPath, partPath));
    LogSummary result;
    try {
        build(partPath, options, result);
    } catch (const EngineError& e) {
        QFile::remove(partPath);
        return failWith(QString::fromUtf8(e.what()));
    }
    if (QFileInfo::exists(outPath) && !QFile::remove(outPath)) {
        QFile::remove(partPath);
        return failWith(u"cannot replace %1"_s.arg(outPath));
    }
    if (!QFile::rename(partPath, outPath))
        return failWith(u"cannot rename %1 to %2"_s.arg(partPath, outPath));
    if (summary)
        *summary = result;
    return true;
}

} // namespace bench
