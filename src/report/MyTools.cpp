#include "MyTools.h"

MyTools gTools;

QString MyTools::PadL(const QString& origString, long lngLen) const {
    if (lngLen <= 0)
        return QString();
    return (QString(lngLen, u' ') + origString).right(lngLen);
}

QString MyTools::PadR(const QString& origString, long lngLen) const {
    if (lngLen <= 0)
        return QString();
    return (origString + QString(lngLen, u' ')).left(lngLen);
}
