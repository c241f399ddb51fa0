#pragma once

#include "bytecolumn.h"
#include "commportdriver.h"
#include "localclock.h"
#include "memoview.h"
#include "receivedisplay.h"
#include "rxlog.h"

#include <QWidget>

// The receive parts of the main window put together as the window does: the driver's blocks go
// to the receive display, which fills the receive box, the three columns and the log.
class TReceiveRig : public QWidget
{
public:
    TReceiveRig();

    TCommPortDriver &Driver() { return m_driver; }
    TReceiveOptions &Options() { return m_options; }
    TRxLog &Log() { return m_log; }
    long long Received() const { return m_received; }

private:
    TCommPortDriver m_driver;
    TLocalClock m_clock;
    TRxLog m_log{m_clock};
    TMemoView *m_box;
    TByteColumn m_dec{TByteColumn::Dec};
    TByteColumn m_hex{TByteColumn::Hex};
    TByteColumn m_bin{TByteColumn::Bin};
    std::unique_ptr<TReceiveDisplay> m_display;
    TReceiveOptions m_options;
    long long m_received = 0;
};
