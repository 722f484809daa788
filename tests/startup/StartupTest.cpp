// Starting the program: finding the file, opening it exclusively, and what the user sees when
// either fails.
#include "Module1.h"
#include "Module1App.h"
#include "MsgBoxRecorder.h"
#include "TestDatabase.h"
#include "clsFWSDataSource.h"
#include "frmMain.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kConnectionMessage =
    QStringLiteral("Unable to open the Forkwise Database.  Make sure you don't have another "
                   "instance of Forkwise open.  ");

QByteArray digest(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// The sqlite3 shell as a second process: runs one statement and says whether it could.
bool otherProcessCanRead(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("sqlite3"), {path, QStringLiteral("SELECT count(*) FROM CONFIG;")});
    p.waitForFinished(10000);
    return p.exitCode() == 0 && p.readAllStandardOutput().trimmed() == "6";
}

void closeProgram() {
    if (gMainForm)
        gMainForm->close();
    QApplication::processEvents();
    gDataSource.reset();
}

} // namespace

TEST(Startup, OpensTheFileExclusivelyForTheWholeRunAndReleasesItOnClose) {
    TestDatabase db;
    MsgBoxRecorder boxes;
    ASSERT_TRUE(otherProcessCanRead(db.path()));
    ASSERT_TRUE(StartProgram(db.programDir()));
    EXPECT_TRUE(boxes.boxes().empty());
    ASSERT_TRUE(gMainForm);
    EXPECT_TRUE(gMainForm->isVisible());
    EXPECT_EQ(gMainForm->windowTitle(), QStringLiteral("Forkwise 1.0"));
    EXPECT_EQ(gDBPath, QDir::toNativeSeparators(db.path()));
    EXPECT_EQ(gCurrentUser, QStringLiteral("USER1"));

    EXPECT_FALSE(otherProcessCanRead(db.path()));

    closeProgram();
    EXPECT_TRUE(otherProcessCanRead(db.path()));
}

TEST(Startup, ASecondCopyGetsTheConnectionMessageAndNoWindow) {
    TestDatabase db;
    MsgBoxRecorder boxes;
    // Another process holds the file open exclusively and waits.
    QProcess holder;
    holder.start(QStringLiteral("sqlite3"), {db.path()});
    ASSERT_TRUE(holder.waitForStarted());
    holder.write("PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; COMMIT; SELECT 'ready';\n");
    ASSERT_TRUE(holder.waitForReadyRead(10000));
    const QByteArray before = digest(db.path());

    EXPECT_FALSE(StartProgram(db.programDir()));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].prompt, kConnectionMessage + gSupportMsg);
    EXPECT_EQ(boxes.boxes()[0].title, QStringLiteral("Application Error"));
    EXPECT_EQ(boxes.boxes()[0].buttons, vbCritical | vbOKOnly);
    EXPECT_FALSE(gMainForm);
    holder.closeWriteChannel();
    holder.waitForFinished();
    EXPECT_EQ(digest(db.path()), before);
}

TEST(Startup, AMissingFileNamesItsFullPathAndAMissingFolderIsAConnectionFailure) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Data")));
    MsgBoxRecorder boxes;
    EXPECT_FALSE(StartProgram(dir.path()));
    const QString path =
        QDir::toNativeSeparators(dir.path() + QStringLiteral("/Data/ForkData.mdb"));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].title, QStringLiteral("Critical Application Error"));
    EXPECT_EQ(boxes.boxes()[0].prompt,
              QStringLiteral("Unable to locate database file '") + path +
                  QStringLiteral("'.\n\n  Check your installation folder.  If the file is missing, "
                                 "you may attempt to reinstall the application. \n\n") +
                  gSupportMsg);
    EXPECT_FALSE(QFile::exists(path)); // opening never creates the file
    EXPECT_FALSE(gMainForm);

    ASSERT_TRUE(QDir(dir.path()).rmdir(QStringLiteral("Data")));
    boxes.clear();
    EXPECT_FALSE(StartProgram(dir.path()));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].prompt, kConnectionMessage + gSupportMsg);
    EXPECT_FALSE(QDir(dir.path()).exists(QStringLiteral("Data")));
}

TEST(Startup, ADamagedOrForeignFileGetsTheConnectionMessageAndIsNeverChanged) {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("Data"));
    const QString path = dir.path() + QStringLiteral("/Data/ForkData.mdb");
    const QList<QByteArray> contents = {
        QByteArray(), QByteArray("This is a shopping list, not a diet log.\n").repeated(200),
        QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\x7f')};
    for (const QByteArray& content : contents) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        f.close();
        MsgBoxRecorder boxes;
        EXPECT_FALSE(StartProgram(dir.path()));
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_EQ(boxes.boxes()[0].prompt, kConnectionMessage + gSupportMsg);
        QFile back(path);
        back.open(QIODevice::ReadOnly);
        EXPECT_EQ(back.readAll(), content);
        EXPECT_EQ(QDir(dir.path() + QStringLiteral("/Data")).entryList(QDir::Files).size(), 1);
    }

    // An SQLite file of another program: a database, but not ours.
    QFile::remove(path);
    QProcess::execute(QStringLiteral("sqlite3"), {path, QStringLiteral("CREATE TABLE t(x);")});
    const QByteArray before = digest(path);
    MsgBoxRecorder boxes;
    EXPECT_FALSE(StartProgram(dir.path()));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].prompt, kConnectionMessage + gSupportMsg);
    EXPECT_EQ(digest(path), before);
}
