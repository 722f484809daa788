// The splash window and the About box: the version they show, the About box's OK button and its
// web link.
#include "Module1.h"
#include "QtPrinters.h"
#include "ShowModal.h"
#include "Version.h"
#include "frmAbout.h"
#include "frmSplash.h"

#include <QDesktopServices>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
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

QString labelText(const QWidget& window, const char* name) {
    const auto* label = window.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
}

} // namespace

TEST(SplashAndAbout, ShowTheVersionAsPlainNumbers) {
    EXPECT_EQ(ProgramInfo::shortVersionText({1, 0, 0}), QStringLiteral("1.0"));
    EXPECT_EQ(ProgramInfo::aboutVersionText({1, 0, 0}), QStringLiteral("Version 1.0.0"));

    const frmSplash splash(ProgramVersion{2, 13, 4});
    EXPECT_EQ(labelText(splash, "lblVersion"), QStringLiteral("2.13"));
    EXPECT_EQ(labelText(splash, "lblProductName"), QStringLiteral("Forkwise"));
    EXPECT_FALSE(labelText(splash, "lblPlatform").isEmpty());
    EXPECT_NE(labelText(splash, "lblPlatform"), QStringLiteral("WIN 95/98/NT"));
    ASSERT_TRUE(splash.findChild<QFrame*>(QStringLiteral("fraMainFrame")));
    EXPECT_FALSE(splash.picLogo->pixmap().isNull());

    const frmAbout about(ProgramVersion{2, 13, 4}, nullptr);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Forkwise"));
    EXPECT_EQ(labelText(about, "lblVersion"), QStringLiteral("Version 2.13.4"));
    EXPECT_EQ(labelText(about, "lblTitle"), QStringLiteral("Forkwise"));
    EXPECT_EQ(labelText(about, "Label2"), QStringLiteral("How to contact us:"));
    EXPECT_TRUE(labelText(about, "lblPostal").startsWith(QStringLiteral("Postal Mail:  ")));
    EXPECT_EQ(labelText(about, "Label3"), QStringLiteral("Internet:  "));
    EXPECT_FALSE(about.picIcon->pixmap().isNull());
    // The address of the About box is the one every failure message gives.
    const QString email = labelText(about, "lblEMail");
    ASSERT_TRUE(email.startsWith(QStringLiteral("E-Mail:  ")));
    EXPECT_TRUE(supportSentence().contains(email.mid(9) + u'.'));

    // Without a version of their own the windows show the build's.
    EXPECT_EQ(frmSplash().lblVersion->text(),
              QStringLiteral("%1.%2").arg(FORKWISE_VERSION_MAJOR).arg(FORKWISE_VERSION_MINOR));
    EXPECT_EQ(frmAbout().lblVersion->text(), QStringLiteral("Version " FORKWISE_VERSION));
}

TEST(About, OkAnswersEnterAndEsc) {
    QWidget owner;
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        bool shown = false;
        const ModalHandler previous = setModalHandler([&](QDialog& dialog) {
            shown = true;
            EXPECT_EQ(dialog.objectName(), QStringLiteral("frmAbout"));
            EXPECT_EQ(dialog.parentWidget(), &owner);
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
}

TEST(About, TheWebLinkOpensTheWebAddress) {
    UrlRecorder browser;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "open");
    frmAbout about;
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    EXPECT_EQ(about.lblWEbLink->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(about.lblWEbLink, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    ASSERT_EQ(browser.opened.size(), 1);
    EXPECT_EQ(browser.opened.front(), QUrl(QStringLiteral("https://forkwise.org")));
    EXPECT_EQ(about.lblWEbLink->text(), QStringLiteral("https://forkwise.org"));
    EXPECT_TRUE(about.isVisible()) << "the link leaves the About box open";
}

#include "SplashAboutTest.moc"
