#pragma once
// The program's one text-utility object: fixed-width cells for the report's columns.
#include <QString>

class MyTools {
public:
    // The last lngLen characters of lngLen blanks followed by origString: right-aligns, and a
    // longer text keeps its rightmost lngLen characters.
    QString PadL(const QString& origString, long lngLen) const;
    // The first lngLen characters of origString followed by lngLen blanks: left-aligns, and a
    // longer text keeps its leftmost lngLen characters.
    QString PadR(const QString& origString, long lngLen) const;
};

extern MyTools gTools;
