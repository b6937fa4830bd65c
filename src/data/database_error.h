#pragma once

#include <QString>
#include <stdexcept>

// The one exception a database failure becomes. It carries the server's (or the
// client library's) text unchanged, so the general error display shows what the
// server said, and the server's error code and constraint, so a caller can tell a
// refusal it knows (a duplicate refused by a unique index) from any other failure.
class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const QString& message, const QString& sqlState = {}, const QString& constraint = {})
        : std::runtime_error(message.toStdString()), text_(message), sqlState_(sqlState), constraint_(constraint) {}

    const QString& text() const { return text_; }
    const QString& sqlState() const { return sqlState_; }      // e.g. "23505"; empty when the client failed
    const QString& constraint() const { return constraint_; }  // the index or constraint that refused

    bool isUniqueViolation(const QString& index) const
    {
        return sqlState_ == QStringLiteral("23505") && constraint_ == index;
    }

    // The text is the program's own Russian message, not the server's.
    bool isOwnMessage() const { return ownMessage_; }

    // A refusal by the plant's administrator scripts (db/admin, SQLSTATE class TB): their
    // message is written for users and shown as it stands, without the server's context.
    static bool isAdministratorRefusal(const QString& sqlState) { return sqlState.startsWith(QStringLiteral("TB")); }
    static DatabaseError administratorRefusal(const QString& message, const QString& sqlState)
    {
        DatabaseError error(OwnMessage{}, message);
        error.sqlState_ = sqlState;
        return error;
    }

    // A refusal for want of a privilege: the person's role may not do what was asked.
    static bool isPrivilegeRefusal(const QString& sqlState) { return sqlState == QStringLiteral("42501"); }
    static DatabaseError privilegeRefusal(const QString& message)
    {
        DatabaseError error(OwnMessage{}, message);
        error.sqlState_ = QStringLiteral("42501");
        return error;
    }

protected:
    struct OwnMessage {};
    DatabaseError(OwnMessage, const QString& message) : DatabaseError(message) { ownMessage_ = true; }

private:
    QString text_;
    QString sqlState_;
    QString constraint_;
    bool ownMessage_ = false;
};

// The server cannot be reached, even after one attempt to connect again. The program
// stays usable: the next statement tries again.
class ConnectionLostError : public DatabaseError {
public:
    ConnectionLostError() : DatabaseError(OwnMessage{}, QStringLiteral("Нет связи с сервером")) {}
};

// The server refused the login itself: no or a wrong password, or no such user. The
// server was reached, so other credentials may be let in.
class AuthenticationRefusedError : public DatabaseError {
public:
    explicit AuthenticationRefusedError(const QString& serverText) : DatabaseError(serverText) {}
};

// The connection broke while a write (or a transaction) was under way and has been
// restored. Whether the write reached the server is not known, so it is not repeated
// behind the user's back: the user repeats the action.
class ConnectionRestoredError : public DatabaseError {
public:
    ConnectionRestoredError()
        : DatabaseError(OwnMessage{}, QStringLiteral("Соединение с сервером было потеряно и восстановлено. Повторите действие.")) {}
};

// A row changed or deleted by another workstation since it was read; nothing was written.
class StaleRecordError : public DatabaseError {
public:
    StaleRecordError() : DatabaseError(OwnMessage{}, QStringLiteral("Запись изменена другим пользователем, список обновлён")) {}
};
