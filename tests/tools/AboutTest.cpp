// The About box: OK answers Enter and Esc, the web link opens the web address and leaves the box
// open, the e-mail address is the one every failure message gives, and the diet log's path shows.
#include "Module1.h"
#include "ShowModal.h"
#include "SqlProbe.h"
#include "frmAbout.h"

#include <QDesktopServices>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Takes the place of the web browser.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QStringList opened;
public Q_SLOTS:
    void open(const QUrl& url) { opened << url.toString(); }
};

} // namespace

TEST(About, OkAnswersEnterAndEscTheWebLinkOpensTheWebAddressAndTheLogIsNamed) {
    QWidget owner;
    UrlRecorder browser;
    QDesktopServices::setUrlHandler(u"https"_s, &browser, "open");
    gDBPath = u"/home/pat/.local/share/Forkwise/Data/ForkData.mdb"_s;
    int closed = 0;
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        setModalHandler([&](QDialog& dialog) {
            auto& about = dynamic_cast<frmAbout&>(dialog);
            about.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&about));
            EXPECT_TRUE(
                supportSentence().contains(about.lblEMail->text().remove(u"E-Mail:  "_s) + u'.'));
            EXPECT_EQ(about.lblDietLog->text(), u"Diet log:  "_s + gDBPath);
            QTest::mouseClick(about.lblWEbLink, Qt::LeftButton);
            EXPECT_TRUE(about.isVisible());
            QTest::keyClick(&about, key);
            closed += about.parentWidget() == &owner && !about.isVisible();
            return about.result();
        });
        showAboutBox(&owner);
    }
    setModalHandler({});
    QDesktopServices::unsetUrlHandler(u"https"_s);
    EXPECT_EQ(closed, 2);
    EXPECT_EQ(browser.opened, QStringList(2, u"https://forkwise.org"_s));
}

#include "AboutTest.moc"
