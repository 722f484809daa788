// The help document and its window: the document's links all lead somewhere, Contents opens at
// the contents, the keyword search finds topics, and a missing document is reported.
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

struct PageLinks {
    QStringList hrefs;
    QStringList anchors;
};

// The links and anchors of a page, as the help window's own HTML reader sees them.
PageLinks linksOf(const QUrl& page) {
    QTextDocument doc;
    doc.setHtml(HelpDocument::readPage(page));
    PageLinks links;
    for (QTextBlock b = doc.begin(); b != doc.end(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (!f.anchorHref().isEmpty())
                links.hrefs << f.anchorHref();
            links.anchors << f.anchorNames();
        }
    }
    return links;
}

QString fileNameOf(const QUrl& url) {
    return QFileInfo(url.path()).fileName();
}

// Types into the keyword box as a person would, replacing what was there.
void typeKeyword(frmHelp& help, const QString& text) {
    help.txtKeyword->clear();
    QTest::keyClicks(help.txtKeyword, text);
}

} // namespace

TEST(HelpDocument, EveryLinkLeadsToAnExistingTopicAndEveryTopicIsInTheContents) {
    const HelpDocument doc(HelpFile());
    ASSERT_TRUE(doc.isAvailable());
    ASSERT_GE(doc.topics().size(), 15);

    QStringList broken;
    QSet<QString> linkedFromContents;
    for (const HelpTopic& topic : doc.topics()) {
        const QString page = fileNameOf(topic.url);
        if (topic.title.isEmpty())
            broken << page + QStringLiteral(": no title");
        if (topic.keywords.isEmpty())
            broken << page + QStringLiteral(": no keywords");
        for (const QString& href : linksOf(topic.url).hrefs) {
            const QUrl target = topic.url.resolved(QUrl(href));
            if (target.scheme() == u"https" || target.scheme() == u"mailto")
                continue;
            if (target.scheme() != topic.url.scheme() ||
                !QFile::exists(HelpDocument::localPath(target))) {
                broken << page + QStringLiteral(" -> ") + href;
                continue;
            }
            if (target.hasFragment() && !linksOf(target).anchors.contains(target.fragment()))
                broken << page + QStringLiteral(" -> ") + href + QStringLiteral(" (no anchor)");
            if (topic.url == doc.contentsUrl())
                linkedFromContents << fileNameOf(target);
        }
    }
    for (const HelpTopic& topic : doc.topics())
        if (topic.url != doc.contentsUrl() && !linkedFromContents.contains(fileNameOf(topic.url)))
            broken << fileNameOf(topic.url) + QStringLiteral(": not in the contents");
    EXPECT_TRUE(broken.isEmpty()) << broken.join(u'\n').toStdString();
}

TEST(HelpWindow, ContentsOpensAtTheContentsAndTheWindowIsReused) {
    QWidget owner;
    owner.setWindowTitle(QStringLiteral("Forkwise 1.0"));
    frmHelp* help = ShowHelpContents(&owner);
    ASSERT_TRUE(help);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->txtTopic->source(), HelpFile());
    EXPECT_EQ(help->txtTopic->documentTitle(), QStringLiteral("Forkwise Help: Contents"));
    EXPECT_FALSE(help->fraSearch->isVisibleTo(help));

    // Following a link, then Back and Contents.
    help->txtTopic->setSource(HelpFile().resolved(QUrl(QStringLiteral("purge.html"))));
    EXPECT_EQ(fileNameOf(help->txtTopic->source()), QStringLiteral("purge.html"));
    ASSERT_TRUE(help->actBack->isEnabled());
    help->actBack->trigger();
    EXPECT_EQ(help->txtTopic->source(), HelpFile());
    EXPECT_TRUE(help->actForward->isEnabled());
    help->actForward->trigger();
    EXPECT_EQ(fileNameOf(help->txtTopic->source()), QStringLiteral("purge.html"));

    EXPECT_EQ(ShowHelpContents(&owner), help);
    EXPECT_EQ(help->txtTopic->source(), HelpFile());
    EXPECT_EQ(ShowHelpSearch(&owner), help);
    EXPECT_TRUE(help->fraSearch->isVisibleTo(help));
}

TEST(HelpWindow, KeywordSearchFindsPurgeAndServings) {
    QWidget owner;
    frmHelp* help = ShowHelpSearch(&owner, QStringLiteral("Forkwise 1.0"));
    ASSERT_TRUE(help);
    EXPECT_TRUE(help->fraSearch->isVisibleTo(help));
    EXPECT_TRUE(help->txtKeyword->text().isEmpty());

    typeKeyword(*help, QStringLiteral("purge"));
    ASSERT_TRUE(help->lstKeywords->currentItem());
    EXPECT_TRUE(
        help->lstKeywords->currentItem()->text(0).startsWith(u"purge", Qt::CaseInsensitive));
    QTest::keyClick(help->txtKeyword, Qt::Key_Return);
    EXPECT_EQ(fileNameOf(help->txtTopic->source()), QStringLiteral("purge.html"));
    EXPECT_EQ(help->txtTopic->documentTitle(), QStringLiteral("Purging diet data"));

    typeKeyword(*help, QStringLiteral("SERVINGS"));
    QTreeWidgetItem* item = help->lstKeywords->currentItem();
    ASSERT_TRUE(item);
    EXPECT_EQ(item->text(0), QStringLiteral("servings"));
    // Enter on a line of the list shows its topic, as a double-click does.
    help->lstKeywords->setFocus();
    QTest::keyClick(help->lstKeywords, Qt::Key_Return);
    EXPECT_EQ(fileNameOf(help->txtTopic->source()), QStringLiteral("servings-dialog.html"));
    // Every line left holds the word, in its keyword or in its topic.
    for (int i = 0; i < help->lstKeywords->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* line = help->lstKeywords->topLevelItem(i);
        if (!line->isHidden()) {
            EXPECT_TRUE((line->text(0) + line->text(1)).contains(u"servings", Qt::CaseInsensitive));
        }
    }

    typeKeyword(*help, QStringLiteral("xyzzy"));
    EXPECT_FALSE(help->lstKeywords->currentItem());
    EXPECT_FALSE(help->cmdDisplay->isEnabled());

    // Opening the search again starts with an empty keyword and every line.
    ShowHelpSearch(&owner, QStringLiteral("Forkwise 1.0"));
    EXPECT_TRUE(help->txtKeyword->text().isEmpty());
    EXPECT_TRUE(help->lstKeywords->currentItem());
}

TEST(HelpWindow, AMissingHelpDocumentIsReported) {
    const QUrl delivered = HelpFile();
    QWidget owner;
    owner.setWindowTitle(QStringLiteral("Forkwise 1.0"));
    MsgBoxRecorder boxes;

    setHelpFile(QUrl());
    EXPECT_FALSE(ShowHelpSearch(&owner, QStringLiteral("Forkwise 1.0")));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].prompt,
              QStringLiteral("Unable to display Help Contents. There is no Help associated with "
                             "this project."));
    EXPECT_EQ(boxes.boxes()[0].buttons, vbInformation | vbOKOnly);
    EXPECT_EQ(boxes.boxes()[0].title, QStringLiteral("Forkwise 1.0"));

    boxes.clear();
    setHelpFile(QUrl::fromLocalFile(QStringLiteral("/nonexistent/Help/index.html")));
    EXPECT_FALSE(ShowHelpContents(&owner));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_TRUE(boxes.boxes()[0].prompt.contains(u"/nonexistent/Help/index.html"));
    EXPECT_EQ(boxes.boxes()[0].buttons, vbOKOnly);
    EXPECT_EQ(boxes.boxes()[0].title, QStringLiteral("Forkwise"));

    setHelpFile(delivered);
    boxes.clear();
    EXPECT_TRUE(ShowHelpContents(&owner));
    EXPECT_TRUE(boxes.boxes().empty());
}
