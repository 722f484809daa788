#pragma once
// A print scheduler of the test's own, so the real print path can be tested without touching the
// machine's printing: cupsd started as an ordinary user (as nobody when the test runs as root),
// with its settings, socket, spool, logs and output all in one temporary folder, and one queue,
// cups-filters' Generic PDF Printer on a file: device, as its default. While it lives this
// process prints to it: CUPS_SERVER names its socket, HOME is in the folder (no ~/.cups/lpoptions
// of the person running the tests) and LPDEST and PRINTER are unset. The scheduler is stopped by
// its pid when the object goes.
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <optional>
#include <vector>

class CupsScheduler {
public:
    explicit CupsScheduler(const QString& folder);
    ~CupsScheduler();
    CupsScheduler(const CupsScheduler&) = delete;
    CupsScheduler& operator=(const CupsScheduler&) = delete;

    // Why the scheduler or its queue could not be set up; empty when both are ready.
    const QString& error() const { return error_; }
    // The file the queue writes each job to.
    QString printed() const { return folder_ + QStringLiteral("/out/printed.pdf"); }
    // Waits until the queue has no job left; false when one is still there after a minute.
    bool waitUntilIdle();

private:
    QString setUp();
    // Runs a CUPS client program against this scheduler; its output, or why it failed in `why`.
    QByteArray client(const QString& program, const QStringList& args, QString* why = nullptr);
    void setEnv(const char* name, const std::optional<QByteArray>& value);

    QString folder_;
    QProcess cupsd_;
    QString error_;
    std::vector<std::pair<QByteArray, std::optional<QByteArray>>> savedEnv_;
};
