// The help document and its window: where the document is found, no broken links, Contents, Back
// and Forward, the keyword search, and a missing document reported.
#include "MsgBoxRecorder.h"
#include "SqlProbe.h"
#include "frmHelp.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The first group of every match of `pattern` in a page's HTML: its links or its anchors.
QStringList matches(const QUrl& page, const QString& pattern) {
    QStringList out;
    for (const QRegularExpressionMatch& m :
         QRegularExpression(pattern).globalMatch(HelpDocument::readPage(page)))
        out << m.captured(1);
    return out;
}
const QString kLinks = u"href=\"([^\"]*)\""_s, kAnchors = u"(?:name|id)=\"([^\"]*)\""_s;

} // namespace

TEST(HelpDocument, EveryLinkLeadsToAnExistingTopicAndEveryTopicIsInTheContents) {
    const HelpDocument doc(helpFile());
    ASSERT_GE(doc.topics().size(), 15);
    QStringList broken, notInContents;
    for (const HelpTopic& topic : doc.topics()) {
        if (topic.title.isEmpty() || topic.keywords.isEmpty())
            broken << topic.url.fileName() + u": no title or no keywords"_s;
        if (topic.url != doc.contentsUrl())
            notInContents << topic.url.fileName();
        for (const QString& href : matches(topic.url, kLinks)) {
            const QUrl target = topic.url.resolved(QUrl(href));
            if (target.scheme() == u"https" || target.scheme() == u"mailto")
                continue;
            if (target.scheme() != topic.url.scheme() ||
                !QFile::exists(HelpDocument::localPath(target)) ||
                (target.hasFragment() && !matches(target, kAnchors).contains(target.fragment())))
                broken << topic.url.fileName() + u" -> "_s + href;
        }
    }
    for (const QString& href : matches(doc.contentsUrl(), kLinks))
        notInContents.removeAll(doc.contentsUrl().resolved(QUrl(href)).fileName());
    EXPECT_EQ(broken, QStringList());
    EXPECT_EQ(notInContents, QStringList());
}

TEST(HelpWindow, OneWindowForContentsNavigationAndKeywordSearch) {
    QWidget owner;
    frmHelp* help = showHelpContents(&owner);
    ASSERT_TRUE(help && help->isVisible());
    EXPECT_FALSE(help->fraSearch->isVisibleTo(help));
    const auto shown = [help] { return help->txtTopic->source().fileName(); };
    EXPECT_EQ(shown(), u"index.html"_s);

    help->txtTopic->setSource(helpFile().resolved(QUrl(u"purge.html"_s)));
    help->actBack->trigger();
    EXPECT_EQ(shown(), u"index.html"_s);
    help->actForward->trigger();
    EXPECT_EQ(shown(), u"purge.html"_s);
    EXPECT_EQ(showHelpContents(&owner), help);
    EXPECT_EQ(shown(), u"index.html"_s);

    EXPECT_EQ(showHelpSearch(&owner), help);
    EXPECT_TRUE(help->fraSearch->isVisibleTo(help));
    const auto type = [help](const QString& text) {
        help->txtKeyword->clear();
        QTest::keyClicks(help->txtKeyword, text);
    };
    type(u"purge"_s);
    QTest::keyClick(help->txtKeyword, Qt::Key_Return);
    EXPECT_EQ(shown(), u"purge.html"_s);

    type(u"SERVINGS"_s);
    for (int i = 0; i < help->lstKeywords->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* line = help->lstKeywords->topLevelItem(i);
        EXPECT_TRUE(line->isHidden() ||
                    (line->text(0) + line->text(1)).contains(u"servings", Qt::CaseInsensitive));
    }
    help->lstKeywords->setFocus(); // Enter on the list shows its topic, as a double-click does
    QTest::keyClick(help->lstKeywords, Qt::Key_Return);
    EXPECT_EQ(shown(), u"servings-dialog.html"_s);

    type(u"xyzzy"_s);
    EXPECT_FALSE(help->lstKeywords->currentItem() || help->cmdDisplay->isEnabled());
    showHelpSearch(&owner); // opens again with an empty keyword and every line
    EXPECT_TRUE(help->txtKeyword->text().isEmpty());
    EXPECT_TRUE(help->lstKeywords->currentItem());
}

TEST(HelpDocument, TheDocumentShippedBesideOrInAnInstalledProgramsSharedFilesComesFirst) {
    QTemporaryDir root;
    const QString program = root.filePath(u"usr/bin"_s);
    ASSERT_TRUE(QDir().mkpath(program));
    EXPECT_EQ(helpFileOf(program), QUrl(u"qrc:/help/index.html"_s));
    for (const QString& shipped : {root.filePath(u"usr/share/forkwise/Help/index.html"_s),
                                   program + u"/Help/index.html"_s}) {
        ASSERT_TRUE(writeFile(shipped, "<html></html>"));
        EXPECT_EQ(helpFileOf(program), QUrl::fromLocalFile(shipped));
    }
}

TEST(HelpWindow, AMissingHelpDocumentIsReported) {
    const QUrl delivered = helpFile();
    QWidget owner;
    MsgBoxRecorder boxes;
    setHelpFile(QUrl());
    EXPECT_FALSE(showHelpSearch(&owner, u"Forkwise 1.0"_s));
    setHelpFile(QUrl::fromLocalFile(u"/nonexistent/Help/index.html"_s));
    EXPECT_FALSE(showHelpContents(&owner));
    setHelpFile(delivered);
    EXPECT_TRUE(showHelpContents(&owner));
    QStringList seen;
    for (const RecordedBox& box : boxes.boxes())
        seen << u"%1 | %2 | %3"_s.arg(box.title).arg(box.buttons).arg(box.prompt);
    EXPECT_EQ(seen, (QStringList{u"Forkwise 1.0 | 64 | Unable to display Help Contents. There is "
                                 "no Help associated with this project."_s,
                                 u"Forkwise | 0 | Unable to open the help file "
                                 "/nonexistent/Help/index.html."_s}));
}
