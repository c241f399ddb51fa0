#include "mainformfixture.h"

#include "comportmap.h"

#include <QPushButton>
#include <QTest>

TMainFormFixture::TMainFormFixture(TSerialPlatform *platform)
    : App(&Dialogs)
{
    App.SetTitle(QStringLiteral("Velorand v1.9b"));
    m_form = std::make_unique<TMainForm>(App, platform);
}

TMainFormFixture::~TMainFormFixture() = default;

void TMainFormFixture::Click(const char *button) const
{
    QTest::mouseClick(Control<QPushButton>(button), Qt::LeftButton);
}

void TMainFormFixture::MapPort(int number, const QString &devicePath)
{
    TComPortMap().Assign(TComPortMap::PortName(number), devicePath);
    m_form->UpdatePortHints();
}
