#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QToolButton;

// The status-bar strip shown while a file goes out: the file's name, the bytes sent of the total,
// and a Stop button.
class TFileSendBar : public QWidget
{
    Q_OBJECT
public:
    explicit TFileSendBar(QWidget *parent = nullptr);

    void Begin(const QString &fileName, qint64 total);
    void SetProgress(qint64 done, qint64 total);

    QProgressBar *ProgressBar() const { return m_progress; }
    QToolButton *StopButton() const { return m_stop; }

signals:
    void StopRequested();

private:
    QLabel *m_name;
    QProgressBar *m_progress;
    QToolButton *m_stop;
};
