#pragma once
// The status bar's panel of today's calories, "Today: 1,450 of 2,000 kcal", shown only while the
// current user has a daily target. Changes to the diet log ask for it to be brought up to date;
// however many a command makes, the log is read once, after the command.
#include "DailyTargets.h"

#include <QDate>
#include <QObject>
#include <QString>

class QLabel;

class TodayCalories : public QObject {
    Q_OBJECT
public:
    explicit TodayCalories(QLabel* panel);

    // Reads today's calories of the current user now (with that user's targets, read once per
    // user) and shows or hides the panel.
    void refresh();
    // Asks for a refresh once the event being handled is done.
    void refreshLater();
    // The targets are read again at the next refresh (they were saved or restored).
    void forgetTargets() { targetsOf_.clear(); }
    // After midnight: the new day's calories.
    void dayPassed();

private:
    QLabel* panel_;
    QString targetsOf_; // the user whose targets are held
    DailyTargets targets_;
    QDate shownFor_;
    bool pending_ = false;
};
