#pragma once

#include <QString>
#include <stdexcept>

// The one exception a database failure becomes. It carries the server's (or the
// client library's) text unchanged, so the general error display shows what the
// server said.
class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const QString& message, const QString& sqlState = {})
        : std::runtime_error(message.toStdString()), text_(message), sqlState_(sqlState) {}

    const QString& text() const { return text_; }
    // The server's five-character error code ("22P02"); empty for the client's own errors.
    const QString& sqlState() const { return sqlState_; }

private:
    QString text_;
    QString sqlState_;
};
