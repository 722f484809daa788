#pragma once
// The one object through which the program reaches the database: the connection, one result
// set per query, and the commands that fill them. A command that fails shows its message and
// throws CommandFailed, which closes the main window where the command entered; after that every
// command throws at once, without a second message.
#include "CommandFailed.h"
#include "Database.h"
#include "Recordset.h"

#include <QDate>
#include <memory>

// The first words of each failure message; showAppError adds the support sentence.
inline const QString kFoodPhrase = QStringLiteral("Unable to retrieve Food Data.  ");
inline const QString kDietPhrase = QStringLiteral("Unable to retrieve Diet Data.  ");
inline const QString kFoodUpdatePhrase = QStringLiteral("Unable to update Food Data.  ");
inline const QString kFoodFieldsPhrase = QStringLiteral("Unable to update the Food Data.  ");
inline const QString kFoodDeletePhrase = QStringLiteral("Unable to Delete Food Data.  ");
inline const QString kGroupUpdatePhrase = QStringLiteral("Unable to update Food Group Data.  ");
inline const QString kGroupDeletePhrase =
    QStringLiteral("Unable to delete the selected food group.  ");
inline const QString kDietUpdatePhrase = QStringLiteral("Unable to update Diet Data.  ");
inline const QString kDietDeletePhrase = QStringLiteral("Unable to Delete Diet Data.  ");
inline const QString kEntryUpdatePhrase = QStringLiteral("Unable to update the selected item.  ");
inline const QString kConfigUpdatePhrase =
    QStringLiteral("Unable to update the Configuration Data.  ");

class clsFWSDataSource {
public:
    clsFWSDataSource() = default;
    ~clsFWSDataSource();

    std::unique_ptr<Recordset> rscmdGroups;
    std::unique_ptr<Recordset> rscmdFoods;
    std::unique_ptr<Recordset> rscmdConfig;
    std::unique_ptr<Recordset> rscmdTableKey;
    std::unique_ptr<Recordset> rscmdDietData;
    std::unique_ptr<Recordset> rscmdMeasures;
    std::unique_ptr<Recordset> rscmdDietDates;
    std::unique_ptr<Recordset> rscmdDietItems;
    std::unique_ptr<Recordset> rscmdDietReport;
    std::unique_ptr<Recordset> rscmdFoodItems;
    std::unique_ptr<Recordset> rscmdDietTotal;
    std::unique_ptr<Recordset> rscmdAvailGroups;
    Database appDB;
    Workspace connDB{appDB};

    // Opens gDBPath exclusively; on failure shows why and returns false: a file that cannot be
    // written to, was written by a newer version or holds a trigger or view gets a message of its
    // own, any other failure the connection message followed by what was found. After an unclean
    // shutdown (a journal left beside the file) the
    // file is checked, and a damaged one replaced by the newest good backup copy if the user
    // agrees; otherwise it is left alone and false returned.
    bool connectDB();
    void closeDB();
    // Closes every result set (a restore replaces what they were read from), and opens again
    // those the main window keeps: groups, foods, table keys and configuration.
    void closeResultSets();
    void reopenResultSets();
    // True once the database is closed, at the end of the run.
    bool closed() const { return !appDB.isOpen(); }

    void cmdGroups();
    void cmdFoods();
    void cmdTableKey();
    void cmdConfig();
    void cmdDietData(const QString& pUserName);
    void cmdDeleteFoods(long pGroupId);
    void cmdMeasures(long pNDB_No);
    void cmdDietDates(const QString& pUserName);
    void cmdDietItems(const QDate& pDietDate, const QString& pUserName);
    void cmdDietReport(const QDate& pLoDate, const QDate& pHiDate, const QString& pUserName);
    void cmdFoodItems(long pGroupId);
    void cmdDietTotal(const QDate& pDietDate, const QString& pUserName);
    void cmdAvailGroups();
    void cmdDeleteDietItems(const QDate& pDietDateLo, const QDate& pDietDateHi,
                            const QString& pUserName);
    // The entries cmdDeleteDietItems would delete, or -1 after a failure.
    qint64 cmdCountDietItems(const QDate& pDietDateLo, const QDate& pDietDateHi,
                             const QString& pUserName);

    // A new key for the named counter.
    long getTableKey(const QString& KeyName);

    // Shows the failure's message (only the run's first) and throws CommandFailed: how every
    // command, and a search through their result sets, reports that the run must end.
    [[noreturn]] void reportFailure(const QString& phrase);

private:
    // The critical box of a refused start: `text`, or the connection message with one line of
    // what was found after it. Both return false.
    static bool refuse(const QString& text);
    static bool refuseConnection(const QString& finding);
    // After an unclean shutdown: checks the file (unless `problem` already says what is wrong
    // with it) and offers the newest good backup copy for a damaged one.
    bool recoverAfterCrash(QString problem);
    template <typename Open>
    void run(std::unique_ptr<Recordset>& member, const QString& phrase, Open open);
    // DietDay after an entry's (UserName, DietDate) went from `before` to `after` (either empty
    // for an entry added or deleted): it holds a day while the day has an entry.
    void keepDietDays(const QVariantList& before, const QVariantList& after);
    // Runs the statements, each with `params`, as one change.
    void execute(const QStringList& statements, const QVariantList& params, const QString& phrase);
    // Throws CommandFailed, silently, once a command has failed: the run is ending.
    void refuseAfterFailure() const;
    bool failed_ = false;
};
