#pragma once

#include "serialplatform.h"

#include <QObject>

#include <memory>

// One serial device as the contract suite sees it: the platform that reaches it, the name that
// opens it, and the far end of the line.
class TContractRig
{
public:
    virtual ~TContractRig() = default;
    virtual TSerialPlatform &Platform() = 0;
    virtual QString PortName() const = 0;
    virtual void DeviceSends(const QByteArray &bytes) = 0;
    // What the device received, once count bytes are there (or a time-out passed).
    virtual QByteArray DeviceReceived(int count) = 0;
    virtual void HangUp() = 0;
    // From now on the device takes no more bytes (it may still take what fits in its buffers).
    virtual void StopTakingBytes() = 0;
    // The device reads the count bytes that wait for it and takes bytes again.
    virtual void TakeBytesAgain(int waiting) = 0;
    // From now on the name leads nowhere.
    virtual void RemoveDevice() = 0;
};

// What every serial platform must do, run against each implementation through CreateRig(), so
// that the recording fake cannot drift from the real thing.
class TSerialPlatformContract : public QObject
{
    Q_OBJECT
protected:
    virtual std::unique_ptr<TContractRig> CreateRig() = 0;

private slots:
    void openGivesPositiveHandleUntilClosed();
    void portHeldByOneOpenIsInUse();
    void missingDeviceFailsToOpen();
    void readWithNothingWaitingWouldBlock();
    void readsDeliverWaitingBytesInOrderAtMostMax();
    void writeReachesDevice();
    void fullLineRefusesWithoutError();
    void descriptorTellsWhenAFullLineTakesBytesAgain();
    void settingUpAnOpenPortSucceeds();
    void refusedLineStateStillPassesBytesUnchanged_data();
    void refusedLineStateStillPassesBytesUnchanged();
    void purgeDiscardsWaitingInput();
    void hangUpIsGone();
    void callsOnClosedHandleFail();
};
