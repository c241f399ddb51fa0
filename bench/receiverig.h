#pragma once

#include "application.h"
#include "dialogs.h"
#include "mainform.h"

#include <functional>

// The real main window as the benchmark drives it: dialogs that answer the log file's name and
// cancel everything else, the receive controls set by name, and a count of the bytes that the
// driver handed to the window.
class TReceiveRig : public TDialogs
{
public:
    explicit TReceiveRig(const QString &logPath);

    TMainForm &Form() { return m_form; }
    void Configure(bool hexMode, bool columns);
    bool Connect();
    long long Received() const { return m_received; }
    // Called as each block reaches the window, with the bytes received before it and its size:
    // the benchmark watches its progress without a timer of its own waking the window's thread.
    std::function<void(long long receivedBefore, int size)> OnBlock;

    std::optional<QString> OpenFile(QWidget *, const TFileOpenOptions &) override { return m_logPath; }
    std::optional<QString> SaveFile(QWidget *, const TFileOpenOptions &) override { return std::nullopt; }
    std::optional<QFont> ChooseFont(QWidget *, const QFont &) override { return std::nullopt; }
    void WarningBox(QWidget *, const QString &, const QString &) override {}
    void ErrorBox(QWidget *, const QString &caption, const QString &text) override;
    void Beep() override {}
    std::optional<QString> InputText(QWidget *, const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
    int RunModal(QDialog &) override { return 0; }

private:
    QString m_logPath;
    TApplication m_app{this};
    TMainForm m_form{m_app};
    long long m_received = 0;
};
