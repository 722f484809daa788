#pragma once
// The program started on a small database with foods whose measures make the arithmetic easy
// to follow, and helpers that act as the user does: drag, drop, answer the servings dialog.
#include "MainWindowFixture.h"
#include "Module1.h"
#include "Nutrients.h"
#include "ShowModal.h"
#include "SqlProbe.h"
#include "clsFWSDataSource.h"
#include "dlgServings.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <functional>

class DietLogTest : public MainWindowTest {
protected:
    static constexpr long kCheese =
        800001; // stored for 100 g; measures 100 g, 1 oz (28.5 g), 1 cup (250 g)
    static constexpr long kOwnBread = 800002; // entered by the user: no gram weight, no measures
    static constexpr long kSalt = 800003;     // stored for 1 cup (292 g); a dash weighs 0.4 g

    void SetUp() override {
        MainWindowTest::SetUp();
        Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(12, 0)));
        prepare({QStringLiteral(
                     "INSERT INTO FoodItem (FoodId, GroupId, FoodName, ServingSize, Fat, Protein, "
                     "Carbohydrate, Calorie, Sodium, Cholesterol, Other1, Other2, USDA_NDB_NO, "
                     "USDA_MSRE_NO, USDA_GM_WT) VALUES "
                     "(800001, 2, 'Test cheese', '100 g', 10, 20, 4, 300, 500, 80, NULL, 1, "
                     "800001, 1, 100), "
                     "(800002, 2, 'Own bread', '1 slice', 3, 2, 15, 90, 150, 0, 1, 1, 0, 0, 0), "
                     "(800003, 2, 'Test salt', '1 cup', 0, 0, 0, 0, 113173.36, 0, 0, 0, 800003, "
                     "1, 292)"),
                 QStringLiteral("INSERT INTO USDA_Measures VALUES (800001, 1, '100 g', 100), "
                                "(800001, 2, '1 oz', 28.5), (800001, 3, '1 cup', 250), "
                                "(800003, 1, '1 cup', 292), (800003, 4, '1 dash', 0.4)")});
    }

    TreeNode* food(long id) { return foodNode(qPrintable(u'F' + QString::number(id))); }
    TreeNode* day(const char* yyyymmdd) {
        return w().tvwDiet->Item(QStringLiteral("DT") + QString::fromLatin1(yyyymmdd));
    }
    TreeNode* entry(long id) { return w().tvwDiet->Item(u'D' + QString::number(id)); }

    // Answers the next servings dialog: `fill` sets its controls, then OK is pressed.
    void answerDialog(std::function<void(dlgServings&)> fill, bool ok = true) {
        answer<dlgServings>([this, fill, ok](dlgServings& dlg) {
            ++dialogs;
            if (fill)
                fill(dlg);
            (ok ? dlg.OKButton : dlg.CancelButton)->click();
        });
    }

    // An entry's column as the log holds it; invalid for a null or no such entry.
    QVariant column(long dietId, const char* name) {
        return value(QStringLiteral("SELECT %1 FROM DietActivity WHERE DietId = ?")
                         .arg(QString::fromLatin1(name)),
                     {qlonglong(dietId)});
    }
    // The named columns of an entry as text, joined by '|' (a null is the empty text).
    QString columns(long dietId, const char* names) {
        QStringList out;
        for (const QString& name : QString::fromLatin1(names).split(u' '))
            out << column(dietId, name.toLatin1().constData()).toString();
        return out.join(u'|');
    }
    Nutrients values(long dietId) {
        const auto rs = Recordset::openSnapshot(
            gDataSource->appDB, QStringLiteral("SELECT * FROM DietActivity WHERE DietId = ?"),
            {qlonglong(dietId)});
        EXPECT_FALSE(rs->eof()) << "no entry " << dietId;
        return Nutrients::read(*rs);
    }
    // The id handed out last, which the newest entry carries.
    long lastDietId() {
        return long(
            value(QStringLiteral("SELECT KeyValue FROM TableKey WHERE KeyName = 'DIETACTIVITY'"))
                .toLongLong());
    }
    // The current user's entries in the log.
    long entryCount() {
        return long(value(QStringLiteral("SELECT count(*) FROM DietActivity WHERE UserName = ?"),
                          {gCurrentUser})
                        .toLongLong());
    }

    int dialogs = 0;
};
