#include "receiverig.h"

#include "commportdriver.h"

#include <QAbstractButton>

#include <cstdio>

TReceiveRig::TReceiveRig(const QString &logPath)
    : m_logPath(logPath)
{
    TCommPortDriver &driver = m_form.CommPortDriver();
    auto window = driver.OnReceiveData;
    driver.OnReceiveData = [this, window](QObject *sender, const void *data, int size) {
        if (OnBlock)
            OnBlock(m_received, size);
        m_received += size;
        window(sender, data, size);
    };
}

void TReceiveRig::Configure(bool hexMode, bool columns)
{
    const auto check = [this](const char *name, bool on) {
        m_form.findChild<QAbstractButton *>(QString::fromLatin1(name))->setChecked(on);
    };
    check(hexMode ? "RxMemoHex" : "RxMemoStr", true);
    check("TCBox", !hexMode);
    check("CRLFCBox", true);
    for (const char *name : {"CBoxDec", "CBoxHex", "CBoxBin"})
        check(name, columns);
}

bool TReceiveRig::Connect()
{
    m_form.ConnectBtnClick();
    return m_form.CommPortDriver().IsOpen();
}

void TReceiveRig::ErrorBox(QWidget *, const QString &caption, const QString &text)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
}
