#pragma once

#include "commportdriver.h"
#include "fakeserialplatform.h"

#include <QSignalSpy>

#include <memory>

// A driver on a fresh recording platform, for tests that check what the driver asks of the port.
struct TDriverOnFake {
    TFakeSerialPlatform platform;
    std::unique_ptr<TCommPortDriver> driver = std::make_unique<TCommPortDriver>(nullptr, &platform);
    QSignalSpy pollStarted{driver.get(), &TCommPortDriver::PollStarted};
    QSignalSpy pollStopped{driver.get(), &TCommPortDriver::PollStopped};
    int devicesLost = 0;

    TDriverOnFake()
    {
        driver->OnDeviceLost = [this](QObject *) { ++devicesLost; };
    }
    // Opens the port and forgets the calls that took, so a test sees only what follows.
    bool OpenFresh()
    {
        const bool opened = driver->OpenPort();
        platform.Calls.clear();
        pollStarted.clear();
        pollStopped.clear();
        return opened;
    }
    const TLineState &Applied() const { return platform.LineStates.constLast(); }
};
