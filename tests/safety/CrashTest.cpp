// The program killed at random moments while it adds, edits and deletes diet entries: the file
// stays whole, every command that completed is in it, and the program starts again on it.
#include "SqlProbe.h"
#include "TestDatabase.h"

#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <cmath>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kKills = 200;

// The servings of each entry and whether its values are its food's times its servings.
struct Stored {
    double servings = 0;
    bool scaled = false;
};

QHash<qlonglong, Stored> storedEntries(const QString& path) {
    QHash<qlonglong, Stored> out;
    const QStringList rows =
        queryValue(path, QStringLiteral(
                             "SELECT group_concat(d.DietId || ' ' || d.NumServings || ' ' || "
                             "(abs(d.Fat - d.NumServings * f.Fat) <= 1e-9 * (1 + abs(d.Fat)) AND "
                             "abs(d.Calorie - d.NumServings * f.Calorie) <= "
                             "1e-9 * (1 + abs(d.Calorie))), ';') FROM DietActivity d JOIN "
                             "FoodItem f ON f.FoodName = d.FoodName AND f.GroupId = 2"))
            .toString()
            .split(u';', Qt::SkipEmptyParts);
    for (const QString& row : rows) {
        const QStringList p = row.split(u' ');
        out.insert(p[0].toLongLong(), {p[1].toDouble(), p[2] == u"1"});
    }
    return out;
}

} // namespace

TEST(CrashTest, EveryCompletedCommandSurvivesAKillAndTheProgramStartsAgain) {
    TestDatabase db;
    QHash<qlonglong, double> done; // what the program reported as completed
    QRandomGenerator rng(20261207);
    int commands = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        QProcess driver;
        driver.start(QStringLiteral(FORKWISE_CRASH_DRIVER),
                     {db.programDir(), QString::number(kill + 1)});
        ASSERT_TRUE(driver.waitForStarted());
        QByteArray out;
        while (!out.contains("\n") && driver.waitForReadyRead(20000))
            out += driver.readAllStandardOutput();
        ASSERT_TRUE(out.startsWith("STARTED\n")) << "run " << kill << ": " << out.constData();
        QThread::msleep(rng.bounded(20, 400));
        driver.kill();
        driver.waitForFinished();
        out += driver.readAllStandardOutput();

        // Only whole lines were written after their command completed.
        const QList<QByteArray> lines = out.left(out.lastIndexOf('\n')).split('\n');
        for (const QByteArray& line : lines.mid(1)) {
            const QList<QByteArray> p = line.split(' ');
            ASSERT_TRUE(p[0] == "ADD" || p[0] == "EDIT" || p[0] == "DEL")
                << "run " << kill << ": " << line.constData();
            ++commands;
            if (p[0] == "DEL")
                done.remove(p[1].toLongLong());
            else
                done[p[1].toLongLong()] = p[2].toDouble();
        }

        ASSERT_EQ(queryValue(db.path(), u"PRAGMA integrity_check"_s).toString(), u"ok"_s)
            << "run " << kill;
        // At most the one command in flight when the kill came differs from what was reported,
        // and no entry is half written: its values are its food's times its servings.
        const QHash<qlonglong, Stored> stored = storedEntries(db.path());
        int differ = 0;
        for (auto it = done.cbegin(); it != done.cend(); ++it)
            differ += !stored.contains(it.key()) || stored[it.key()].servings != *it;
        for (auto it = stored.cbegin(); it != stored.cend(); ++it) {
            differ += !done.contains(it.key());
            EXPECT_TRUE(it->scaled) << "run " << kill << ", entry " << it.key();
        }
        ASSERT_LE(differ, 1) << "run " << kill;
        // Take the file's word for the command in flight, as the next run will.
        done.clear();
        for (auto it = stored.cbegin(); it != stored.cend(); ++it)
            done[it.key()] = it->servings;
        EXPECT_GE(queryValue(db.path(), QStringLiteral("SELECT (SELECT KeyValue FROM TableKey "
                                                       "WHERE KeyName = 'DIETACTIVITY') >= "
                                                       "(SELECT coalesce(max(DietId), 0) FROM "
                                                       "DietActivity)"))
                      .toInt(),
                  1)
            << "run " << kill;
    }
    EXPECT_GT(commands, kKills) << "the runs were killed before they did anything";
}
