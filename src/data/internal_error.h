#pragma once

#include <QString>
#include <stdexcept>

// A slip in the program itself found while it runs: a field or parameter name a statement
// does not have, a dataset used while closed or not being edited, a lock outside a
// transaction. Nothing the database or the user did, so it is not shown as a database
// error; the handler that met it ends and the program goes on.
class InternalError : public std::logic_error {
public:
    explicit InternalError(const QString& message) : std::logic_error(message.toStdString()), text_(message) {}

    const QString& text() const { return text_; }

private:
    QString text_;
};
