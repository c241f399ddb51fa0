#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

// Ends the event loop on SIGINT, SIGTERM or SIGHUP, so that the program unwinds normally and
// every destructor (the port map, the link) runs. One instance per process.
class TSignalQuit : public QObject
{
    Q_OBJECT
public:
    explicit TSignalQuit(QObject *parent = nullptr);
    ~TSignalQuit() override;

private:
    void Quit();

    std::unique_ptr<QSocketNotifier> m_notifier;
};
