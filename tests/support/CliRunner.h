#pragma once

#include <QProcess>
#include <QStringList>

namespace orven::test {

// One run of the built orven-cli, without ORVEN_CONFIG_DIR from the caller's
// environment.
struct CliRun {
    int exitCode = -1; // -1 when it did not finish normally
    QString out;
    QString err;
};

inline CliRun runCli(const QStringList &args, int timeoutMs = 600000)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("ORVEN_CONFIG_DIR"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ORVEN_CLI_PATH), args);
    CliRun r;
    if (!p.waitForFinished(timeoutMs) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.exitCode = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

} // namespace orven::test
