// The delivered program as a user runs it: from a folder of its own with the full database,
// closed through the window system.
#include "SqlProbe.h"

#include <QCryptographicHash>
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

// The shown top-level window with that title (without a window manager, a child of the root).
Window shownWindow(Display* x, const char* title) {
    Window root, parent, *children = nullptr, found = 0;
    unsigned int count = 0;
    XQueryTree(x, DefaultRootWindow(x), &root, &parent, &children, &count);
    for (unsigned int i = 0; i < count && !found; ++i) {
        char* name = nullptr;
        XWindowAttributes attributes;
        if (XFetchName(x, children[i], &name) && qstrcmp(name, title) == 0 &&
            XGetWindowAttributes(x, children[i], &attributes) && attributes.map_state == IsViewable)
            found = children[i];
        XFree(name);
    }
    XFree(children);
    return found;
}

// What a window manager sends when the user closes a window.
void askToClose(Display* x, Window w) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = w;
    event.xclient.message_type = XInternAtom(x, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(x, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(x, w, False, NoEventMask, &event);
    XFlush(x);
}

} // namespace

TEST(ProgramOnX11, ClosedThroughTheWindowSystemItEndsLeavingTheDatabaseAsItWas) {
    QTemporaryDir dir;
    const QString program = dir.filePath(u"forkwise"_s);
    const QString data = dir.filePath(u"Data/ForkData.mdb"_s);
    ASSERT_TRUE(QFile::copy(QStringLiteral(FORKWISE_PROGRAM), program));
    ASSERT_EQ(QProcess::execute(QStringLiteral(FORKWISE_MKDB), {data}), 0);
    const QByteArray before = QCryptographicHash::hash(contents(data), QCryptographicHash::Sha256);

    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"XDG_CONFIG_HOME"_s, dir.filePath(u"config"_s));
    run.setProcessEnvironment(env);
    run.start(program);
    Display* x = XOpenDisplay(nullptr);
    Window w = 0;
    EXPECT_TRUE(QTest::qWaitFor([&] { return (w = shownWindow(x, "Forkwise 1.0")) != 0; }, 30000))
        << "no main window appeared";
    if (w)
        askToClose(x, w);
    XCloseDisplay(x);
    EXPECT_TRUE(run.waitForFinished(30000)) << "the program did not end after its window closed";
    if (run.state() != QProcess::NotRunning) {
        run.kill();
        run.waitForFinished();
    }
    EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);

    EXPECT_EQ(QCryptographicHash::hash(contents(data), QCryptographicHash::Sha256), before);
    EXPECT_EQ(QDir(dir.filePath(u"Data"_s)).entryList(QDir::Files), QStringList{u"ForkData.mdb"_s})
        << "a journal was left behind";
    EXPECT_EQ(queryValue(data, u"PRAGMA integrity_check"_s), u"ok"_s);
    EXPECT_TRUE(contents(dir.filePath(u"config/Forkwise/Forkwise.conf"_s)).contains("MainWidth"))
        << "the window's placement was not saved";
}
