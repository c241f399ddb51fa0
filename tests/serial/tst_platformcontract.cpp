// The serial platform contract, run against the recording fake and against the POSIX layer on a
// pseudo-terminal.
#include "comportmap.h"
#include "fakeserialplatform.h"
#include "platformcontract.h"
#include "posixserialplatform.h"
#include "pseudoterminal.h"

#include <QTest>

namespace {

class TFakeRig : public TContractRig
{
public:
    TSerialPlatform &Platform() override { return m_platform; }
    QString PortName() const override { return QStringLiteral("COM2"); }
    void DeviceSends(const QByteArray &bytes) override { m_platform.Incoming += bytes; }
    QByteArray DeviceReceived(int) override { return m_platform.Written; }
    void HangUp() override { m_platform.Failures["Read"] = TSerialStatus::Gone; }
    void StopTakingBytes() override { m_platform.StallAfterLimits = true; }
    void TakeBytesAgain(int) override { m_platform.StallAfterLimits = false; }
    void RemoveDevice() override { m_platform.OpenFailure = TOpenFailure::NoSuchDevice; }

private:
    TFakeSerialPlatform m_platform;
};

class TPtyRig : public TContractRig
{
public:
    TSerialPlatform &Platform() override { return m_platform; }
    QString PortName() const override { return QStringLiteral("COM2"); }
    void DeviceSends(const QByteArray &bytes) override { QVERIFY(m_pty.Write(bytes)); }
    QByteArray DeviceReceived(int count) override { return m_pty.Read(count); }
    void HangUp() override { m_pty.CloseMaster(); }
    void StopTakingBytes() override {}   // nobody reads the master
    void TakeBytesAgain(int waiting) override { QCOMPARE(m_pty.Read(waiting).size(), waiting); }
    void RemoveDevice() override
    {
        QVERIFY(TComPortMap().Assign(PortName(), m_pty.SlavePath() + QStringLiteral("-gone")));
    }
    bool IsValid() const { return m_pty.IsValid(); }

private:
    TPseudoTerminal m_pty{QStringLiteral("COM2")};
    TPosixSerialPlatform m_platform;
};

class TstFakePlatformContract : public TSerialPlatformContract
{
    Q_OBJECT
protected:
    std::unique_ptr<TContractRig> CreateRig() override { return std::make_unique<TFakeRig>(); }
};

class TstPosixPlatformContract : public TSerialPlatformContract
{
    Q_OBJECT
protected:
    std::unique_ptr<TContractRig> CreateRig() override
    {
        auto rig = std::make_unique<TPtyRig>();
        return rig->IsValid() ? std::move(rig) : nullptr;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    TstFakePlatformContract fake;
    TstPosixPlatformContract posix;
    return QTest::qExec(&fake, argc, argv) | QTest::qExec(&posix, argc, argv);
}

#include "tst_platformcontract.moc"
