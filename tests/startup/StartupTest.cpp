// Starting the program: finding the file, opening it exclusively, and what the user sees when
// either fails.
#include "Module1.h"
#include "Module1App.h"
#include "MsgBoxRecorder.h"
#include "SqlProbe.h"
#include "TestDatabase.h"
#include "clsFWSDataSource.h"
#include "frmMain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

const QString kConnectionMessage = u"Unable to open the Forkwise Database.  Make sure you don't "
                                   "have another instance of Forkwise open.  "_s;

// The sqlite3 shell as a second process: whether it can read the file.
bool otherProcessCanRead(const QString& path) {
    QProcess p;
    p.start(u"sqlite3"_s, {path, u"SELECT count(*) FROM CONFIG;"_s});
    p.waitForFinished(10000);
    return p.exitCode() == 0 && p.readAllStandardOutput().trimmed() == "6";
}

// Start-up ends with one critical message, no window, and the Data folder as it was. The
// connection message is followed by `finding` when there is one.
void expectRefused(const QString& programDir, const QString& prompt,
                   const QString& title = u"Application Error"_s, const QString& finding = {}) {
    const QDir data(programDir + u"/Data"_s);
    const QStringList files = data.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    const QByteArray before = fileBytes(data.filePath(u"ForkData.mdb"_s));
    MsgBoxRecorder boxes;
    EXPECT_FALSE(startProgram(programDir));
    EXPECT_FALSE(gMainForm);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    const RecordedBox& box = boxes.boxes()[0];
    EXPECT_EQ(box.title + u'|' + box.prompt,
              title + u'|' + prompt + gSupportMsg +
                  (finding.isEmpty() ? QString() : u"\n\n"_s + finding));
    EXPECT_EQ(box.buttons, vbCritical | vbOKOnly);
    EXPECT_EQ(data.entryList(QDir::AllEntries | QDir::NoDotAndDotDot), files);
    EXPECT_EQ(fileBytes(data.filePath(u"ForkData.mdb"_s)), before);
}

} // namespace

TEST(Startup, TheFileIsHeldForTheWholeRunAndAFileTakenMissingDamagedOrForeignIsNeverChanged) {
    TestDatabase db;
    {
        MsgBoxRecorder boxes;
        ASSERT_TRUE(otherProcessCanRead(db.path()));
        ASSERT_TRUE(startProgram(db.programDir()));
        EXPECT_TRUE(boxes.boxes().empty());
        ASSERT_TRUE(gMainForm && gMainForm->isVisible());
        EXPECT_FALSE(otherProcessCanRead(db.path()));
        gMainForm->close();
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        gDataSource.reset();
        EXPECT_TRUE(otherProcessCanRead(db.path()));
    }

    QProcess holder; // another program holding the file exclusively
    holder.start(u"sqlite3"_s, {db.path()});
    holder.write("PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; COMMIT; SELECT 'ready';\n");
    ASSERT_TRUE(holder.waitForReadyRead(10000));
    expectRefused(db.programDir(), kConnectionMessage);
    holder.closeWriteChannel();
    holder.waitForFinished();

    QTemporaryDir dir;
    const QString data = dir.filePath(u"Data"_s);
    const QString path = data + u"/ForkData.mdb"_s;
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"Data"_s));
    expectRefused(dir.path(),
                  u"Unable to locate database file '"_s + QDir::toNativeSeparators(path) +
                      u"'.\n\n  Check your installation folder.  If the file is missing, you may "
                      "attempt to reinstall the application. \n\n"_s,
                  u"Critical Application Error"_s);

    // Whatever else stands in the file's place is named after the connection message, and
    // nothing is created or changed: not the Data folder, not the file.
    const QString foreign = dir.filePath(u"other.db"_s);
    QProcess::execute(u"sqlite3"_s, {foreign, u"CREATE TABLE t(x);"_s});
    const QByteArray log = fileBytes(db.path());
    const QString shown = QDir::toNativeSeparators(path);
    const struct {
        QString finding;
        std::function<bool()> put; // what stands at the path, in an empty program folder
        // Without a Data folder the program takes the user's own log instead; should the folder
        // go or turn into a file after that choice, only the connection finds it.
        bool connectionOnly = false;
    } causes[] = {
        {u"The folder "_s + QDir::toNativeSeparators(data) + u" does not exist."_s,
         [] { return true; }, true},
        {QDir::toNativeSeparators(data) + u" is a file, not a folder."_s,
         [&] { return writeFile(data, "a note"); }, true},
        {shown + u" is a folder, not a Forkwise diet log."_s, [&] { return QDir().mkpath(path); }},
        {shown + u" is empty."_s, [&] { return writeFile(path, {}); }},
        {shown + u" is not a Forkwise diet log."_s,
         [&] {
             return writeFile(
                 path, QByteArray("This is a shopping list, not a diet log.\n").repeated(200));
         }},
        {shown + u" is damaged: its header cannot be read."_s,
         [&] {
             return writeFile(path, QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\x7f'));
         }},
        {shown + u" is not a Forkwise diet log: it lacks the program's tables."_s,
         [&] { return writeFile(path, fileBytes(foreign)); }},
        {shown + u" is damaged: it is shorter than its header says."_s,
         [&] { return writeFile(path, log.left(log.size() / 2)); }},
    };
    for (const auto& cause : causes) {
        SCOPED_TRACE(qPrintable(cause.finding));
        ASSERT_TRUE(QFileInfo(data).isDir() ? QDir(data).removeRecursively()
                                            : !QFileInfo::exists(data) || QFile::remove(data));
        ASSERT_TRUE(cause.put());
        const QStringList program = QDir(dir.path()).entryList();
        if (cause.connectionOnly) {
            MsgBoxRecorder boxes;
            gDBPath = path;
            EXPECT_FALSE(clsFWSDataSource().connectDB());
            ASSERT_EQ(boxes.boxes().size(), 1u);
            EXPECT_EQ(boxes.boxes()[0].prompt,
                      kConnectionMessage + gSupportMsg + u"\n\n"_s + cause.finding);
        } else {
            expectRefused(dir.path(), kConnectionMessage, u"Application Error"_s, cause.finding);
        }
        EXPECT_EQ(QDir(dir.path()).entryList(), program);
    }
}

TEST(Startup, ALogHoldingATriggerOrViewIsRefusedNamingItAndLeftUnchanged) {
    TestDatabase db;
    const QString backups = QDir::toNativeSeparators(db.programDir() + u"/Data/Backups"_s);
    for (const auto& [sql, what] :
         {std::pair{u"CREATE TRIGGER Wipe AFTER INSERT ON DietActivity BEGIN DELETE FROM "
                    "DietActivity WHERE DietId <> new.DietId; END"_s,
                    u"trigger \"Wipe\""_s},
          std::pair{u"CREATE VIEW Totals AS SELECT count(*) FROM DietActivity"_s,
                    u"view \"Totals\""_s}}) {
        queryValue(db.path(), sql);
        MsgBoxRecorder boxes;
        const QByteArray before = fileBytes(db.path());
        EXPECT_FALSE(startProgram(db.programDir()));
        EXPECT_FALSE(gMainForm);
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_EQ(boxes.boxes()[0].prompt,
                  u"The diet log "_s + QDir::toNativeSeparators(db.path()) + u" holds the "_s +
                      what +
                      u", which Forkwise never makes and which could change or hide entries "
                      "without a word. Put a good backup copy from "_s +
                      backups + u" in its place to open it; this file has been left unchanged."_s);
        EXPECT_EQ(boxes.boxes()[0].buttons, vbCritical | vbOKOnly);
        EXPECT_EQ(fileBytes(db.path()), before);
        queryValue(db.path(),
                   u"DROP "_s + what.section(u' ', 0, 0) + u" "_s + what.section(u'"', 1, 1));
    }
}
