#include "mainformfixture.h"

#include "commportdriver.h"
#include "comportmap.h"
#include "formplacement.h"
#include "pseudoterminal.h"
#include "userstore.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QTest>

TMainFormFixture::TMainFormFixture(TSerialPlatform *platform)
    : App(&Dialogs)
    , m_platform(platform)
{
    App.SetTitle(QStringLiteral("Velorand v1.9b"));
    if (!TUserStore().WriteText(StateSection(), QStringLiteral("ShowCmd"), QStringLiteral("1")))
        qFatal("The test store cannot be written");
    m_form = std::make_unique<TMainForm>(App, platform);
}

TMainFormFixture::~TMainFormFixture()
{
    TComPortMap::ForgetRunMappings();
}

void TMainFormFixture::Click(const char *button) const
{
    QTest::mouseClick(Control<QPushButton>(button), Qt::LeftButton);
}

void TMainFormFixture::MapPort(int number, const QString &devicePath)
{
    QVERIFY(TComPortMap().Assign(TComPortMap::PortName(number), devicePath));
    m_form->UpdatePortHints();
}

bool TMainFormFixture::ConnectCom1(const TPseudoTerminal &pty)
{
    MapPort(1, pty.SlavePath());
    Click("ConnectBtn");
    return m_form->CommPortDriver().IsOpen();
}

void TMainFormFixture::Restart()
{
    m_form.reset();
    m_form = std::make_unique<TMainForm>(App, m_platform);
}

QString TMainFormFixture::StateSection()
{
    return TFormPlacement::StateKeyPath(QCoreApplication::applicationFilePath())
        + QStringLiteral("\\WindowState");
}
