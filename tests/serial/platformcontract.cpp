#include "platformcontract.h"

#include <QElapsedTimer>
#include <QTest>

#include <poll.h>

namespace {

constexpr int kWaitMs = 10000;

struct TOpenRig {
    std::unique_ptr<TContractRig> rig;
    TPortHandle handle = kInvalidPortHandle;

    TSerialPlatform &Platform() const { return rig->Platform(); }
};

// Reads until count bytes came or the time-out passed; records the size of every read.
QByteArray ReadAll(TSerialPlatform &platform, TPortHandle handle, int count, int maxPerRead, QList<int> &sizes)
{
    QByteArray received;
    QByteArray buffer(maxPerRead, Qt::Uninitialized);
    QElapsedTimer clock;
    clock.start();
    while (received.size() < count && clock.elapsed() < kWaitMs) {
        const TSerialCount read = platform.Read(handle, buffer.data(), maxPerRead);
        if (read.Status != TSerialStatus::Ok) {
            platform.Sleep(1);
            continue;
        }
        sizes << read.Count;
        received.append(buffer.constData(), read.Count);
    }
    return received;
}

TLineState RawLine()
{
    TLineState state;
    state.BaudRate = 115200;
    state.fBinary = true;
    state.fDtrControl = 1;
    state.ByteSize = 8;
    state.XonChar = 17;
    state.XoffChar = 19;
    return state;
}

QByteArray Pattern(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 31 + 7) & 0xFF);
    return bytes;
}

} // namespace

#define OPEN_RIG(name)                                                                              \
    TOpenRig name{CreateRig()};                                                                     \
    QVERIFY(name.rig);                                                                              \
    name.handle = name.Platform().Open(name.rig->PortName()).Handle;                                \
    QVERIFY(name.handle > 0);                                                                       \
    QCOMPARE(name.Platform().SetLineState(name.handle, RawLine()), TSerialStatus::Ok)

void TSerialPlatformContract::openGivesPositiveHandleUntilClosed()
{
    OPEN_RIG(r);
    const TSerialOpenResult opened = r.Platform().Open(r.rig->PortName());
    QCOMPARE(opened.Handle, kInvalidPortHandle);
    r.Platform().Close(r.handle);
    const TSerialOpenResult again = r.Platform().Open(r.rig->PortName());
    QVERIFY(again.Handle > 0);
    QCOMPARE(again.Failure, TOpenFailure::None);
    r.Platform().Close(again.Handle);
}

void TSerialPlatformContract::portHeldByOneOpenIsInUse()
{
    OPEN_RIG(r);
    const TSerialOpenResult second = r.Platform().Open(r.rig->PortName());
    QCOMPARE(second.Handle, kInvalidPortHandle);
    QCOMPARE(second.Failure, TOpenFailure::InUse);
    r.Platform().Close(r.handle);
}

void TSerialPlatformContract::missingDeviceFailsToOpen()
{
    std::unique_ptr<TContractRig> rig = CreateRig();
    rig->RemoveDevice();
    const TSerialOpenResult opened = rig->Platform().Open(rig->PortName());
    QCOMPARE(opened.Handle, kInvalidPortHandle);
    QCOMPARE(opened.Failure, TOpenFailure::NoSuchDevice);
    QVERIFY(!opened.Device.isEmpty());
}

void TSerialPlatformContract::readWithNothingWaitingWouldBlock()
{
    OPEN_RIG(r);
    char buffer[16];
    const TSerialCount read = r.Platform().Read(r.handle, buffer, sizeof buffer);
    QCOMPARE(read.Status, TSerialStatus::WouldBlock);
    QCOMPARE(read.Count, 0);
    r.Platform().Close(r.handle);
}

void TSerialPlatformContract::readsDeliverWaitingBytesInOrderAtMostMax()
{
    OPEN_RIG(r);
    const QByteArray sent = Pattern(300);
    r.rig->DeviceSends(sent);
    QList<int> sizes;
    QCOMPARE(ReadAll(r.Platform(), r.handle, sent.size(), 128, sizes), sent);
    QVERIFY(std::all_of(sizes.begin(), sizes.end(), [](int size) { return size > 0 && size <= 128; }));
    r.Platform().Close(r.handle);
}

void TSerialPlatformContract::writeReachesDevice()
{
    OPEN_RIG(r);
    const QByteArray data = Pattern(200);
    const TSerialCount written = r.Platform().Write(r.handle, data.constData(), static_cast<int>(data.size()));
    QCOMPARE(written.Status, TSerialStatus::Ok);
    QCOMPARE(written.Count, 200);
    QCOMPARE(r.rig->DeviceReceived(200), data);
    r.Platform().Close(r.handle);
}

void TSerialPlatformContract::fullLineRefusesWithoutError()
{
    OPEN_RIG(r);
    r.rig->StopTakingBytes();
    const QByteArray block = Pattern(4096);
    TSerialCount written;
    for (int i = 0; i < 10000 && written.Status == TSerialStatus::Ok; ++i)
        written = r.Platform().Write(r.handle, block.constData(), static_cast<int>(block.size()));
    QCOMPARE(written.Status, TSerialStatus::WouldBlock);
    QCOMPARE(written.Count, 0);
    r.Platform().Close(r.handle);
}

// Whether it is writable at once is left open: a pseudo-terminal may make room behind the
// writer's back, and it wakes writers only once its far end has read nearly all it holds.
void TSerialPlatformContract::descriptorTellsWhenAFullLineTakesBytesAgain()
{
    OPEN_RIG(r);
    r.rig->StopTakingBytes();
    const QByteArray block = Pattern(4096);
    int waiting = 0;
    TSerialCount written;
    for (int i = 0; i < 10000 && written.Status == TSerialStatus::Ok; ++i) {
        written = r.Platform().Write(r.handle, block.constData(), static_cast<int>(block.size()));
        waiting += written.Count;
    }
    QCOMPARE(written.Status, TSerialStatus::WouldBlock);
    r.rig->TakeBytesAgain(waiting);
    const int descriptor = r.Platform().ReadinessDescriptor(r.handle);
    if (descriptor >= 0) {
        pollfd entry{descriptor, POLLOUT, 0};
        QCOMPARE(::poll(&entry, 1, kWaitMs), 1);
        QVERIFY(entry.revents & POLLOUT);
    }
    QCOMPARE(r.Platform().Write(r.handle, block.constData(), 1).Count, 1);
    r.Platform().Close(r.handle);
}

void TSerialPlatformContract::settingUpAnOpenPortSucceeds()
{
    OPEN_RIG(r);
    TLineState state = RawLine();
    state.BaudRate = 57600;
    state.fOutX = true;
    state.fInX = true;
    QCOMPARE(r.Platform().SetLineState(r.handle, state), TSerialStatus::Ok);
    QCOMPARE(r.Platform().Purge(r.handle, 15), TSerialStatus::Ok);
    QCOMPARE(r.Platform().SetupQueues(r.handle, 2048, 2048), TSerialStatus::Ok);
    QCOMPARE(r.Platform().SetTimeouts(r.handle, {1, 0, 1, 0, 0}), TSerialStatus::Ok);
    const TSerialCount queued = r.Platform().OutputQueueCount(r.handle);
    QCOMPARE(queued.Status, TSerialStatus::Ok);
    QCOMPARE(queued.Count, 0);
    // Modem lines may be missing (a pseudo-terminal has none), but asking must not lose the port.
    QVERIFY(r.Platform().EscapeFunction(r.handle, SerialEscape::kSetDtr) != TSerialStatus::Gone);
    TModemInputs lines;
    QVERIFY(r.Platform().ModemInputs(r.handle, lines) != TSerialStatus::Gone);
    QCOMPARE(r.Platform().SetBreak(r.handle, true), TSerialStatus::Ok);
    QCOMPARE(r.Platform().SetBreak(r.handle, false), TSerialStatus::Ok);
    r.Platform().Close(r.handle);
}

void TSerialPlatformContract::refusedLineStateStillPassesBytesUnchanged_data()
{
    QTest::addColumn<TLineState>("state");
    TLineState noRate = RawLine();
    noRate.BaudRate = 0;
    TLineState nineBits = RawLine();
    nineBits.ByteSize = 9;
    QTest::newRow("no rate") << noRate;
    QTest::newRow("nine data bits") << nineBits;
}

// A terminal starts out cooked: only the line state makes it carry bytes as they are.
void TSerialPlatformContract::refusedLineStateStillPassesBytesUnchanged()
{
    QFETCH(TLineState, state);
    TOpenRig r{CreateRig()};
    QVERIFY(r.rig);
    r.handle = r.Platform().Open(r.rig->PortName()).Handle;
    QVERIFY(r.handle > 0);
    QCOMPARE(r.Platform().SetLineState(r.handle, state), TSerialStatus::Failed);
    const QByteArray in("a\rb\nc");
    r.rig->DeviceSends(in);
    QList<int> sizes;
    QCOMPARE(ReadAll(r.Platform(), r.handle, int(in.size()), 16, sizes), in);
    // An echo of the input would reach the device before these bytes.
    const QByteArray out("x\ny");
    QCOMPARE(r.Platform().Write(r.handle, out.constData(), int(out.size())).Count, int(out.size()));
    QCOMPARE(r.rig->DeviceReceived(int(out.size())), out);
    r.Platform().Close(r.handle);
}

void TSerialPlatformContract::purgeDiscardsWaitingInput()
{
    OPEN_RIG(r);
    r.rig->DeviceSends("stale");
    QList<int> sizes;
    QCOMPARE(ReadAll(r.Platform(), r.handle, 1, 1, sizes), QByteArray("s"));
    QCOMPARE(r.Platform().Purge(r.handle, SerialPurge::kRxAbort | SerialPurge::kRxClear), TSerialStatus::Ok);
    char buffer[16];
    QCOMPARE(r.Platform().Read(r.handle, buffer, sizeof buffer).Status, TSerialStatus::WouldBlock);
    r.Platform().Close(r.handle);
}

void TSerialPlatformContract::hangUpIsGone()
{
    OPEN_RIG(r);
    r.rig->HangUp();
    char buffer[16];
    QTRY_COMPARE(r.Platform().Read(r.handle, buffer, sizeof buffer).Status, TSerialStatus::Gone);
    r.Platform().Close(r.handle);
}

void TSerialPlatformContract::callsOnClosedHandleFail()
{
    OPEN_RIG(r);
    r.Platform().Close(r.handle);
    char buffer[16] = {};
    QCOMPARE(r.Platform().Read(r.handle, buffer, sizeof buffer).Status, TSerialStatus::Failed);
    QCOMPARE(r.Platform().Write(r.handle, buffer, sizeof buffer).Status, TSerialStatus::Failed);
    QCOMPARE(r.Platform().Purge(r.handle, 15), TSerialStatus::Failed);
    QCOMPARE(r.Platform().OutputQueueCount(r.handle).Status, TSerialStatus::Failed);
    TModemInputs lines;
    QCOMPARE(r.Platform().ModemInputs(r.handle, lines), TSerialStatus::Failed);
    QCOMPARE(r.Platform().WaitModemChange(r.handle), TSerialStatus::Failed);
    QCOMPARE(r.Platform().SetBreak(r.handle, true), TSerialStatus::Failed);
    r.Platform().Close(r.handle);
}
