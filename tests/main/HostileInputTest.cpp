// Texts people type that break careless programs, through every text field: stored within the
// field's limit without splitting a character, shown, found and read back exactly.
#include "MainWindowFixture.h"
#include "Module1.h"
#include "ShowModal.h"
#include "clsFWSDataSource.h"
#include "frmFind.h"
#include "frmFoodData.h"
#include "frmOptions.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

const QString kApple = QStringLiteral("\U0001F34E"); // two UTF-16 units
const QString kAccented = QStringLiteral("e\u0301"); // a letter and its accent
// 10,000 characters, `c` falling across each field's limit: 10, 40, 60 and 200.
QString across(const QString& c) {
    return QString(9, u'x') + c + QString(28, u'y') + c + QString(18, u'z') + c +
           QString(138, u'w') + c + QString(9793, u'v');
}

const QStringList kHostile = {
    QStringLiteral("Mom's \"best\" \\ 100% _x_ *?#[ ] pie; DROP TABLE FoodItem; --"),
    QStringLiteral("Tab\there \u0001 bell\u0007 del\u007f"),
    QStringLiteral("\u05d7\u05dc\u05d1 \u202eevil\u202c \u0645\u0631\u062d\u0628\u0627"),
    kApple + QStringLiteral(" family \U0001F468\u200d\U0001F469\u200d\U0001F467 \u00bd"),
    across(kApple),
    across(kAccented),
};

// The first `n` UTF-16 units of `text`, less a character that would be cut apart: the test texts
// split only an apple or an accented letter.
QString within(const QString& text, int n) {
    QString cut = text.left(n);
    if (!cut.isEmpty() && (cut.back().isHighSurrogate() || text.mid(n, 1) == u"\u0301"))
        cut.chop(1);
    return cut;
}

} // namespace

using HostileInputTest = MainWindowTest;

TEST_F(HostileInputTest, NamesSizesUsersLabelsAndSearchesKeepEveryCharacter) {
    prepare({QStringLiteral("INSERT INTO FoodGroup VALUES (500, 'Aaa fruit', 1, 'GROUP')")});
    start();
    TreeControl* t = w().tvwFood;
    for (const QString& text : kHostile) {
        SCOPED_TRACE(text.left(40).toStdString());
        // A group named in place (60 characters).
        click(t, t->Item(QStringLiteral("G500")));
        choose("mnuEditRename");
        type(text);
        EXPECT_EQ(sql(QStringLiteral("SELECT GroupName FROM FoodGroup WHERE GroupId = 500")),
                  within(text, 60));
        EXPECT_EQ(t->Item(QStringLiteral("G500"))->Text(), within(text, 60));

        // A food with the text as its name (200 characters) and serving size.
        answer<frmFoodData>([&](frmFoodData& f) {
            f.txtFoodName->setText(text);
            f.cmbServSize->setEditText(text);
            f.cmdSave->click();
        });
        choose("mnuEditNewFoodItem");
        const TreeNode* added = t->selectedNode();
        ASSERT_TRUE(added);
        EXPECT_EQ(added->Text(), within(text, 200));
        EXPECT_EQ(sql(QStringLiteral("SELECT FoodName || '|' || ServingSize FROM FoodItem WHERE "
                                     "FoodId = ?"),
                      {qlonglong(nodeId(added->Key()))}),
                  within(text, 200) + u'|' + text);

        // Found again by its name, its pattern characters in brackets.
        QString escaped;
        for (QChar c : within(text, 200))
            escaped += QStringLiteral("*?#[").contains(c) ? u'[' + QString(c) + u']' : QString(c);
        click(t, t->Item(QStringLiteral("G1")));
        answer<frmFind>([&](frmFind& f) {
            f.txtFindName->setText(escaped);
            f.optFood->setChecked(true);
            f.FindButton->click();
        });
        choose("mnuEditFindEntry");
        EXPECT_EQ(t->selectedNode(), added);

        // A user's name (40 characters) and a nutrient label (10).
        answer<frmOptions>([&](frmOptions& f) {
            f.txtUser[0]->setText(text);
            f.txtOther1->setText(text);
            f.cmdOK->click();
        });
        choose("mnuToolsOptions");
        EXPECT_EQ(sql(QStringLiteral("SELECT group_concat(ConfigValue, '|') FROM CONFIG WHERE "
                                     "ConfigItem IN ('USER1', 'OTHER1') ORDER BY ConfigItem")),
                  within(text, 10) + u'|' + within(text, 40));
        EXPECT_EQ(w().sbPanel2->text(), QStringLiteral("User:  ") + within(text, 40));
    }
    EXPECT_TRUE(boxes.boxes().empty()) << boxes.boxes().front().prompt.toStdString();
}

TEST_F(HostileInputTest, AFullBoxRefusesAKeyAndCutsOnlyPastedOrSetTextAtAWholeCharacter) {
    start();
    answer<frmOptions>([](frmOptions& f) {
        QLineEdit* box = f.txtOther1; // 10 characters
        const auto keys = [box](std::initializer_list<Qt::Key> pressed) {
            for (Qt::Key k : pressed)
                QTest::keyClick(box, k);
            return box->text();
        };
        const auto paste = [box](const QString& text) {
            QGuiApplication::clipboard()->setText(text);
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
            return box->text();
        };
        box->setText(QStringLiteral("Vitamin C1"));
        // A key typed into the full box used to push its last character out.
        EXPECT_EQ(keys({Qt::Key_Home, Qt::Key_X, Qt::Key_End, Qt::Key_Y}),
                  QStringLiteral("Vitamin C1"));
        EXPECT_EQ(keys({Qt::Key_Backspace, Qt::Key_2, Qt::Key_3}), QStringLiteral("Vitamin C2"));
        // Of pasted text what fits goes in where it was pasted, each character whole or not at
        // all; what was there stays.
        EXPECT_EQ(keys({Qt::Key_Home, Qt::Key_Delete, Qt::Key_Delete, Qt::Key_Delete}),
                  QStringLiteral("amin C2"));
        EXPECT_EQ(paste(QStringLiteral("Ab") + kAccented), QStringLiteral("Abamin C2"));
        EXPECT_EQ(paste(kApple), QStringLiteral("Abamin C2"));
        EXPECT_EQ(box->cursorPosition(), 2);
        // Text set from code is cut at its end, never through a character.
        box->setText(QStringLiteral("Vitamin C") + kAccented);
        EXPECT_EQ(box->text(), QStringLiteral("Vitamin C"));
        box->setText(QStringLiteral("Vitamin C") + kApple);
        EXPECT_EQ(box->text(), QStringLiteral("Vitamin C"));
        f.cmdOK->click();
    });
    choose("mnuToolsOptions");
    EXPECT_EQ(sql(QStringLiteral("SELECT ConfigValue FROM CONFIG WHERE ConfigItem = 'OTHER1'")),
              QStringLiteral("Vitamin C"));
}
