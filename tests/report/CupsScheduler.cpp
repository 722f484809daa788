#include "CupsScheduler.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString kPpd = u"/usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd"_s;
const QString kQueue = u"ForkwiseTest"_s;

// CUPS keeps its programs in sbin, which an ordinary user's PATH may leave out.
QString findProgram(const QString& name) {
    const QString found = QStandardPaths::findExecutable(name, {u"/usr/sbin"_s, u"/sbin"_s});
    return found.isEmpty() ? QStandardPaths::findExecutable(name) : found;
}

bool writeText(const QString& path, const QString& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.toUtf8().size();
}

// Hands the folder and everything in it to `uid`, who runs the scheduler.
bool handOver(const QString& folder, uid_t uid, gid_t gid) {
    bool ok = ::chown(QFile::encodeName(folder).constData(), uid, gid) == 0;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        ok = ::chown(QFile::encodeName(it.next()).constData(), uid, gid) == 0 && ok;
    return ok;
}

} // namespace

CupsScheduler::CupsScheduler(const QString& folder) : folder_(folder) {
    error_ = setUp();
}

CupsScheduler::~CupsScheduler() {
    if (cupsd_.state() != QProcess::NotRunning) {
        cupsd_.terminate(); // SIGTERM to its pid
        if (!cupsd_.waitForFinished(10000)) {
            cupsd_.kill();
            cupsd_.waitForFinished(5000);
        }
    }
    for (auto it = savedEnv_.rbegin(); it != savedEnv_.rend(); ++it) {
        if (it->second)
            qputenv(it->first.constData(), *it->second);
        else
            qunsetenv(it->first.constData());
    }
}

void CupsScheduler::setEnv(const char* name, const std::optional<QByteArray>& value) {
    savedEnv_.emplace_back(QByteArray(name), qEnvironmentVariableIsSet(name)
                                                 ? std::optional<QByteArray>(qgetenv(name))
                                                 : std::nullopt);
    if (value)
        qputenv(name, *value);
    else
        qunsetenv(name);
}

QByteArray CupsScheduler::client(const QString& program, const QStringList& args, QString* why) {
    QProcess p;
    p.start(findProgram(program), args);
    const bool ok =
        p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (!ok && why)
        *why = program + u' ' + args.join(u' ') + u": "_s +
               QString::fromLocal8Bit(p.readAllStandardError()).trimmed() + p.errorString();
    return ok ? p.readAllStandardOutput() : QByteArray();
}

QString CupsScheduler::setUp() {
    for (const QString& program : {u"cupsd"_s, u"lpadmin"_s, u"lpstat"_s, u"setpriv"_s})
        if (findProgram(program).isEmpty())
            return program + u" is missing (Debian packages cups-daemon, cups-client)"_s;
    if (!QFileInfo::exists(kPpd))
        return kPpd + u" is missing (Debian package cups-filters)"_s;

    // As root the scheduler runs as nobody: a scheduler run by root would run its filters as lp.
    const bool root = ::geteuid() == 0;
    const passwd* user = root ? ::getpwnam("nobody") : ::getpwuid(::geteuid());
    const group* grp = root ? ::getgrnam("nogroup") : ::getgrgid(::getegid());
    if (!user || !grp)
        return u"no user or group to run the scheduler as"_s;
    const QString userName = QString::fromLocal8Bit(user->pw_name);
    const QString groupName = QString::fromLocal8Bit(grp->gr_name);

    const QDir dir(folder_);
    for (const QString& sub :
         {u"spool"_s, u"cache"_s, u"state"_s, u"tmp"_s, u"log"_s, u"ssl"_s, u"out"_s, u"home"_s})
        if (!dir.mkpath(sub))
            return u"cannot make "_s + dir.filePath(sub);
    const QString socket = dir.filePath(u"cups.sock"_s);
    const QString conf = dir.filePath(u"cupsd.conf"_s), files = dir.filePath(u"cups-files.conf"_s);
    // Only the socket listens; everyone on it may do everything, with no password asked.
    const bool written =
        writeText(conf, u"Listen %1\nBrowsing No\nLogLevel warn\nDefaultAuthType None\n"
                        "<Policy default>\n  <Limit All>\n    Order allow,deny\n    Allow all\n"
                        "  </Limit>\n</Policy>\n"_s.arg(socket)) &&
        writeText(files, u"ServerRoot %1\nRequestRoot %1/spool\nCacheDir %1/cache\n"
                         "StateDir %1/state\nTempDir %1/tmp\nServerKeychain %1/ssl\n"
                         "ErrorLog %1/log/error_log\nAccessLog %1/log/access_log\n"
                         "PageLog %1/log/page_log\nPrintcap /dev/null\n"
                         "ServerBin /usr/lib/cups\nDataDir /usr/share/cups\nFileDevice Yes\n"
                         "User %2\nGroup %3\nSystemGroup %3\n"_s.arg(folder_, userName, groupName));
    if (!written)
        return u"cannot write the scheduler's settings in "_s + folder_;
    if (root && !handOver(folder_, user->pw_uid, grp->gr_gid))
        return u"cannot hand "_s + folder_ + u" over to nobody"_s;

    setEnv("CUPS_SERVER", socket.toLocal8Bit());
    setEnv("HOME", dir.filePath(u"home"_s).toLocal8Bit());
    setEnv("LPDEST", std::nullopt);
    setEnv("PRINTER", std::nullopt);

    // setpriv ends the scheduler too when this process ends without stopping it.
    QStringList args;
    if (root)
        args << u"--reuid=nobody"_s << u"--regid=nogroup"_s << u"--clear-groups"_s;
    args << u"--pdeathsig"_s << u"TERM"_s << findProgram(u"cupsd"_s) << u"-f"_s << u"-c"_s << conf
         << u"-s"_s << files;
    cupsd_.setProcessChannelMode(QProcess::ForwardedChannels);
    cupsd_.start(findProgram(u"setpriv"_s), args);
    if (!cupsd_.waitForStarted())
        return u"cupsd did not start: "_s + cupsd_.errorString();
    const auto log = [&] {
        QFile file(dir.filePath(u"log/error_log"_s));
        return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
    };
    for (int i = 0; !client(u"lpstat"_s, {u"-r"_s}).contains("scheduler is running"); ++i) {
        if (cupsd_.state() == QProcess::NotRunning || i == 150)
            return u"cupsd did not come up; its log:\n"_s + log();
        QThread::msleep(200);
    }

    QString why;
    client(u"lpadmin"_s,
           {u"-p"_s, kQueue, u"-E"_s, u"-v"_s, u"file://"_s + printed(), u"-P"_s, kPpd}, &why);
    if (why.isEmpty())
        client(u"lpadmin"_s, {u"-d"_s, kQueue}, &why);
    return why.isEmpty() ? QString() : why + u"\ncupsd's log:\n"_s + log();
}

bool CupsScheduler::waitUntilIdle() {
    for (int i = 0; i < 300; ++i) {
        QString why;
        if (client(u"lpstat"_s, {u"-o"_s}, &why).trimmed().isEmpty() && why.isEmpty() &&
            QFileInfo::exists(printed()))
            return true;
        QThread::msleep(200);
    }
    return false;
}
