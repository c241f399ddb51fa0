#pragma once

#include <QObject>

#include <array>

#include <csignal>

// Turns the signals that ask a program to end (SIGTERM, SIGHUP, SIGINT) into a Qt signal on the
// thread that created the object, so that the program can end as its window's Quit does instead
// of dying where it stands. The handler only writes the number into a socket pair, which is all a
// signal handler may safely do; a notifier reads it in the event loop, also in a nested one.
// A signal that was ignored when the object was made (nohup, a background job) stays ignored.
// One object at a time; the dispositions it replaced come back when it is destroyed.
class TQuitSignals : public QObject
{
    Q_OBJECT
public:
    static constexpr std::array kNumbers{SIGTERM, SIGHUP, SIGINT};

    explicit TQuitSignals(QObject *parent = nullptr);
    ~TQuitSignals() override;

signals:
    // Once for every signal delivered, in the order they came.
    void Received(int signalNumber);

private:
    void ReadPending();

    int m_sockets[2] = {-1, -1};
    std::array<struct sigaction, kNumbers.size()> m_previous{};
    std::array<bool, kNumbers.size()> m_caught{};
};
