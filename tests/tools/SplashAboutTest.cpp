// The splash window and the About box: the version they show, the address every failure message
// gives, the About box's OK button and its web link.
#include "Module1.h"
#include "QtPrinters.h"
#include "ShowModal.h"
#include "Version.h"
#include "frmAbout.h"
#include "frmSplash.h"

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
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl& url) { opened << url; }
};

} // namespace

TEST(SplashAndAbout, ShowTheVersionAndTheSupportAddress) {
    EXPECT_EQ(frmSplash(ProgramVersion{2, 13, 4}).lblVersion->text(), u"2.13"_s);
    EXPECT_EQ(frmAbout(ProgramVersion{2, 13, 4}, nullptr).lblVersion->text(), u"Version 2.13.4"_s);
    // Without a version of their own the windows show the build's.
    EXPECT_EQ(frmSplash().lblVersion->text(),
              u"%1.%2"_s.arg(FORKWISE_VERSION_MAJOR).arg(FORKWISE_VERSION_MINOR));
    const frmAbout about;
    EXPECT_EQ(about.lblVersion->text(), QStringLiteral("Version " FORKWISE_VERSION));
    EXPECT_TRUE(supportSentence().contains(about.lblEMail->text().remove(u"E-Mail:  "_s) + u'.'));
}

TEST(About, OkAnswersEnterAndEscAndTheWebLinkOpensTheWebAddress) {
    QWidget owner;
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        bool closed = false;
        setModalHandler([&](QDialog& dialog) {
            dialog.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
            QTest::keyClick(&dialog, key);
            closed = dialog.objectName() == u"frmAbout" && dialog.parentWidget() == &owner &&
                     !dialog.isVisible();
            return dialog.result();
        });
        ShowAboutBox(&owner);
        setModalHandler({});
        EXPECT_TRUE(closed) << "key " << key;
    }

    UrlRecorder browser;
    QDesktopServices::setUrlHandler(u"https"_s, &browser, "open");
    frmAbout about;
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    QTest::mouseClick(about.lblWEbLink, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(u"https"_s);
    EXPECT_EQ(browser.opened, QList<QUrl>{QUrl(u"https://forkwise.org"_s)});
    EXPECT_TRUE(about.isVisible()) << "the link leaves the About box open";
}

#include "SplashAboutTest.moc"
