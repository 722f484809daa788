// forkwise-mkdb: creates the delivered ForkData.mdb when it does not exist yet.

#include "DatabaseBuilder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

void print(std::FILE* stream, const QString& line) {
    std::fputs(qPrintable(line + u'\n'), stream);
}

int usage() {
    print(stderr, u"usage: forkwise-mkdb [--seed DIR] PATH"_s);
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    seed::BuildOptions options;
    if (args.size() == 3 && args[0] == u"--seed"_s) {
        options.seedDir = args[1];
        args = args.mid(2);
    }
    if (args.size() != 1 || args[0].startsWith(u'-'))
        return usage();
    const QString path = args[0];

    // The file at path is the household's diet log: its presence is not an error.
    if (QFileInfo(path).exists()) {
        print(stdout, u"%1 exists; left untouched."_s.arg(path));
        return 0;
    }
    QElapsedTimer timer;
    timer.start();
    QString error;
    seed::BuildSummary summary;
    if (!seed::buildDatabase(path, options, &error, &summary)) {
        print(stderr, u"forkwise-mkdb: %1"_s.arg(error));
        return 1;
    }
    print(stdout,
          u"Created %1: %2 foods in %3 groups, %4 favourites, %5 measures (%6 ms)."_s.arg(path)
              .arg(summary.foods)
              .arg(summary.groups)
              .arg(summary.favorites)
              .arg(summary.measures)
              .arg(timer.elapsed()));
    return 0;
}
