#pragma once
// The help window: one per program, showing the help document's pages with Back, Forward and
// Contents, beside a keyword search over its topics.
#include "HelpDocument.h"

#include <QMainWindow>

class QAction;
class QLineEdit;
class QPushButton;
class QSplitter;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

class frmHelp : public QMainWindow {
    Q_OBJECT
public:
    explicit frmHelp(const HelpDocument& document, QWidget* owner = nullptr);

    QUrl contentsUrl() const { return document_.contentsUrl(); }
    // Shows the contents page.
    void showContents();
    // Opens the keyword search with an empty keyword and puts the cursor in it.
    void showSearch();
    void showTopic(const QUrl& url);

    QAction* actBack;
    QAction* actForward;
    QAction* actContents;
    QAction* actSearch;
    QWidget* fraSearch;
    QLineEdit* txtKeyword;
    QTreeWidget* lstKeywords;
    QPushButton* cmdDisplay;
    QTextBrowser* txtTopic;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillKeywords();
    void actSearch_Toggle(bool on);
    void txtKeyword_Change(const QString& text);
    void lstKeywords_Activate(QTreeWidgetItem* item);
    void cmdDisplay_Click();
    void txtTopic_SourceChanged();

    HelpDocument document_;
    QSplitter* splitter_;
};

// Help, Contents: opens the help window at the contents page. When the program has no help
// document it says so in a box titled `title` (empty: the owner's caption). Returns the help
// window, or nullptr when there is none to show.
frmHelp* showHelpContents(QWidget* owner, const QString& title = QString());
// Help, Search For Help On...: opens the help window's keyword search with an empty keyword.
frmHelp* showHelpSearch(QWidget* owner, const QString& title = QString());
