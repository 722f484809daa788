#include "OpenFailure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

using namespace Qt::Literals::StringLiterals;

namespace {

// Whether the file is shorter than the pages its header counts. The count is only valid when
// the version-valid-for number (bytes 92-95) equals the change counter (bytes 24-27).
bool cutShort(const QByteArray& header, qint64 size) {
    if (header.size() < 100 || qFromBigEndian<quint32>(header.constData() + 92) !=
                                   qFromBigEndian<quint32>(header.constData() + 24))
        return false;
    const quint32 pageSize = qFromBigEndian<quint16>(header.constData() + 16);
    const quint64 pages = qFromBigEndian<quint32>(header.constData() + 28);
    return pages * (pageSize == 1 ? 65536 : pageSize) > quint64(size);
}

} // namespace

QString openFailureFinding(const QString& path, const DbOpenError& error) {
    const QFileInfo file(path);
    const QString shown = QDir::toNativeSeparators(file.absoluteFilePath());
    const QString folder = QDir::toNativeSeparators(file.absolutePath());
    if (error.kind == DbOpenError::Locked)
        return QString();
    if (!QFileInfo::exists(folder))
        return u"The folder %1 does not exist."_s.arg(folder);
    if (!QFileInfo(folder).isDir())
        return u"%1 is a file, not a folder."_s.arg(folder);
    if (file.isDir())
        return u"%1 is a folder, not a Forkwise diet log."_s.arg(shown);
    if (!file.exists())
        return u"%1 does not exist."_s.arg(shown);
    if (file.size() == 0)
        return u"%1 is empty."_s.arg(shown);
    QFile bytes(path);
    const QByteArray header = bytes.open(QIODevice::ReadOnly) ? bytes.read(100) : QByteArray();
    const bool sqlite = header.startsWith(QByteArrayView("SQLite format 3\0", 16));
    switch (error.kind) {
    case DbOpenError::NotADatabase:
        return sqlite ? u"%1 is damaged: its header cannot be read."_s.arg(shown)
                      : u"%1 is not a Forkwise diet log."_s.arg(shown);
    case DbOpenError::NotOurs:
        return u"%1 is not a Forkwise diet log: it lacks the program's tables."_s.arg(shown);
    case DbOpenError::Damaged:
        return cutShort(header, file.size())
                   ? u"%1 is damaged: it is shorter than its header says."_s.arg(shown)
                   : u"%1 is damaged."_s.arg(shown);
    default:
        return u"%1 could not be opened: %2."_s.arg(shown, QString::fromUtf8(error.what()));
    }
}
