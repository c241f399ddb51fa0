#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QToolButton;

// The status-bar strip of a file send: while the file goes out, its name, the bytes sent of the
// total and a Stop button; after it, how the send ended, until the next one begins.
class TFileSendBar : public QWidget
{
    Q_OBJECT
public:
    explicit TFileSendBar(QWidget *parent = nullptr);

    void Begin(const QString &fileName, qint64 total);
    void SetProgress(qint64 done, qint64 total);
    void End(const QString &summary);

    QProgressBar *ProgressBar() const { return m_progress; }
    QToolButton *StopButton() const { return m_stop; }

signals:
    void StopRequested();

private:
    QLabel *m_name;
    QProgressBar *m_progress;
    QToolButton *m_stop;
};
