#pragma once
// The program started on a small database with foods whose measures make the arithmetic easy
// to follow, and helpers that act as the user does: drag, drop, answer the servings dialog.
#include "MainWindowFixture.h"
#include "Module1.h"
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

    void SetUp() override {
        MainWindowTest::SetUp();
        Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(12, 0)));
        prepare({QStringLiteral(
                     "INSERT INTO FoodItem (FoodId, GroupId, FoodName, ServingSize, Fat, Protein, "
                     "Carbohydrate, Calorie, Sodium, Cholesterol, Other1, Other2, USDA_NDB_NO, "
                     "USDA_MSRE_NO, USDA_GM_WT) VALUES "
                     "(800001, 2, 'Test cheese', '100 g', 10, 20, 4, 300, 500, 80, NULL, 1, "
                     "800001, 1, 100), "
                     "(800002, 2, 'Own bread', '1 slice', 3, 2, 15, 90, 150, 0, 1, 1, 0, 0, 0)"),
                 QStringLiteral("INSERT INTO USDA_Measures VALUES (800001, 1, '100 g', 100), "
                                "(800001, 2, '1 oz', 28.5), (800001, 3, '1 cup', 250)")});
    }
    void TearDown() override {
        setModalHandler({});
        Clock::setFixed({});
        MainWindowTest::TearDown();
    }

    TreeNode* food(long id) { return w().tvwFood->Item(u'F' + QString::number(id)); }
    TreeNode* day(const char* yyyymmdd) {
        return w().tvwDiet->Item(QStringLiteral("DT") + QString::fromLatin1(yyyymmdd));
    }
    TreeNode* entry(long id) { return w().tvwDiet->Item(u'D' + QString::number(id)); }

    // Starts a drag of a node as the user does: press (selects and clicks it), then the drag.
    std::unique_ptr<QMimeData> drag(TreeControl* tree, TreeNode* node, bool rightButton) {
        click(tree, node, rightButton ? Qt::RightButton : Qt::LeftButton);
        w().blnRightButton = rightButton; // the press of the button that drags
        auto data = std::make_unique<QMimeData>();
        data->setData(TreeControl::mimeType(), (tree->objectName() + u'\n' + node->Key()).toUtf8());
        Qt::DropActions effects = Qt::MoveAction | Qt::CopyAction;
        if (tree == w().tvwFood)
            w().tvwFood_OLEStartDrag(data.get(), effects);
        else
            w().tvwDiet_OLEStartDrag(data.get(), effects);
        return data;
    }
    QPoint at(TreeNode* node) {
        if (!node)
            return {5, w().tvwDiet->viewport()->height() - 2}; // below the last node
        w().tvwDiet->EnsureVisible(node);
        return w().tvwDiet->visualItemRect(node).center();
    }
    void dropOn(const QMimeData& data, TreeNode* target) {
        const QPoint p = at(target);
        Qt::DropAction effect = Qt::MoveAction;
        w().tvwDiet_OLEDragDrop(&data, effect, w().blnRightButton ? 2 : 1, 0, p.x(), p.y());
    }
    bool highlightedOver(const QMimeData& data, TreeNode* target) {
        const QPoint p = at(target);
        Qt::DropAction effect = Qt::MoveAction;
        w().tvwDiet->setDropHighlight(nullptr);
        w().tvwDiet_OLEDragOver(&data, effect, 1, 0, p.x(), p.y(), 2);
        return w().tvwDiet->dropHighlight() == target;
    }

    // Answers the next servings dialog: `fill` sets its controls, then OK is pressed.
    void answerDialog(std::function<void(dlgServings&)> fill, bool ok = true) {
        setModalHandler([this, fill, ok](QDialog& d) {
            auto& dlg = dynamic_cast<dlgServings&>(d);
            ++dialogs;
            if (fill)
                fill(dlg);
            (ok ? dlg.OKButton : dlg.CancelButton)->click();
            return dlg.result();
        });
    }

    QVariant column(long dietId, const char* name) {
        Recordset& rs = *gDataSource->rscmdDietData;
        rs.MoveFirst();
        if (!rs.FindFirst(Criterion::equals(QStringLiteral("DietId"), qlonglong(dietId))))
            return QStringLiteral("<no such entry>");
        return rs.Fields(QString::fromLatin1(name));
    }
    long lastDietId() { return long(gDataSource->rscmdDietData->LastModified()); }

    int dialogs = 0;
};
