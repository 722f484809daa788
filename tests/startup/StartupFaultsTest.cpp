// Start-up faults the user can put right: a file of a newer version, a read-only file or folder,
// and a file damaged by a crash. Each is told with the file's path and what to do, and the file
// is left byte for byte as it was unless the user has a good backup copy restored.
#include "Module1.h"
#include "Module1App.h"
#include "MsgBoxRecorder.h"
#include "SchemaVersion.h"
#include "Seams.h"
#include "SqlProbe.h"
#include "TestDatabase.h"
#include "TreeControl.h"
#include "clsFWSDataSource.h"
#include "frmMain.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray hashOf(const QString& path) {
    return QCryptographicHash::hash(fileBytes(path), QCryptographicHash::Sha256);
}

QString shownPath(const TestDatabase& db) {
    return QDir::toNativeSeparators(QDir(db.programDir()).absoluteFilePath(u"Data/ForkData.mdb"_s));
}

// Start-up in a child process; as root it runs as nobody, whose writes file modes do stop. The
// program is run from beside `programDir`, where nobody reaches it wherever the build is.
// Returns the prompts it showed, one a line.
QString startInChild(const QString& programDir, bool* started) {
    QString program = programDir + u"/probe"_s;
    if (!QFileInfo::exists(program)) {
        EXPECT_TRUE(QFile::copy(QStringLiteral(STARTUP_PROBE), program));
    }
    QStringList args = {programDir};
    if (::geteuid() == 0) {
        args.prepend(program);
        args = QStringList{u"--reuid=nobody"_s, u"--regid=nogroup"_s, u"--clear-groups"_s} + args;
        program = u"setpriv"_s;
    }
    QProcess child;
    child.start(program, args);
    EXPECT_TRUE(child.waitForFinished(60000)) << qPrintable(child.errorString());
    *started = child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
    EXPECT_TRUE(child.exitCode() <= 1) << child.readAllStandardError().constData();
    return QString::fromUtf8(child.readAllStandardOutput()).trimmed();
}

} // namespace

TEST(StartupFaults, ANewerOrReadOnlyFileIsRefusedSayingWhatToDoAndLeftByteIdentical) {
    TestDatabase db;
    const QString dataDir = db.programDir() + u"/Data"_s;
    const auto mode = [](const QString& path, mode_t bits) {
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), bits), 0) << qPrintable(path);
    };
    mode(db.programDir(), 0711); // passed through, not read
    const QString readOnly = u"The diet log "_s + shownPath(db) +
                             u" is read-only, so Forkwise cannot save to it. Make the file and "
                             "its folder writable, then start Forkwise again."_s;
    const QString newer = u"The diet log "_s + shownPath(db) +
                          u" was written by a newer version of Forkwise. Install that version to "
                          "open it; this file has been left unchanged."_s;
    // Folder and file modes, the file's version, and what start-up says ("" when it starts).
    const struct {
        mode_t folder, file;
        int version;
        QString says;
    } cases[] = {{0777, 0644, kSchemaVersion + 1, newer},
                 {0777, 0444, kSchemaVersion, readOnly},
                 {0555, 0666, kSchemaVersion, readOnly}, // no room for the journal
                 {0777, 0666, kSchemaVersion, QString()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(qPrintable(c.says));
        mode(dataDir, 0777);
        queryValue(db.path(), u"PRAGMA user_version = %1"_s.arg(c.version));
        mode(dataDir, c.folder);
        mode(db.path(), c.file);
        const QByteArray before = hashOf(db.path());
        bool started = false;
        EXPECT_EQ(startInChild(db.programDir(), &started), c.says);
        EXPECT_EQ(started, c.says.isEmpty());
        EXPECT_EQ(hashOf(db.path()), before);
        EXPECT_EQ(QDir(dataDir).entryList(QDir::Files), QStringList{u"ForkData.mdb"_s});
    }
}

TEST(StartupFaults, AfterACrashADamagedFileIsReplacedByTheNewestGoodCopyOnlyOnYes) {
    TestDatabase db;
    const QString backups = db.programDir() + u"/Data/Backups/"_s;
    const QString journal = db.path() + u"-journal"_s;
    queryValue(db.path(), u"INSERT INTO DietActivity (DietId, UserName, DietDate, FoodName, "
                          "NumServings, Fat) VALUES (1, 'USER1', '2026-01-01', 'Kept', 1, 2)"_s);
    matchDietDays(db.path());
    const QByteArray good = fileBytes(db.path());
    ASSERT_TRUE(writeFile(db.path(), good.left(good.size() / 2))); // cut off half way
    const QByteArray before = hashOf(db.path());
    // The newest copy is damaged too, so the one before it is offered.
    ASSERT_TRUE(writeFile(backups + u"ForkData 2026-01-02 120000.mdb"_s, fileBytes(db.path())));
    ASSERT_TRUE(writeFile(journal, QByteArray(512, '\0'))); // what a crash leaves beside the file

    const QString damaged = u"Forkwise was not closed properly, and the diet log "_s +
                            shownPath(db) + u" is damaged ("_s;
    MsgBoxRecorder boxes;
    // One start answered with `answer`: one box that names the damage and ends with `ending`.
    const auto startOnce = [&](int answer, const QString& ending) {
        boxes.clear();
        boxes.answer(answer);
        const bool started = startProgram(db.programDir());
        const QString said = boxes.boxes().empty() ? QString() : boxes.boxes()[0].prompt;
        EXPECT_EQ(boxes.boxes().size(), 1u) << qPrintable(said);
        EXPECT_TRUE(said.startsWith(damaged) && said.endsWith(ending)) << qPrintable(said);
        return started;
    };
    // No good copy: told so, and the program ends.
    EXPECT_FALSE(startOnce(vbOK, u"\n\nThere is no good backup copy of it, so Forkwise will "
                                 "close; the file has been left unchanged."_s));
    EXPECT_EQ(hashOf(db.path()), before);

    ASSERT_TRUE(writeFile(backups + u"ForkData 2026-01-01 120000.mdb"_s, good));
    // A good copy named while the clock was set ahead is never offered first.
    ASSERT_TRUE(writeFile(backups + u"ForkData 2099-01-01 120000.mdb"_s, good));
    const auto offer = [](const QDateTime& taken) {
        return u"\n\nRestore the newest good backup copy, taken %1? The damaged file is kept "
               "beside the backup copies. No leaves the file as it is and closes Forkwise."_s.arg(
                   QLocale().toString(taken, QLocale::ShortFormat));
    };
    QDateTime newest(QDate(2026, 1, 1), QTime(12, 0));
    EXPECT_FALSE(startOnce(vbNo, offer(newest)));
    EXPECT_EQ(boxes.boxes()[0].buttons, vbYesNo | vbCritical);
    EXPECT_FALSE(gMainForm);
    EXPECT_EQ(hashOf(db.path()), before);

    // Yes, for a file cut off (its schema unreadable) and one whose index is broken (found by
    // the check): the damaged file is kept, the copy written into it, and the program starts.
    const QString goodCopy = backups + u"ForkData 2026-01-01 120000.mdb"_s;
    QByteArray brokenIndex = good;
    brokenIndex[(queryValue(goodCopy, u"SELECT rootpage FROM sqlite_master WHERE name = "
                                      "'DietActivity_UserDate'"_s)
                     .toLongLong() -
                 1) *
                queryValue(goodCopy, u"PRAGMA page_size"_s).toLongLong()] = 0x7f;
    int second = 0;
    for (const QByteArray& bytes : {fileBytes(db.path()), brokenIndex}) {
        ASSERT_TRUE(writeFile(db.path(), bytes));
        ASSERT_TRUE(writeFile(journal, QByteArray(512, '\0')));
        Clock::setFixed(QDateTime(QDate(2026, 2, 3), QTime(4, 5, ++second)));
        ASSERT_TRUE(startOnce(vbYes, offer(newest)));
        EXPECT_EQ(fileBytes(backups + u"ForkData damaged 2026-02-03 04050%1.mdb"_s.arg(second)),
                  bytes);
        ASSERT_TRUE(gMainForm);
        EXPECT_TRUE(gMainForm->tvwDiet->Item(u"DT20260101"_s));
        gMainForm->close();
        QApplication::processEvents();
        gDataSource.reset();
        EXPECT_EQ(queryValue(db.path(), u"PRAGMA integrity_check"_s), u"ok"_s);
        newest = Clock::now(); // the copy taken on the way out, when the log differed from all
        Clock::setFixed({});
    }

    // A crash that left the file sound costs only the check: no question.
    ASSERT_TRUE(writeFile(journal, QByteArray(512, '\0')));
    boxes.clear();
    ASSERT_TRUE(startProgram(db.programDir()));
    EXPECT_TRUE(boxes.boxes().empty());
    gMainForm->close();
    QApplication::processEvents();
    gDataSource.reset();
}
