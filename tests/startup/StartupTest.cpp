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
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

// Start-up ends with one critical message, no window, and the Data folder as it was.
void expectRefused(const QString& programDir, const QString& prompt,
                   const QString& title = u"Application Error"_s) {
    const QDir data(programDir + u"/Data"_s);
    const QStringList files = data.entryList(QDir::Files);
    const QByteArray before = fileBytes(data.filePath(u"ForkData.mdb"_s));
    MsgBoxRecorder boxes;
    EXPECT_FALSE(StartProgram(programDir));
    EXPECT_FALSE(gMainForm);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    const RecordedBox& box = boxes.boxes()[0];
    EXPECT_EQ(box.title + u'|' + box.prompt, title + u'|' + prompt + gSupportMsg);
    EXPECT_EQ(box.buttons, vbCritical | vbOKOnly);
    EXPECT_EQ(data.entryList(QDir::Files), files);
    EXPECT_EQ(fileBytes(data.filePath(u"ForkData.mdb"_s)), before);
}

} // namespace

TEST(Startup, TheFileIsHeldForTheWholeRunAndAFileTakenMissingDamagedOrForeignIsNeverChanged) {
    TestDatabase db;
    {
        MsgBoxRecorder boxes;
        ASSERT_TRUE(otherProcessCanRead(db.path()));
        ASSERT_TRUE(StartProgram(db.programDir()));
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
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"Data"_s));
    const QString path = dir.filePath(u"Data/ForkData.mdb"_s);
    expectRefused(dir.path(),
                  u"Unable to locate database file '"_s + QDir::toNativeSeparators(path) +
                      u"'.\n\n  Check your installation folder.  If the file is missing, you may "
                      "attempt to reinstall the application. \n\n"_s,
                  u"Critical Application Error"_s);

    const QString foreign = dir.filePath(u"other.db"_s);
    QProcess::execute(u"sqlite3"_s, {foreign, u"CREATE TABLE t(x);"_s});
    for (const QByteArray& bytes :
         {QByteArray(), QByteArray("This is a shopping list, not a diet log.\n").repeated(200),
          QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\x7f'), fileBytes(foreign)}) {
        ASSERT_TRUE(writeFile(path, bytes));
        expectRefused(dir.path(), kConnectionMessage);
    }
}
