#include "devsimprocess.h"

#include <QProcessEnvironment>

TDevSimProcess::TDevSimProcess(const QString &program, const QStringList &arguments)
{
    m_process.setProgram(program);
    m_process.setArguments(arguments);
    m_process.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    m_process.start();
}

TDevSimProcess::~TDevSimProcess()
{
    Stop();
}

QString TDevSimProcess::DevicePath()
{
    while (!m_process.canReadLine() && m_process.waitForReadyRead(10000)) {
    }
    return QString::fromLocal8Bit(m_process.readLine()).trimmed();
}

bool TDevSimProcess::Stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return true;
    m_process.terminate();
    return m_process.waitForFinished(10000) && m_process.exitStatus() == QProcess::NormalExit
        && m_process.exitCode() == 0;
}
