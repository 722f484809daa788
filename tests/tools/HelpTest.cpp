// The help document and its window: no broken links, Contents, Back and Forward, the keyword
// search, and a missing document reported.
#include "MsgBoxRecorder.h"
#include "QtPrinters.h"
#include "frmHelp.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

// The link targets (hrefs) or, with `anchors`, the anchor names of a page, as the help window's
// own HTML reader sees them.
QStringList linksOf(const QUrl& page, bool anchors = false) {
    QTextDocument doc;
    doc.setHtml(HelpDocument::readPage(page));
    QStringList out;
    for (QTextBlock b = doc.begin(); b != doc.end(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (anchors)
                out << f.anchorNames();
            else if (!f.anchorHref().isEmpty())
                out << f.anchorHref();
        }
    return out;
}

QString fileNameOf(const QUrl& url) {
    return QFileInfo(url.path()).fileName();
}

} // namespace

TEST(HelpDocument, EveryLinkLeadsToAnExistingTopicAndEveryTopicIsInTheContents) {
    const HelpDocument doc(HelpFile());
    ASSERT_GE(doc.topics().size(), 15);
    QStringList broken;
    QSet<QString> inContents;
    for (const HelpTopic& topic : doc.topics()) {
        const QString page = fileNameOf(topic.url);
        if (topic.title.isEmpty() || topic.keywords.isEmpty())
            broken << page + QStringLiteral(": no title or no keywords");
        for (const QString& href : linksOf(topic.url)) {
            const QUrl target = topic.url.resolved(QUrl(href));
            if (target.scheme() == u"https" || target.scheme() == u"mailto")
                continue;
            if (target.scheme() != topic.url.scheme() ||
                !QFile::exists(HelpDocument::localPath(target)) ||
                (target.hasFragment() && !linksOf(target, true).contains(target.fragment())))
                broken << page + QStringLiteral(" -> ") + href;
            else if (topic.url == doc.contentsUrl())
                inContents << fileNameOf(target);
        }
    }
    for (const HelpTopic& topic : doc.topics())
        if (topic.url != doc.contentsUrl() && !inContents.contains(fileNameOf(topic.url)))
            broken << fileNameOf(topic.url) + QStringLiteral(": not in the contents");
    EXPECT_TRUE(broken.isEmpty()) << broken.join(u'\n').toStdString();
}

TEST(HelpWindow, OneWindowForContentsNavigationAndKeywordSearch) {
    QWidget owner;
    frmHelp* help = ShowHelpContents(&owner);
    ASSERT_TRUE(help);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->txtTopic->source(), HelpFile());
    EXPECT_FALSE(help->fraSearch->isVisibleTo(help));
    const auto shown = [help] { return fileNameOf(help->txtTopic->source()); };

    help->txtTopic->setSource(HelpFile().resolved(QUrl(QStringLiteral("purge.html"))));
    help->actBack->trigger();
    EXPECT_EQ(shown(), QStringLiteral("index.html"));
    help->actForward->trigger();
    EXPECT_EQ(shown(), QStringLiteral("purge.html"));
    EXPECT_EQ(ShowHelpContents(&owner), help);
    EXPECT_EQ(shown(), QStringLiteral("index.html"));

    EXPECT_EQ(ShowHelpSearch(&owner), help);
    EXPECT_TRUE(help->fraSearch->isVisibleTo(help));
    const auto type = [help](const QString& text) {
        help->txtKeyword->clear();
        QTest::keyClicks(help->txtKeyword, text);
    };
    type(QStringLiteral("purge"));
    QTest::keyClick(help->txtKeyword, Qt::Key_Return);
    EXPECT_EQ(shown(), QStringLiteral("purge.html"));

    type(QStringLiteral("SERVINGS"));
    for (int i = 0; i < help->lstKeywords->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* line = help->lstKeywords->topLevelItem(i);
        EXPECT_TRUE(line->isHidden() ||
                    (line->text(0) + line->text(1)).contains(u"servings", Qt::CaseInsensitive));
    }
    help->lstKeywords->setFocus(); // Enter on the list shows its topic, as a double-click does
    QTest::keyClick(help->lstKeywords, Qt::Key_Return);
    EXPECT_EQ(shown(), QStringLiteral("servings-dialog.html"));

    type(QStringLiteral("xyzzy"));
    EXPECT_FALSE(help->lstKeywords->currentItem());
    EXPECT_FALSE(help->cmdDisplay->isEnabled());
    ShowHelpSearch(&owner); // opens again with an empty keyword and every line
    EXPECT_TRUE(help->txtKeyword->text().isEmpty());
    EXPECT_TRUE(help->lstKeywords->currentItem());
}

TEST(HelpWindow, AMissingHelpDocumentIsReported) {
    const QUrl delivered = HelpFile();
    QWidget owner;
    MsgBoxRecorder recorder;
    const auto boxes = [&] {
        QStringList out;
        for (const RecordedBox& b : recorder.boxes())
            out << QStringLiteral("%1 | %2 | %3").arg(b.title).arg(b.buttons).arg(b.prompt);
        recorder.clear();
        return out;
    };

    setHelpFile(QUrl());
    EXPECT_FALSE(ShowHelpSearch(&owner, QStringLiteral("Forkwise 1.0")));
    EXPECT_EQ(boxes(), QStringList{QStringLiteral("Forkwise 1.0 | %1 | Unable to display Help "
                                                  "Contents. There is no Help associated with "
                                                  "this project.")
                                       .arg(vbInformation | vbOKOnly)});
    setHelpFile(QUrl::fromLocalFile(QStringLiteral("/nonexistent/Help/index.html")));
    EXPECT_FALSE(ShowHelpContents(&owner));
    EXPECT_EQ(boxes(), QStringList{QStringLiteral("Forkwise | %1 | Unable to open the help file "
                                                  "/nonexistent/Help/index.html.")
                                       .arg(vbOKOnly)});
    setHelpFile(delivered);
    EXPECT_TRUE(ShowHelpContents(&owner));
    EXPECT_EQ(boxes(), QStringList());
}
