// Why a device would not open, each reason produced by a real cause on this machine.
#include "comportmap.h"
#include "portdiagnosis.h"
#include "posixerror.h"
#include "posixserialplatform.h"
#include "pseudoterminal.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Opens path as COM1 through the real serial layer and looks up why it failed.
TPortDiagnosis Attempt(const QString &path)
{
    TTempConfigHome home;
    if (!TComPortMap().Assign(QStringLiteral("COM1"), path))
        return {};
    TPosixSerialPlatform platform;
    const TSerialOpenResult result = platform.Open(QStringLiteral("COM1"));
    if (result.Handle != kInvalidPortHandle)
        platform.Close(result.Handle);
    return DiagnoseOpenFailure(result.Failure, result.Device);
}

struct TRefusal
{
    int Failure = -1;
    int Access = -1;
    char Group[32] = {};
};

// Opens path in a child process that runs as nobody, and diagnoses the failure there.
std::optional<TRefusal> AttemptAsNobody(const QString &path)
{
    const passwd *nobody = ::getpwnam("nobody");
    int channel[2];
    if (!nobody || ::pipe(channel) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
        TRefusal refusal;
        if (::setgroups(0, nullptr) == 0 && ::setgid(nobody->pw_gid) == 0 && ::setuid(nobody->pw_uid) == 0) {
            const QByteArray name = QFile::encodeName(path);
            const int fd = ::open(name.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
            const TPortDiagnosis d = DiagnoseOpenFailure(ClassifyErrno(fd < 0 ? errno : 0).Failure, path);
            refusal = {int(d.Failure), int(d.Access), {}};
            qstrncpy(refusal.Group, d.Group.toLocal8Bit().constData(), sizeof refusal.Group);
        }
        const ssize_t written = ::write(channel[1], &refusal, sizeof refusal);
        ::_exit(written == sizeof refusal ? 0 : 1);
    }
    ::close(channel[1]);
    TRefusal refusal;
    const bool got = ::read(channel[0], &refusal, sizeof refusal) == sizeof refusal;
    ::close(channel[0]);
    ::waitpid(child, nullptr, 0);
    return got && refusal.Failure >= 0 ? std::optional(refusal) : std::nullopt;
}

} // namespace

class TstPortDiagnosis : public QObject
{
    Q_OBJECT

private slots:
    void whatIsAtThePath_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("failure");
        QTest::addColumn<int>("kind");
        QTest::newRow("missing") << "no-such-tty" << int(TOpenFailure::NoSuchDevice) << int(TPortDiagnosis::TKind::Missing);
        QTest::newRow("regular file") << "file" << int(TOpenFailure::NotASerialPort)
                                      << int(TPortDiagnosis::TKind::RegularFile);
        QTest::newRow("folder") << "folder" << int(TOpenFailure::NotASerialPort) << int(TPortDiagnosis::TKind::Folder);
    }
    void whatIsAtThePath()
    {
        QFETCH(QString, name);
        QFETCH(int, failure);
        QFETCH(int, kind);
        QTemporaryDir dir;
        QFile(dir.filePath(QStringLiteral("file"))).open(QIODevice::WriteOnly);
        QDir(dir.path()).mkdir(QStringLiteral("folder"));
        const TPortDiagnosis d = Attempt(dir.filePath(name));
        QCOMPARE(int(d.Failure), failure);
        QCOMPARE(int(d.Kind), kind);
        QCOMPARE(d.Device, dir.filePath(name));
    }

    void busyDeviceNamesItsHolder()
    {
        TPseudoTerminal pty;
        QVERIFY(pty.IsValid());
        QProcess holder;
        // flock keeps the lock and the descriptor itself while its command runs.
        holder.start(QStringLiteral("flock"), {QStringLiteral("-o"), pty.SlavePath(), QStringLiteral("sleep"),
                                               QStringLiteral("60")});
        if (!holder.waitForStarted())
            QSKIP("flock (util-linux) is not installed");
        TPortDiagnosis d;
        QTRY_VERIFY((d = Attempt(pty.SlavePath())).Failure == TOpenFailure::InUse);
        QCOMPARE(d.HolderName, QStringLiteral("flock"));
        QCOMPARE(qint64(d.HolderPid), holder.processId());
        holder.kill();
        holder.waitForFinished();
    }

    void refusedDeviceSaysWhoMayOpenIt_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("groupName");
        QTest::addColumn<int>("access");
        QTest::newRow("group dialout") << 0660 << "dialout" << int(TPortDiagnosis::TAccess::NotInGroup);
        QTest::newRow("root only") << 0600 << "dialout" << int(TPortDiagnosis::TAccess::RootOnly);
    }
    void refusedDeviceSaysWhoMayOpenIt()
    {
        QFETCH(int, mode);
        QFETCH(QString, groupName);
        QFETCH(int, access);
        if (::geteuid() != 0)
            QSKIP("needs root, to make a root-owned node and open it as nobody");
        const group *owner = ::getgrnam(groupName.toLatin1().constData());
        if (!owner || !::getpwnam("nobody"))
            QSKIP("no dialout group or nobody user on this machine");
        TPseudoTerminal pty;
        QVERIFY(pty.IsValid());
        const QByteArray node = QFile::encodeName(pty.SlavePath());
        QCOMPARE(::chown(node.constData(), 0, owner->gr_gid), 0);
        QCOMPARE(::chmod(node.constData(), mode_t(mode)), 0);
        const std::optional<TRefusal> refusal = AttemptAsNobody(pty.SlavePath());
        QVERIFY(refusal);
        QCOMPARE(refusal->Failure, int(TOpenFailure::PermissionDenied));
        QCOMPARE(refusal->Access, access);
        QCOMPARE(QString::fromLocal8Bit(refusal->Group), groupName);
    }
};

QTEST_GUILESS_MAIN(TstPortDiagnosis)
#include "tst_portdiagnosis.moc"
