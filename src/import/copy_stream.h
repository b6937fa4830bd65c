#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class Connection;

// A refusal by the server during COPY, with the line and the column it names.
struct CopyRefusal {
    QString message;
    std::optional<qint64> line;  // counted from 1 over the whole COPY
    QString column;
};

// One COPY … FROM STDIN on the connection: rows are sent while the next ones are read,
// and the server writes them meanwhile. Throws CopyRefusal. A stream left unfinished
// (an exception on the way) is cancelled, so the connection can roll back.
class CopyStream {
public:
    CopyStream(Connection& connection, const QString& statement);
    ~CopyStream();
    CopyStream(const CopyStream&) = delete;
    CopyStream& operator=(const CopyStream&) = delete;

    void send(const QByteArray& rows);
    void finish();

private:
    [[noreturn]] void refuse();

    Connection& connection_;
    bool open_ = false;
};
