#pragma once
// A small database opened the way the program opens it, with message boxes recorded.
#include "Module1.h"
#include "MsgBoxRecorder.h"
#include "TestDatabase.h"
#include "clsFWSDataSource.h"

#include <gtest/gtest.h>

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
        if (gDataSource)
            gDataSource->closeDB();
        gDataSource.reset();
    }
    clsFWSDataSource& ds() { return *gDataSource; }

    // Adds a diet row the way the program does, through the updatable set of one user.
    long addDiet(const QString& user, const QDate& date, const QString& food, double fat = 1) {
        ds().cmdDietData(user);
        Recordset& rs = *ds().rscmdDietData;
        rs.AddNew();
        rs.setField(QStringLiteral("UserName"), user);
        rs.setField(QStringLiteral("DietDate"), date);
        rs.setField(QStringLiteral("FoodName"), food);
        rs.setField(QStringLiteral("Fat"), fat);
        rs.Update();
        return long(rs.LastModified());
    }

    TestDatabase db;
    MsgBoxRecorder boxes;
    int unloads = 0;
};
