#pragma once

#include <QString>
#include <stdexcept>

// The one exception a database failure becomes. It carries the server's (or the
// client library's) text unchanged, so the general error display shows what the
// server said.
class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const QString& message)
        : std::runtime_error(message.toStdString()), text_(message) {}

    const QString& text() const { return text_; }

private:
    QString text_;
};
