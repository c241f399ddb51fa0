#pragma once

#include <QString>

#include <exception>
#include <functional>
#include <stdexcept>

// An error that ends the current handler; the handler guard shows its text in the standard error box.
class TAppError : public std::runtime_error
{
public:
    explicit TAppError(const QString &message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {
    }
    const QString &Message() const { return m_message; }

private:
    QString m_message;
};

// Runs action; an exception it throws ends it, and its text goes to report instead. Exceptions
// that are not std::exception read as "Unknown error".
inline void RunReportingErrors(const std::function<void()> &action,
                               const std::function<void(const QString &)> &report) noexcept
{
    try {
        action();
    } catch (const TAppError &error) {
        report(error.Message());
    } catch (const std::exception &error) {
        report(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        report(QStringLiteral("Unknown error"));
    }
}
