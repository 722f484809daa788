#pragma once
// A small database opened the way the program opens it, with message boxes recorded.
#include "Module1.h"
#include "MsgBoxRecorder.h"
#include "SqlProbe.h" // readable values in failure messages
#include "TestDatabase.h"
#include "clsFWSDataSource.h"

using namespace Qt::Literals::StringLiterals;

class DataStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        gDBPath = db.path();
        gSupportMsg = supportSentence();
        gDataSource = std::make_unique<clsFWSDataSource>();
        ASSERT_TRUE(gDataSource->connectDB());
        setUnloadMainFormHandler([this] { ++unloads; });
        gDataSource->cmdConfig();
        gDataSource->cmdTableKey();
    }
    void TearDown() override {
        setUnloadMainFormHandler({});
        gDataSource.reset();
    }
    clsFWSDataSource& ds() { return *gDataSource; }
    // The first column of a query's first row, read from the file; invalid for none.
    QVariant value(const QString& query) {
        const auto rs = Recordset::openSnapshot(ds().appDB, query);
        return rs->eof() ? QVariant() : rs->Fields(rs->fieldNames().first());
    }

    // An entry written as the program writes one, with its day.
    void addDiet(const QString& user, const QDate& date, const QString& food, double fat = 1) {
        ds().appDB.execute(u"INSERT INTO DietActivity (UserName, DietDate, "
                           "FoodName, Fat) VALUES (?, ?, ?, ?)"_s,
                           {user, date, food, fat});
        ds().appDB.execute(u"INSERT OR IGNORE INTO DietDay VALUES (?, ?)"_s, {user, date});
    }
    static QDate day(int d) { return QDate(2026, 12, d); }
    const QString u1 = u"USER1"_s;

    TestDatabase db;
    MsgBoxRecorder boxes;
    int unloads = 0;
};
