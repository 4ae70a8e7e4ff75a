#pragma once

// Tests of what an ordinary user meets (files one may not write, devices one may not read) when
// the tests run as root, whom the mode bits do not bind: the test runs again as "nobody".

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

// Marks the copy of a test that runs under an unprivileged user.
inline constexpr char UnprivilegedChild[] = "DEVOZORA_TEST_UNPRIVILEGED";

// Takes write permission away from a file or folder for as long as it lives, and gives it back
// so that the temporary folder can be removed.
class WriteProtected {
public:
    explicit WriteProtected(QString path) : Path(std::move(path)), Saved(QFile::permissions(Path))
    {
        QFile::setPermissions(Path, Saved & ~(QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther));
    }
    ~WriteProtected() { QFile::setPermissions(Path, Saved); }
    WriteProtected(const WriteProtected&) = delete;
    WriteProtected& operator=(const WriteProtected&) = delete;

private:
    QString Path;
    QFile::Permissions Saved;
};

// Root (or a process with CAP_DAC_OVERRIDE) writes where the mode bits say it may not; the tests
// of read-only locations then have to run as someone else.
inline bool ModeBitsBindUs()
{
    QTemporaryDir dir;
    const WriteProtected locked(dir.path());
    QFile probe(dir.filePath(QStringLiteral("probe")));
    return !probe.open(QIODevice::WriteOnly);
}

// Runs the current test function (its current row) again in a copy of this program under the user
// "nobody" (setpriv, util-linux), inside a temporary folder that user owns.
inline void RunAsUnprivilegedUser()
{
    if (qEnvironmentVariableIsSet(UnprivilegedChild))
        QFAIL("mode bits do not bind the unprivileged user either");
    constexpr uid_t Nobody = 65534;
    QTemporaryDir shared;
    QVERIFY(shared.isValid());
    QCOMPARE(::chown(QFile::encodeName(shared.path()).constData(), Nobody, Nobody), 0);

    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), shared.path());
    environment.insert(QString::fromLatin1(UnprivilegedChild), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    const char* tag = QTest::currentDataTag();
    const QString row = tag ? QStringLiteral(":") + QString::fromLatin1(tag) : QString();
    child.start(QStringLiteral("setpriv"),
                {QStringLiteral("--reuid=%1").arg(Nobody), QStringLiteral("--regid=%1").arg(Nobody),
                 QStringLiteral("--clear-groups"), QStringLiteral("--"), QCoreApplication::applicationFilePath(),
                 QString::fromLatin1(QTest::currentTestFunction()) + row});
    if (!child.waitForStarted())
        QSKIP("running as root and setpriv is not available to drop the privileges");
    QVERIFY(child.waitForFinished(120000));
    const QByteArray output = child.readAll();
    if (child.exitStatus() == QProcess::NormalExit && output.startsWith("setpriv:"))
        QSKIP(qPrintable(QStringLiteral("cannot drop the privileges: ") + QString::fromLocal8Bit(output)));
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        qWarning().noquote() << output;
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
}
