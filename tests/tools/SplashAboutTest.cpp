// The splash window and the About box: the version they show, the About box's OK button and its
// web link.
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

TEST(SplashAndAbout, ShowTheVersionAsPlainNumbers) {
    EXPECT_EQ(ProgramInfo::shortVersionText({1, 0, 0}), QStringLiteral("1.0"));
    EXPECT_EQ(ProgramInfo::aboutVersionText({1, 0, 0}), QStringLiteral("Version 1.0.0"));

    const frmSplash splash(ProgramVersion{2, 13, 4});
    EXPECT_EQ(splash.lblVersion->text(), QStringLiteral("2.13"));
    const QString platform = splash.lblPlatform->text();
    EXPECT_FALSE(platform.isEmpty() || platform == u"WIN 95/98/NT") << platform.toStdString();
    EXPECT_FALSE(splash.picLogo->pixmap().isNull());

    const frmAbout about(ProgramVersion{2, 13, 4}, nullptr);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Forkwise"));
    EXPECT_EQ(about.lblVersion->text(), QStringLiteral("Version 2.13.4"));
    EXPECT_FALSE(about.picIcon->pixmap().isNull());
    // The address of the About box is the one every failure message gives.
    const QString email = about.lblEMail->text();
    ASSERT_TRUE(email.startsWith(QStringLiteral("E-Mail:  ")));
    EXPECT_TRUE(supportSentence().contains(email.mid(9) + u'.'));

    // Without a version of their own the windows show the build's.
    EXPECT_EQ(frmSplash().lblVersion->text(),
              QStringLiteral("%1.%2").arg(FORKWISE_VERSION_MAJOR).arg(FORKWISE_VERSION_MINOR));
    EXPECT_EQ(frmAbout().lblVersion->text(), QStringLiteral("Version " FORKWISE_VERSION));
}

TEST(About, OkAnswersEnterAndEscAndTheWebLinkOpensTheWebAddress) {
    QWidget owner;
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        bool shown = false;
        const ModalHandler previous = setModalHandler([&](QDialog& dialog) {
            shown = dialog.objectName() == u"frmAbout" && dialog.parentWidget() == &owner;
            dialog.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
            QTest::keyClick(&dialog, key);
            EXPECT_FALSE(dialog.isVisible()) << "key " << key;
            return dialog.result();
        });
        ShowAboutBox(&owner);
        setModalHandler(previous);
        EXPECT_TRUE(shown);
    }

    UrlRecorder browser;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "open");
    frmAbout about;
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    QTest::mouseClick(about.lblWEbLink, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    EXPECT_EQ(browser.opened, QList<QUrl>{QUrl(QStringLiteral("https://forkwise.org"))});
    EXPECT_TRUE(about.isVisible()) << "the link leaves the About box open";
}

#include "SplashAboutTest.moc"
