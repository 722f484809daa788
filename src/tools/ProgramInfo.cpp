#include "ProgramInfo.h"

#include "Version.h"

ProgramVersion ProgramVersion::current() {
    return {FORKWISE_VERSION_MAJOR, FORKWISE_VERSION_MINOR, FORKWISE_VERSION_PATCH};
}

namespace ProgramInfo {

QString title() {
    return QStringLiteral("Forkwise");
}

QString shortVersionText(const ProgramVersion& version) {
    return QString::number(version.Major) + u'.' + QString::number(version.Minor);
}

QString aboutVersionText(const ProgramVersion& version) {
    return QStringLiteral("Version ") + shortVersionText(version) + u'.' +
           QString::number(version.Revision);
}

// The same address as the support sentence of every failure message.
QString supportEMail() {
    return QStringLiteral("support@forkwise.org");
}

QString postalAddress() {
    return QStringLiteral("Forkwise, 12 Orchard Lane, Millbrook, VT 05999, USA");
}

QString webAddress() {
    return QStringLiteral("https://forkwise.org");
}

} // namespace ProgramInfo
