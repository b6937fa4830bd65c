#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <memory>

// A data source reached through the ODBC driver manager (unixODBC): the earlier database
// the legacy import reads. Values are read as text (the driver's wide characters), so
// every conversion is the importer's own and the same whatever the driver.
// Failures become DatabaseError with the driver's diagnostics.
class OdbcSource {
public:
    // Connects without a prompt, e.g. "DSN=Tabel;PWD=…".
    explicit OdbcSource(const QString& connectionString);
    ~OdbcSource();
    OdbcSource(const OdbcSource&) = delete;
    OdbcSource& operator=(const OdbcSource&) = delete;

    // The single number the query selects (a count).
    qint64 scalar(const QString& query);

    // The names of the source's tables and views, spelled as its catalogue holds them.
    QStringList tableNames();
    // A table name as the source's SQL needs it written: between its quote characters.
    QString quoted(const QString& name);

    struct Handles;

private:
    friend class OdbcReader;
    std::unique_ptr<Handles> handles_;
};

// The rows of one query, read a rowset at a time into bound column arrays. Only the
// columns asked for are read; they are found by name without regard to case.
class OdbcReader {
public:
    OdbcReader(OdbcSource& source, const QString& query, int rowsetSize);
    ~OdbcReader();
    OdbcReader(const OdbcReader&) = delete;
    OdbcReader& operator=(const OdbcReader&) = delete;

    // The result's column of that name, or -1.
    int findColumn(const QString& name) const;
    // The name as the source spells it.
    QString columnName(int column) const;
    // Reads that column from now on; returns its slot for value().
    int bind(int column);

    // Fetches the next rowset; its number of rows, 0 at the end.
    int fetch();

    struct Value {
        bool null = false;
        bool truncated = false;  // longer than the column's buffer
        QStringView text;
    };
    Value value(int row, int slot) const;

private:
    struct Rowset;
    std::unique_ptr<Rowset> rowset_;
};
