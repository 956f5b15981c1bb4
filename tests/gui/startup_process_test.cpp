// The desktop program as a process: single instance, log per run, clean end on a stop signal.
#include <ctime>
#include <filesystem>
#include <signal.h>
#include <unistd.h>

#include <QProcess>
#include <QtTest>

#include "common/program_dir_copy.h"
#include "common/temp_dir.h"

namespace
{

// The program opens the device protocol's sockets at start-up, so it runs in a network namespace of
// its own that has nothing but a loopback interface and goes with the process.
void StartIsolated(QProcess& process, const QString& executable)
{
    QStringList arguments = {"--net"};
    if (geteuid() != 0)
        arguments << "--map-root-user";
    process.start("unshare", arguments << executable);
}

} // namespace

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
        // What a run that crashed leaves behind.
        const std::string database = program.Path() + "data.mdb";
        WriteTextFile(database, "left by a crashed run");

        QProcess first;
        first.setProcessEnvironment(environment);
        StartIsolated(first, executable);
        QVERIFY(first.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(ListLogFiles(program.Path()).size(), size_t(1), 10000);
        const time_t firstStart = time(nullptr);
        QTRY_VERIFY_WITH_TIMEOUT(time(nullptr) > firstStart, 3000);
        QTRY_VERIFY_WITH_TIMEOUT(ReadTextFile(database).rfind("SQLite format 3", 0) == 0, 10000);

        QProcess second;
        second.setProcessEnvironment(environment);
        StartIsolated(second, executable);
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(ListLogFiles(program.Path()).size(), size_t(2));
        QCOMPARE(first.state(), QProcess::Running);
        // The second copy never reached the store: the running copy's database is untouched.
        QVERIFY(std::filesystem::exists(database));

        kill(static_cast<pid_t>(first.processId()), SIGTERM);
        QVERIFY(first.waitForFinished(10000));
        QCOMPARE(first.exitStatus(), QProcess::NormalExit);
        QCOMPARE(first.exitCode(), 0);
        const std::string log = ReadTextFile(ListLogFiles(program.Path()).front());
        QVERIFY2(log.find("Fieldmate exit") != std::string::npos, log.c_str());
        // The device link came up (without the adapter library, which this directory lacks).
        QVERIFY2(log.find("LoadLibrary dll 0") != std::string::npos, log.c_str());
        QVERIFY2(log.find("[ERROR]") == std::string::npos, log.c_str());
        QVERIFY(!std::filesystem::exists(database));
    }

    void unopenableDatabaseStillOpensTheWindowAndStopsCleanly()
    {
        CTempDir program;
        CTempDir lockDirectory;
        CopyProgramFiles(program.Path(), {"fieldmate"});
        // A directory in the database's place can be neither removed nor opened.
        std::filesystem::create_directory(program.Path() + "data.mdb");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(lockDirectory.Path()));
        environment.insert("QT_QPA_PLATFORM", "offscreen");

        QProcess run;
        run.setProcessEnvironment(environment);
        StartIsolated(run, QString::fromStdString(program.Path() + "fieldmate"));
        QVERIFY(run.waitForStarted());
        const auto logHas = [&program](const char* text)
        {
            const std::vector<std::string> logs = ListLogFiles(program.Path());
            return !logs.empty() && ReadTextFile(logs.front()).find(text) != std::string::npos;
        };
        QTRY_VERIFY_WITH_TIMEOUT(logHas("Failed to open database, unable to get data."), 10000);
        QCOMPARE(run.state(), QProcess::Running);

        // The message box is up; the stop signal still ends the run through its shutdown.
        kill(static_cast<pid_t>(run.processId()), SIGTERM);
        QVERIFY(run.waitForFinished(10000));
        QCOMPARE(run.exitStatus(), QProcess::NormalExit);
        QCOMPARE(run.exitCode(), 0);
        QVERIFY(logHas("Fieldmate exit"));
    }
};

QTEST_MAIN(StartupProcessTest)
#include "startup_process_test.moc"
