#pragma once
// The program's help document: a folder of HTML pages, one topic each, opened at the contents
// page. Each page names the keywords it is found by in a <meta name="keywords"> line, the
// keywords separated by semicolons.
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

// One page of the help document.
struct HelpTopic {
    QUrl url;
    QString title;
    QStringList keywords;
};

class HelpDocument {
public:
    // Reads the topics of the folder that holds `contents`.
    explicit HelpDocument(const QUrl& contents);

    QUrl contentsUrl() const { return contents_; }
    // Whether the contents page can be read.
    bool isAvailable() const { return available_; }
    // Every page of the folder, the contents page included, in file-name order.
    const QList<HelpTopic>& topics() const { return topics_; }

    // The text of a page, or an empty string when it cannot be read.
    static QString readPage(const QUrl& url);
    // The file name a help address stands for: ":/help/index.html" for qrc:/help/index.html.
    static QString localPath(const QUrl& url);

private:
    QUrl contents_;
    bool available_ = false;
    QList<HelpTopic> topics_;
};

// Where the program's help document opens: the contents page in Help/ beside the program, or in
// the shared files of an installed program, or the one compiled into the program, or an empty
// address when the program has no help.
QUrl helpFile();
// The same for a program in `programDir`.
QUrl helpFileOf(const QString& programDir);
// Replaces the help document's contents page; an empty address means the program has none.
void setHelpFile(const QUrl& contents);
