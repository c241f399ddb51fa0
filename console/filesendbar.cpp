#include "filesendbar.h"

#include "accessiblerole.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QToolButton>

namespace {

// QProgressBar counts in int; a per-mille scale keeps files of any size in range.
constexpr int kScale = 1000;

} // namespace

TFileSendBar::TFileSendBar(QWidget *parent)
    : QWidget(parent)
    , m_name(new QLabel(this))
    , m_progress(new QProgressBar(this))
    , m_stop(new QToolButton(this))
{
    SetAccessibleRole("TFileSendBar", QAccessible::Pane);
    setObjectName("FileSendBar");
    setAccessibleName("File send");
    m_name->setObjectName("FileSendText");
    m_progress->setObjectName("FileSendProgress");
    m_progress->setAccessibleName("File send progress");
    m_progress->setRange(0, kScale);
    m_progress->setFixedWidth(220);
    m_stop->setObjectName("FileSendStop");
    m_stop->setText("Stop");
    m_stop->setToolTip("Stop sending the file (Esc)");
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_name);
    layout->addWidget(m_progress);
    layout->addWidget(m_stop);
    connect(m_stop, &QToolButton::clicked, this, &TFileSendBar::StopRequested);
}

void TFileSendBar::Begin(const QString &fileName, qint64 total)
{
    m_name->setText(QFileInfo(fileName).fileName());
    m_name->setToolTip(fileName);
    SetProgress(0, total);
    m_progress->show();
    m_stop->show();
}

void TFileSendBar::End(const QString &summary)
{
    m_name->setText(summary);
    m_progress->hide();
    m_stop->hide();
}

void TFileSendBar::SetProgress(qint64 done, qint64 total)
{
    m_progress->setValue(total > 0 ? int(done * kScale / total) : kScale);
    m_progress->setFormat(QString("%1 of %2 bytes").arg(done).arg(total));
}
