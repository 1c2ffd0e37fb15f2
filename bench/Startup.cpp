#include "Startup.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <ctime>

namespace bench {

namespace {

qint64 monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

} // namespace

StartupTimes timeStartup(const QString& program, const QString& probe, const QString& folder, int runs)
{
    StartupTimes result;
    for (const QString& needed : {program, probe}) {
        if (!QFileInfo(needed).isFile()) {
            result.error = QStringLiteral("%1 is missing: build the bench preset first").arg(needed);
            return result;
        }
    }
    // The program keeps its single-instance lock in the runtime folder: a folder of our own keeps the runs apart
    // from a copy of the program somebody may have open.
    QTemporaryDir runtime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("LD_PRELOAD"), probe);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));

    for (int i = 0; i < runs; ++i) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(folder);
        process.setProgram(program);
        const qint64 started = monotonicNs();
        process.start();
        if (!process.waitForFinished(15000)) {
            process.kill();
            process.waitForFinished(2000);
            result.error = QStringLiteral("the program did not show its menu within 15 s in %1 (%2)")
                               .arg(folder, QString::fromLocal8Bit(process.readAllStandardError()).trimmed());
            return result;
        }
        const QList<QByteArray> words = process.readAllStandardOutput().trimmed().split(' ');
        if (words.size() != 3 || words[0] != "menu-shown") {
            result.error = QStringLiteral("the program ended without showing its menu in %1 (exit code %2: %3)")
                               .arg(folder)
                               .arg(process.exitCode())
                               .arg(QString::fromLocal8Bit(process.readAllStandardError()).trimmed());
            return result;
        }
        result.ms.add(double(words[1].toLongLong() - started) / 1e6);
        result.peakKib = std::max(result.peakKib, words[2].toLongLong());
    }
    return result;
}

} // namespace bench
