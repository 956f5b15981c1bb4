// The desktop program as a process: single instance, log per run, clean end on a stop signal.
#include <ctime>
#include <signal.h>

#include <QProcess>
#include <QtTest>

#include "common/program_dir_copy.h"
#include "common/temp_dir.h"

class StartupProcessTest : public QObject
{
    Q_OBJECT

private slots:
    void secondCopyExitsAtOnceAndStopSignalEndsTheRunCleanly()
    {
        CTempDir program;
        CTempDir lockDirectory;
        CopyProgramFiles(program.Path(), {"fieldmate"});
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(lockDirectory.Path()));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        const QString executable = QString::fromStdString(program.Path() + "fieldmate");

        QProcess first;
        first.setProcessEnvironment(environment);
        first.start(executable);
        QVERIFY(first.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(ListLogFiles(program.Path()).size(), size_t(1), 10000);
        const time_t firstStart = time(nullptr);
        QTRY_VERIFY_WITH_TIMEOUT(time(nullptr) > firstStart, 3000);

        QProcess second;
        second.setProcessEnvironment(environment);
        second.start(executable);
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(ListLogFiles(program.Path()).size(), size_t(2));
        QCOMPARE(first.state(), QProcess::Running);

        kill(static_cast<pid_t>(first.processId()), SIGTERM);
        QVERIFY(first.waitForFinished(10000));
        QCOMPARE(first.exitStatus(), QProcess::NormalExit);
        QCOMPARE(first.exitCode(), 0);
        const std::string log = ReadTextFile(ListLogFiles(program.Path()).front());
        QVERIFY2(log.find("Fieldmate exit") != std::string::npos, log.c_str());
    }
};

QTEST_MAIN(StartupProcessTest)
#include "startup_process_test.moc"
