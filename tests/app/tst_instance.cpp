// One Pramel per store, with the real program: a second start brings the
// first one's window forward and ends; a lock left by a killed process is
// taken over, and so is one whose process id another Pramel now has; a
// folder that cannot be written is named; SIGTERM ends the program cleanly
// with the store file whole, and at once while a fatal error is shown.

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <unistd.h>

class InstanceTest : public QObject {
    Q_OBJECT

    QTemporaryDir home_;

    void start(QProcess& process, const QStringList& arguments = {}, QString home = {}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", home.isEmpty() ? home_.path() : home);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.start(PRAMEL_BINARY, arguments);
        QVERIFY(process.waitForStarted());
    }
    QString folder() const { return home_.path() + "/Pramel"; }
    // Started, holding its lock and its store.
    void waitUntilRunning() {
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(folder() + "/Pramel.lock") &&
                                     QFile::exists(folder() + "/TestModel.sqlite"),
                                 10000);
        QTest::qWait(300);
    }
    // Stops the program, which is showing a dialog.
    static void stop(QProcess& process) {
        process.kill();
        process.waitForFinished();
    }

private Q_SLOTS:
    void secondStartShowsTheFirstAndEnds() {
        QProcess first;
        start(first);
        waitUntilRunning();

        QProcess second;
        start(second);
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(second.readAllStandardOutput().contains("Pramel is already running"));
        QByteArray firstOut;
        QTRY_VERIFY2(
            (firstOut += first.readAllStandardOutput()).contains("Activated by a second start"),
            firstOut.constData());
        QCOMPARE(first.state(), QProcess::Running);

        // A lock left by a process that was killed is taken over.
        first.kill();
        QVERIFY(first.waitForFinished());
        QVERIFY(QFile::exists(folder() + "/Pramel.lock"));
        QProcess third;
        start(third);
        waitUntilRunning();
        QCOMPARE(third.state(), QProcess::Running);

        // SIGTERM quits the clean way: the store file alone is the whole store.
        ::kill(third.processId(), SIGTERM);
        QVERIFY(third.waitForFinished(10000));
        QCOMPARE(third.exitStatus(), QProcess::NormalExit);
        QCOMPARE(third.exitCode(), 0);
        QVERIFY(!QFile::exists(folder() + "/TestModel.sqlite-wal"));
        QVERIFY(!QFile::exists(folder() + "/Pramel.lock"));
    }

    // SIGTERM while the window is being built still quits, the clean way.
    void sigtermDuringTheStartQuits() {
        QProcess early;
        start(early);
        QByteArray out;
        QTRY_VERIFY_WITH_TIMEOUT((out += early.readAllStandardOutput()).contains("Inspector"),
                                 10000);
        ::kill(early.processId(), SIGTERM);
        QVERIFY(early.waitForFinished(10000));
        QCOMPARE(early.exitStatus(), QProcess::NormalExit);
        QCOMPARE(early.exitCode(), 0);
        QVERIFY(!QFile::exists(folder() + "/Pramel.lock"));
    }

    // "Open With Pramel": the files given at start become titles, and so do
    // those given to a second start, in the first one's window.
    void filesGivenAtStartBecomeTitles() {
        QTemporaryDir books;
        QFile first(books.filePath("Die Verwandlung.txt"));
        QVERIFY(first.open(QIODevice::WriteOnly));
        first.write("Als Gregor Samsa eines Morgens aus unruhigen Träumen erwachte.");
        first.close();
        QFile second(books.filePath("Film mit Namen.srt"));
        QVERIFY(second.open(QIODevice::WriteOnly));
        second.write("1\n00:00:01,000 --> 00:00:02,000\nEs war kein Traum.\n");
        second.close();

        QProcess running;
        // A relative name is taken from the folder the program starts in.
        running.setWorkingDirectory(books.path());
        start(running, {"Die Verwandlung.txt"});
        waitUntilRunning();
        QByteArray out;
        QTRY_VERIFY2((out += running.readAllStandardOutput())
                         .contains("Opened " + first.fileName().toUtf8()),
                     out.constData());

        QProcess again;
        start(again, {second.fileName()});
        QVERIFY(again.waitForFinished(10000));
        QCOMPARE(again.exitCode(), 0);
        QTRY_VERIFY2((out += running.readAllStandardOutput())
                         .contains("Opened " + second.fileName().toUtf8()),
                     out.constData());

        ::kill(running.processId(), SIGTERM);
        QVERIFY(running.waitForFinished(10000));
        QCOMPARE(running.exitCode(), 0);
    }

    // A lock left by a crash in a folder that has become read-only: no
    // Pramel runs, the folder is the trouble.
    void aLockThatCannotBeTakenOverNamesTheFolder() {
        QProcess crashed;
        start(crashed);
        waitUntilRunning();
        stop(crashed);
        QVERIFY(QFile::exists(folder() + "/Pramel.lock"));
        QFile::setPermissions(home_.path(), QFile::Permissions(0x7755));
        QFile::setPermissions(folder(), QFile::Permissions(0x5555));

        QProcess again;
        if (geteuid() == 0) { // root writes anywhere: the program drops it
            again.setChildProcessModifier([] {
                if (setgid(65534) != 0 || setuid(65534) != 0)
                    _exit(99);
            });
        }
        start(again);
        QByteArray out;
        QTRY_VERIFY2_WITH_TIMEOUT(
            (out += again.readAllStandardOutput())
                .contains("The data folder " + folder().toUtf8() + " cannot be written"),
            out.constData(), 10000);
        QVERIFY(!out.contains("already running"));
        stop(again);
        QFile::setPermissions(folder(), QFile::Permissions(0x7755));
    }

    // The lock's process id now belongs to a Pramel of another data folder.
    void aLockOfAnotherFoldersPramelIsTakenOver() {
        QProcess elsewhere;
        start(elsewhere);
        waitUntilRunning();
        QTemporaryDir home;
        QVERIFY(QDir().mkpath(home.path() + "/Pramel"));
        QVERIFY(QFile::copy(folder() + "/Pramel.lock", home.path() + "/Pramel/Pramel.lock"));

        QProcess here;
        start(here, {}, home.path());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(home.path() + "/Pramel/TestModel.sqlite"), 10000);
        QTest::qWait(300);
        QCOMPARE(here.state(), QProcess::Running);
        for (QProcess* process : {&here, &elsewhere}) {
            ::kill(process->processId(), SIGTERM);
            QVERIFY(process->waitForFinished(10000));
            QCOMPARE(process->exitCode(), 0);
        }
    }

    // A signal ends the program while it shows a fatal error, with the
    // error's status.
    void signalsEndTheFatalErrorDialog_data() {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGHUP") << SIGHUP;
        QTest::newRow("SIGINT") << SIGINT;
    }
    void signalsEndTheFatalErrorDialog() {
        QFETCH(int, signalNumber);
        QTemporaryDir home;
        QVERIFY(QDir().mkpath(home.path() + "/Pramel"));
        QFile store(home.path() + "/Pramel/TestModel.sqlite");
        QVERIFY(store.open(QIODevice::WriteOnly));
        store.write(QByteArray("no store at all\n").repeated(512));
        store.close();

        QProcess damaged;
        start(damaged, {}, home.path());
        QByteArray err;
        QTRY_VERIFY_WITH_TIMEOUT((err += damaged.readAllStandardError()).contains("Fatal error"),
                                 10000);
        QTest::qWait(300); // the dialog is up
        ::kill(damaged.processId(), signalNumber);
        const bool ended = damaged.waitForFinished(5000);
        if (!ended)
            stop(damaged);
        QVERIFY(ended);
        QCOMPARE(damaged.exitStatus(), QProcess::NormalExit);
        QCOMPARE(damaged.exitCode(), 1);
    }
};

QTEST_GUILESS_MAIN(InstanceTest)
#include "tst_instance.moc"
