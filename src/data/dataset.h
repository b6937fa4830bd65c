#pragma once

#include "connection.h"
#include "filter_expression.h"
#include "named_parameters.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <optional>
#include <vector>

class Dataset;

// One field of a dataset's current record.
class Field {
public:
    Field(const Dataset* dataset, int column) : dataset_(dataset), column_(column) {}

    QString name() const;
    bool isNull() const;
    QString asString() const;   // null reads as an empty text
    int asInteger() const;      // null reads as 0
    qint64 asLargeInt() const;
    double asFloat() const;
    QDate asDate() const;
    QDateTime asDateTime() const;
    // The value as a QVariant of the column's type; an invalid QVariant for null.
    QVariant value() const;
    // Only while the dataset is being edited or appended.
    void setValue(const QVariant& value);

private:
    std::optional<QString> cell() const;

    const Dataset* dataset_;
    int column_;
};

// A query whose whole result is read into memory when it is opened (a static
// client-side result set), with a current record, a client-side filter and, for
// single-table queries, edits that become statements by key. The records stay in the
// server's result as it came, each value made a text when it is read: a year's report
// reads hundreds of thousands of records, and a text per value took as much memory again
// as the result, both held while converting.
//
// Parameters are written ":name" in the text and set by name without regard to case;
// they are sent bound, never pasted into the text. The filter expression and its
// on/off switch survive Close and Open.
class Dataset : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };

    struct Column {
        QString name;     // as the server returned it, lower case
        unsigned oid = 0; // server type
        bool numeric = false;
    };
    using Row = std::vector<std::optional<QString>>;

    explicit Dataset(Connection& connection, const QString& sql = {}, QObject* parent = nullptr);

    // SQL text. Changing it closes the dataset; parameter values of names that
    // stay in the text are kept.
    void setSql(const QString& sql);
    const QString& sql() const { return sql_; }
    void clearSql() { setSql(QString()); }
    void addSqlLine(const QString& line);

    void setParam(const QString& name, const QVariant& value);
    void setParams(const QVariantMap& params);
    QVariant param(const QString& name) const;

    void open();
    void close();
    bool isOpen() const { return state_ != State::Inactive; }
    // Where the current record goes after a re-read when no key field is given or the
    // record holding the key is gone.
    enum class Fallback {
        Position,  // the same record number, the last record standing in for it when the list has become shorter
        PositionOrFirst,  // the same record number while the list still has that many, else the first
        First,
    };
    // Re-reads with the current parameters (opening a closed dataset). With a key field,
    // the record holding the same key is current again when it is still there; otherwise
    // the fallback decides. When the read fails, the records stay as they were.
    void refresh(const QString& keyField = {}, Fallback fallback = Fallback::Position);

    // Records as the filter lets them through.
    int recordCount() const { return int(visible_.size()); }
    bool isEmpty() const { return visible_.empty(); }
    int recNo() const { return current_ + 1; }  // 1-based; 0 when empty
    void setRecNo(int recNo);
    void first();
    void last();
    void next();
    void prior();
    bool eof() const { return eof_; }

    Field fieldByName(const QString& name) const;
    const std::vector<Column>& columns() const { return columns_; }
    int columnIndex(const QString& name) const;

    // The expression's :name parameters take their values from params.
    void setFilter(const QString& expression, const QVariantMap& params = {});
    const QString& filter() const { return filterText_; }
    void setFiltered(bool on);
    bool filtered() const { return filtered_; }

    // Moves to the first record (among those the filter lets through) whose field
    // equals the value; false and no move when there is none.
    bool locate(const QString& fieldName, const QVariant& value);

    // Single-table editing. Without key fields a row is found by all its original values.
    void setUpdateTable(const QString& table, const QStringList& keyFields = {});
    // A column the query reads that the server renews on every change of a row
    // (PostgreSQL's xmin): an edit or delete then touches the row only while it is as it
    // was read, and throws StaleRecordError when another workstation changed or deleted it.
    void setRowVersion(const QString& column) { rowVersion_ = column; }
    void append();
    void edit();  // on an empty dataset, appends
    void post();
    void cancel();
    void deleteRecord();
    State state() const { return state_; }

    // Rows for grid models: the n-th record the filter lets through (0-based).
    std::optional<QString> cellAt(int visibleRow, int column) const;

signals:
    void aboutToReset();
    void reset();
    void currentChanged(int recNo);

private:
    friend class Field;

    // A record: a row of the result as read, or one an edit stored since.
    struct Record {
        int row;  // in result_, or in posted_
        bool posted;
    };

    std::optional<QString> cellOf(const Record& record, int column) const;
    Row rowOf(const Record& record) const;
    std::optional<QString> currentCell(int column) const;
    PgResultHandle read() const;
    void load(PgResultHandle result);
    void applyFilter();
    void moveTo(int index);
    QString keyCondition(const Row& original, std::vector<ParameterText>& params) const;
    // The fields an edit changed, as column names and $n placeholders of params.
    struct ChangedFields {
        QStringList names;
        QStringList placeholders;
    };
    ChangedFields changedFields(std::vector<ParameterText>& params) const;
    QString returning() const;
    QString insertSql(const ChangedFields& changed) const;
    QString updateSql(const ChangedFields& changed, std::vector<ParameterText>& params) const;
    Row rowAsStored(PGresult* result);
    template <typename Change>
    void resetAround(Change&& change);

    Connection& connection_;
    QString sql_;
    ParsedStatement parsed_;
    QHash<QString, QVariant> params_;

    std::vector<Column> columns_;
    PgResultHandle result_;
    std::vector<Row> posted_;
    std::vector<Record> records_;
    std::vector<int> visible_;
    int current_ = -1;
    bool eof_ = true;

    QString filterText_;
    FilterExpression filterExpression_;
    bool filtered_ = false;

    QString updateTable_;
    QStringList keyFields_;
    QString rowVersion_;
    State state_ = State::Inactive;
    Row editBuffer_;
    std::vector<bool> modified_;
};

// Closes a dataset when the scope ends, whichever way it ends (a database error included).
struct CloseOnExit {
    Dataset& dataset;
    ~CloseOnExit() { dataset.close(); }
};
