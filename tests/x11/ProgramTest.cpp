// The delivered program as a user runs it, from a folder of its own with the full database: its
// own main(), and the end of the process when the window system closes its window.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <X11/Xlib.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Asks the shown top-level window with that title to close, as a window manager does when the
// user closes it; without a window manager the top-level windows are children of the root.
bool closeShownWindow(Display* x, const char* title) {
    Window root, parent, *children = nullptr;
    unsigned int count = 0;
    bool found = false;
    XQueryTree(x, DefaultRootWindow(x), &root, &parent, &children, &count);
    for (unsigned int i = 0; i < count && !found; ++i) {
        char* name = nullptr;
        XWindowAttributes window;
        found = XFetchName(x, children[i], &name) && qstrcmp(name, title) == 0 &&
                XGetWindowAttributes(x, children[i], &window) && window.map_state == IsViewable;
        XFree(name);
        XEvent close{};
        close.xclient = {ClientMessage,
                         0,
                         True,
                         x,
                         children[i],
                         XInternAtom(x, "WM_PROTOCOLS", False),
                         32,
                         {.l = {long(XInternAtom(x, "WM_DELETE_WINDOW", False)), CurrentTime}}};
        if (found)
            XSendEvent(x, children[i], False, NoEventMask, &close);
    }
    XFree(children);
    XFlush(x);
    return found;
}

} // namespace

TEST(ProgramOnX11, ClosedThroughTheWindowSystemItEndsLeavingTheDatabaseAsItWas) {
    QTemporaryDir dir;
    const QString program = dir.filePath(u"forkwise"_s);
    const QString data = dir.filePath(u"Data/ForkData.mdb"_s);
    ASSERT_TRUE(QFile::copy(QStringLiteral(FORKWISE_PROGRAM), program));
    ASSERT_EQ(QProcess::execute(QStringLiteral(FORKWISE_MKDB), {data}), 0);
    const QByteArray before = contents(data);

    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"XDG_CONFIG_HOME"_s, dir.filePath(u"config"_s));
    run.setProcessEnvironment(env);
    run.start(program);
    Display* x = XOpenDisplay(nullptr);
    EXPECT_TRUE(QTest::qWaitFor([x] { return closeShownWindow(x, "Forkwise 1.0"); }, 30000))
        << "no main window appeared";
    XCloseDisplay(x);
    EXPECT_TRUE(run.waitForFinished(30000) && run.exitCode() == 0)
        << "the program did not end well after its window closed";

    EXPECT_TRUE(contents(data) == before) << "the database changed";
    EXPECT_EQ(QDir(dir.filePath(u"Data"_s)).entryList(QDir::Files), QStringList{u"ForkData.mdb"_s})
        << "a journal was left behind";
}
