#include "receiverig.h"

#include <QHBoxLayout>

TReceiveRig::TReceiveRig()
    : m_box(new TMemoView(this))
{
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_box, 1);
    for (TByteColumn *column : {&m_dec, &m_hex, &m_bin}) {
        auto *view = new TMemoView(this);
        view->setFixedWidth(column == &m_bin ? 87 : 57);
        view->SetSource(column);
        layout->addWidget(view);
    }
    m_display = std::make_unique<TReceiveDisplay>(m_box->Lines(), m_dec, m_hex, m_bin, m_clock);
    m_driver.SetComPortPollingDelay(0);
    m_driver.OnReceiveData = [this](QObject *, const void *data, int size) {
        m_received += size;
        m_display->Receive(data, size, m_options, m_log.IsOpen() ? &m_log : nullptr);
    };
}
