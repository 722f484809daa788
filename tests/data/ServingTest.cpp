// Rescaling a food's nutrient values to another measure, and the numbers people type for it.
#include "Serving.h"
#include "DataStoreFixture.h"
#include "DefaultLocale.h"
#include "NumberText.h"

TEST_F(DataStoreTest, RescaleFoodRewritesTheFoodForTheExactWeightOfTheNewMeasure) {
    ds().cmdFoods();
    Recordset& rs = *ds().rscmdFoods;
    ASSERT_TRUE(rs.FindFirst(Criterion::equals(u"FoodId"_s, 1001)));
    const auto rescale = [&](double storedGrams) {
        rs.Edit();
        rs.setField(u"USDA_GM_WT"_s, storedGrams);
        rs.setField(u"Fat"_s, 2835.0);
        rs.setField(u"Protein"_s, 28.35);
        rs.setField(u"Sodium"_s, QVariant());
        RescaleFood(4, 0.4, u"1 dash"_s);
        rs.Update();
        EXPECT_TRUE(rs.Fields(u"Sodium"_s).isNull());
        EXPECT_EQ(rs.Fields(u"ServingSize"_s).toString(), u"1 dash"_s);
        EXPECT_EQ(rs.Fields(u"USDA_MSRE_NO"_s).toLongLong(), 4);
        EXPECT_EQ(rs.Fields(u"USDA_GM_WT"_s), 0.4);
    };
    // From an ounce of 28.35 g to a dash of 0.4 g: rounding either weight would be far off.
    rescale(28.35);
    EXPECT_DOUBLE_EQ(rs.Fields(u"Fat"_s).toDouble(), 40);
    EXPECT_DOUBLE_EQ(rs.Fields(u"Protein"_s).toDouble(), 0.4);
    // A food of the user's own (no gram weight) keeps its values.
    rescale(0);
    EXPECT_DOUBLE_EQ(rs.Fields(u"Fat"_s).toDouble(), 2835);
}

TEST(ParseNumber, TakesTheLocalesDecimalMarkAndNeverDigitsGroupedInThousands) {
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    const QLocale french(QLocale::French, QLocale::France);
    const struct {
        QLocale locale;
        QString typed;
        QString read; // empty: refused
    } cases[] = {
        // "1,000" was taken for a thousand where "1,5" was refused: a comma meant as a decimal
        // mark gave a thousand-fold entry.
        {us, u"1,000"_s, {}},          {us, u"1,5"_s, {}},
        {us, u" +1.5e1 "_s, u"15"_s},  {QLocale::c(), u"1,000"_s, {}},
        {german, u"1,5"_s, u"1.5"_s},  {german, u"1,000"_s, u"1"_s},
        {german, u"1.000"_s, {}},      {german, u"2.5"_s, {}},
        {french, u"1,5"_s, u"1.5"_s},  {french, u"2.5"_s, u"2.5"_s},
        {french, u"1\u202f000"_s, {}}, {french, u"1,5,0"_s, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.locale.name() + u' ' + c.typed).toStdString());
        DefaultLocale locale(c.locale);
        double v = 0;
        EXPECT_EQ(parseNumber(c.typed, &v) ? QString::number(v) : QString(), c.read);
    }
    // What the boxes show reads back as the same number.
    DefaultLocale locale(german);
    EXPECT_EQ(decimalText(184.12, 3), u"184,120"_s);
    double back = 0;
    EXPECT_TRUE(parseNumber(servingsText(0.1), &back));
    EXPECT_EQ(back, 0.1);
}
