#pragma once
// Who the program is: its title, its version and how to reach its makers. The splash window,
// the About box and the help document all take these from here.
#include <QString>

// A program version; current() is the project's version number as the build wrote it.
struct ProgramVersion {
    int Major = 0;
    int Minor = 0;
    int Revision = 0;

    static ProgramVersion current();
};

namespace ProgramInfo {

QString title();

// Major and minor, as the splash window shows them: "1.0".
QString shortVersionText(const ProgramVersion& version);
// The whole version, as the About box shows it: "Version 1.0.0".
QString aboutVersionText(const ProgramVersion& version);

QString supportEMail();
QString postalAddress();
QString webAddress();

} // namespace ProgramInfo
