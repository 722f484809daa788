#include "TodayCalories.h"

#include "CommandBoundary.h"
#include "Module1.h"
#include "Seams.h"
#include "clsFWSDataSource.h"

#include <QLabel>
#include <QLocale>
#include <cmath>

namespace {
QString kcal(double v) {
    // The C locale's grouping, whatever the user's language.
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::DefaultNumberOptions);
    return c.toString(qlonglong(std::llround(v)));
}

// "Today: 1,450 of 2,000 kcal", or without a target "Today: 1,450 kcal": whole kilocalories,
// halves away from zero.
QString todayText(double calories, std::optional<double> target) {
    return QStringLiteral("Today: ") + kcal(calories) +
           (target ? QStringLiteral(" of ") + kcal(*target) : QString()) + QStringLiteral(" kcal");
}
} // namespace

TodayCalories::TodayCalories(QLabel* panel) : QObject(panel), panel_(panel) {
    panel_->hide();
}

void TodayCalories::refresh() {
    pending_ = false;
    if (!gDataSource || gDataSource->closed())
        return;
    if (targetsOf_ != gCurrentUser) {
        targets_ = DailyTargets::load(gCurrentUser);
        targetsOf_ = gCurrentUser;
    }
    if (!targets_.any()) {
        // Nothing of this appears for a user who has set no target.
        panel_->hide();
        shownFor_ = QDate();
        return;
    }
    shownFor_ = Clock::today();
    gDataSource->cmdDietTotal(shownFor_, gCurrentUser);
    Recordset& sums = *gDataSource->rscmdDietTotal;
    const double calories =
        sums.hasCurrentRow() ? sums.Fields(QStringLiteral("tCalorie")).toDouble() : 0.0;
    sums.Close();
    panel_->setText(todayText(calories, targets_.value(QStringLiteral("Calorie"))));
    panel_->show();
}

void TodayCalories::refreshLater() {
    if (pending_)
        return;
    pending_ = true;
    QMetaObject::invokeMethod(
        this, [this] { guarded([this] { refresh(); }); }, Qt::QueuedConnection);
}

void TodayCalories::dayPassed() {
    if (shownFor_.isValid() && shownFor_ != Clock::today())
        refresh();
}
