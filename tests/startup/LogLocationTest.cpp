// Which diet log a run opens: the one in Data/ beside a portable program, or, for an installed
// program, the person's own in their data folder, copied from the delivered database on the first
// start and never again.
#include "LogLocation.h"
#include "../dietlog/FailingVfs.h"
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

using namespace Qt::StringLiterals;

namespace {

// An installed program's folders in a temporary root: <root>/usr/bin holds the program and no
// Data folder, <root>/usr/share/forkwise the delivered database, and the person's data folder
// (XDG_DATA_HOME) is <root>/home/.local/share.
class Installed {
public:
    Installed() {
        EXPECT_TRUE(QDir().mkpath(programDir()));
        EXPECT_TRUE(QDir().mkpath(QFileInfo(delivered()).path()));
        EXPECT_TRUE(QFile::copy(source_.path(), delivered()));
        oldDataHome_ = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", dataHome().toUtf8());
    }
    ~Installed() { qputenv("XDG_DATA_HOME", oldDataHome_); }

    QString programDir() const { return root_.filePath(u"usr/bin"_s); }
    QString delivered() const { return root_.filePath(u"usr/share/forkwise/ForkData.mdb"_s); }
    QString dataHome() const { return root_.filePath(u"home/.local/share"_s); }
    QString log() const { return dataHome() + u"/Forkwise/Data/ForkData.mdb"_s; }

private:
    QTemporaryDir root_;
    TestDatabase source_;
    QByteArray oldDataHome_;
};

// What is in the person's data folder, every file and folder below it.
QStringList dataFolder(const Installed& installed) {
    QStringList found;
    const QDir home(installed.dataHome());
    for (const QFileInfo& f :
         QDir(home.filePath(u"Forkwise"_s)).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot))
        found << home.relativeFilePath(f.filePath());
    const QDir data(installed.dataHome() + u"/Forkwise/Data"_s);
    for (const QString& f : data.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
        found << u"Forkwise/Data/"_s + f;
    return found;
}

const QString kCritical = u"Critical Application Error"_s;

QString missingText(const QString& path) {
    return u"Unable to locate database file '"_s + path +
           u"'.\n\n  Check your installation folder.  If the file is missing, you may attempt to "
           "reinstall the application. \n\n"_s +
           supportSentence();
}

void closeProgram() {
    gMainForm->close();
    QApplication::processEvents();
    gDataSource.reset();
}

} // namespace

TEST(LogLocation, APortableProgramUsesDataBesideItAndAnInstalledOneCopiesItsLogOnceForThePerson) {
    Installed installed;
    TestDatabase portable;
    const DietLogPlace beside = prepareDietLog(portable.programDir());
    EXPECT_EQ(beside.status, DietLogPlace::Ready);
    EXPECT_EQ(beside.path, portable.path());
    EXPECT_FALSE(QFileInfo::exists(installed.dataHome()));

    // The first start copies the delivered database and opens the copy.
    const QByteArray delivered = fileBytes(installed.delivered());
    MsgBoxRecorder boxes;
    ASSERT_TRUE(startProgram(installed.programDir()));
    EXPECT_EQ(gDBPath, installed.log());
    EXPECT_EQ(QFileInfo(installed.log()).dir().entryList(QDir::Files),
              QStringList{u"ForkData.mdb"_s});
    closeProgram();
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(queryValue(installed.log(), u"PRAGMA integrity_check"_s), u"ok"_s);
    EXPECT_EQ(queryValue(installed.log(), u"SELECT count(*) FROM FoodItem"_s),
              queryValue(installed.delivered(), u"SELECT count(*) FROM FoodItem"_s));
    EXPECT_EQ(fileBytes(installed.delivered()), delivered);

    // Later starts open the person's log as it is, and never copy over it.
    queryValue(installed.log(), u"INSERT INTO DietActivity (DietId, UserName, DietDate, FoodName, "
                                "NumServings) VALUES (7, 'USER1', '2026-01-01', 'Kept', 1)"_s);
    const DietLogPlace later = prepareDietLog(installed.programDir());
    EXPECT_EQ(later.status, DietLogPlace::Ready);
    EXPECT_EQ(later.path, installed.log());
    EXPECT_EQ(queryValue(installed.log(), u"SELECT FoodName FROM DietActivity"_s), u"Kept"_s);
    // A log gone from its folder is missing, as it would be beside the program.
    ASSERT_TRUE(QFile::remove(installed.log()));
    EXPECT_FALSE(startProgram(installed.programDir()));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].prompt, missingText(installed.log()));
    EXPECT_EQ(boxes.boxes()[0].title, kCritical);
    EXPECT_FALSE(QFileInfo::exists(installed.log()));
}

TEST(LogLocation, AFirstCopyThatCannotBeMadeLeavesNothingBehindAndSaysWhy) {
    Installed installed;
    MsgBoxRecorder boxes;
    // A delivered database missing or damaged is named as a missing log is; nothing is made.
    const QByteArray delivered = fileBytes(installed.delivered());
    for (const QByteArray& bytes : {QByteArray(), delivered.left(delivered.size() / 2)}) {
        QFile::remove(installed.delivered());
        if (!bytes.isNull()) {
            ASSERT_TRUE(writeFile(installed.delivered(), bytes));
        }
        boxes.clear();
        EXPECT_FALSE(startProgram(installed.programDir()));
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_EQ(boxes.boxes()[0].prompt, missingText(installed.delivered()));
        EXPECT_EQ(boxes.boxes()[0].title, kCritical);
        EXPECT_EQ(boxes.boxes()[0].buttons, vbCritical | vbOKOnly);
        EXPECT_FALSE(QFileInfo::exists(installed.dataHome() + u"/Forkwise"_s));
    }
    ASSERT_TRUE(writeFile(installed.delivered(), delivered));

    // The disk fills up during the copy, and again after what a start cut short left behind.
    FailingVfs::install();
    FailingVfs::failWrites(true);
    const QString partial = installed.log() + u".partial"_s;
    for (const bool leftBehind : {false, true}) {
        if (leftBehind) {
            ASSERT_TRUE(writeFile(partial, delivered.left(4096)));
        }
        boxes.clear();
        EXPECT_FALSE(startProgram(installed.programDir()));
        EXPECT_FALSE(gMainForm);
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_EQ(boxes.boxes()[0].prompt,
                  u"Forkwise could not create your diet log "_s + installed.log() +
                      u": the disk is full. Free some space (or make the folder writable) and "
                      "start Forkwise again."_s);
        EXPECT_EQ(boxes.boxes()[0].title, kCritical);
        EXPECT_EQ(boxes.boxes()[0].buttons, vbCritical | vbOKOnly);
        EXPECT_EQ(dataFolder(installed), QStringList());
    }
    // With room again the next start makes the log, whose backups are kept beside it.
    FailingVfs::failWrites(false);
    boxes.clear();
    ASSERT_TRUE(startProgram(installed.programDir()));
    closeProgram();
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(dataFolder(installed), (QStringList{u"Forkwise/Data"_s, u"Forkwise/Data/Backups"_s,
                                                  u"Forkwise/Data/ForkData.mdb"_s}));
}
