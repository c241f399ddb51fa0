#pragma once

#include <QString>

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
