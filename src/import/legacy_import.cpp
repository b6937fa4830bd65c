#include "legacy_import.h"

#include "connection.h"
#include "copy_stream.h"
#include "copy_text.h"
#include "database_error.h"
#include "legacy_tables.h"
#include "odbc_source.h"

#include <limits>
#include <optional>

namespace legacy_import {

QString sourceConnectionString() { return QStringLiteral("DSN=Tabel;PWD=torvaplin;"); }

QString progressText(const QString& table, qint64 done, qint64 total)
{
    return QStringLiteral("%1: %2 из %3 записей").arg(table).arg(done).arg(total);
}

namespace {

// A failure already told in the import's words: the table, the row, the field.
class ImportFailure : public DatabaseError {
public:
    explicit ImportFailure(const QString& message) : DatabaseError(OwnMessage{}, message) {}
};

// The generator behind a table's id column: serial, identity, or a default of nextval
// (on a view as well); empty when the column has none.
QString idGenerator(Connection& target, const QString& table)
{
    const PgResultHandle result = target.execute(
        QStringLiteral(
            "select coalesce(pg_get_serial_sequence($1, 'id'), "
            "(select d.refobjid::regclass::text from pg_attrdef ad "
            "join pg_attribute a on a.attrelid = ad.adrelid and a.attnum = ad.adnum and a.attname = 'id' "
            "join pg_depend d on d.classid = 'pg_attrdef'::regclass and d.objid = ad.oid "
            "and d.refclassid = 'pg_class'::regclass "
            "join pg_class s on s.oid = d.refobjid and s.relkind = 'S' "
            "where ad.adrelid = $1::regclass limit 1))"),
        {table.toUtf8()});
    return QString::fromUtf8(PQgetvalue(result.get(), 0, 0));
}

class TableImport {
public:
    TableImport(Connection& target, OdbcSource& source, const LegacyTable& table, const Options& options)
        : target_(target), source_(source), table_(table), options_(options)
    {
    }

    void run(const Progress& progress);

private:
    void bindFields(OdbcReader& reader);
    void copyRows(OdbcReader& reader, qint64 total, const Progress& progress);
    int fetch(OdbcReader& reader, qint64 nextRow) const;
    const QByteArray& batchText(OdbcReader& reader, int rows, qint64 firstRow);
    void appendRow(QByteArray& text, OdbcReader& reader, int row, qint64 rowNumber);
    void rememberId(const OdbcReader::Value& id);
    [[noreturn]] void refused(const CopyRefusal& refusal) const;
    void advanceGenerator();
    QString copyStatement() const;

    [[noreturn]] void fail(const QString& reason, qint64 row = 0, int field = -1) const;

    Connection& target_;
    OdbcSource& source_;
    const LegacyTable& table_;
    const Options& options_;
    std::vector<int> slots_;
    std::vector<QString> sourceNames_;
    // The source ids of the rows sent, for a message about a row the server refuses.
    static constexpr qint64 kNoId = std::numeric_limits<qint64>::min();
    std::vector<qint64> ids_;
    QByteArray batch_;
};

void TableImport::fail(const QString& reason, qint64 row, int field) const
{
    QString where = table_.source;
    if (row > 0) {
        where += QStringLiteral(", запись %1").arg(row);
        if (row <= qint64(ids_.size()) && ids_[size_t(row - 1)] != kNoId)
            where += QStringLiteral(" (id %1)").arg(ids_[size_t(row - 1)]);
    }
    if (field >= 0)
        where += QStringLiteral(", поле ") + sourceNames_[size_t(field)];
    throw ImportFailure(QStringLiteral("Импорт прерван: %1: %2\nТаблица %3 и следующие за ней остались как были.")
                            .arg(where, reason, table_.target));
}

void TableImport::bindFields(OdbcReader& reader)
{
    for (const LegacyField& field : table_.fields) {
        const int column = reader.findColumn(field.name);
        if (column < 0)
            fail(QStringLiteral("в таблице нет поля %1").arg(field.name.toUpper()));
        sourceNames_.push_back(reader.columnName(column));
        slots_.push_back(reader.bind(column));
    }
}

void TableImport::appendRow(QByteArray& text, OdbcReader& reader, int row, qint64 rowNumber)
{
    for (size_t f = 0; f < slots_.size(); ++f) {
        if (f > 0)
            text += '\t';
        const OdbcReader::Value value = reader.value(row, slots_[f]);
        if (f == 0 && table_.copiesId())
            rememberId(value);
        if (value.null) {
            copy_text::appendNull(text);
            continue;
        }
        if (value.truncated)
            fail(QStringLiteral("значение длиннее %1 символов").arg(value.text.size()), rowNumber, int(f));
        try {
            copy_text::appendValue(text, table_.fields[f].kind, value.text);
        } catch (const RefusedValue& refused) {
            fail(refused.reason, rowNumber, int(f));
        }
    }
    text += '\n';
}

void TableImport::rememberId(const OdbcReader::Value& id)
{
    bool ok = false;
    const qint64 value = id.null ? 0 : id.text.trimmed().toLongLong(&ok);
    ids_.push_back(ok ? value : kNoId);
}

// The buffer is kept from batch to batch: a fresh megabyte for every batch costs more
// than the conversions.
const QByteArray& TableImport::batchText(OdbcReader& reader, int rows, qint64 firstRow)
{
    batch_.reserve(rows * 16 * qsizetype(slots_.size()));
    batch_.resize(0);
    for (int row = 0; row < rows; ++row)
        appendRow(batch_, reader, row, firstRow + row);
    return batch_;
}

QString TableImport::copyStatement() const
{
    QStringList columns;
    for (const LegacyField& field : table_.fields)
        columns << field.name;
    return QStringLiteral("copy %1 (%2) from stdin").arg(table_.target, columns.join(QStringLiteral(", ")));
}

void TableImport::refused(const CopyRefusal& refusal) const
{
    int field = -1;
    for (size_t f = 0; f < table_.fields.size(); ++f)
        if (table_.fields[f].name.compare(refusal.column, Qt::CaseInsensitive) == 0)
            field = int(f);
    fail(refusal.message, refusal.line.value_or(0), field);
}

// The next key the program gives a new row comes after every key copied.
void TableImport::advanceGenerator()
{
    const QString generator = idGenerator(target_, table_.target);
    if (generator.isEmpty())
        return;
    target_.execute(QStringLiteral("select setval($1::regclass, t.m) from (select max(id)::bigint as m from %1) t, %2 s "
                                   "where t.m >= s.last_value + s.is_called::int")
                        .arg(table_.target, generator),
                    {generator.toUtf8()});
}

void TableImport::run(const Progress& progress)
{
    const QString order = table_.sortedById ? QStringLiteral(" order by id") : QString();
    std::optional<OdbcReader> reader;
    qint64 total = 0;
    try {
        total = source_.scalar(QStringLiteral("select count(*) from %1").arg(table_.source));
        reader.emplace(source_, QStringLiteral("select * from %1%2").arg(table_.source, order), options_.batchRows);
    } catch (const DatabaseError& error) {
        fail(error.text());
    }
    bindFields(*reader);
    try {
        copyRows(*reader, total, progress);
    } catch (const ImportFailure&) {
        throw;
    } catch (const DatabaseError& error) {
        fail(error.text());
    }
}

// Replaces the target's rows in one transaction, so a failure leaves it as it was. The rows
// go out in one COPY while the source is read batch by batch.
void TableImport::copyRows(OdbcReader& reader, qint64 total, const Progress& progress)
{
    target_.inTransaction([&] {
        target_.execute(QStringLiteral("delete from %1 where id>0").arg(table_.target));
        try {
            CopyStream copy(target_, copyStatement());
            qint64 done = 0;
            while (const int rows = fetch(reader, done + 1)) {
                copy.send(batchText(reader, rows, done + 1));
                done += rows;
                progress(progressText(table_.source, done, total));
            }
            copy.finish();
        } catch (const CopyRefusal& refusal) {
            refused(refusal);
        }
        if (table_.copiesId())
            advanceGenerator();
    });
}

int TableImport::fetch(OdbcReader& reader, qint64 nextRow) const
{
    try {
        return reader.fetch();
    } catch (const DatabaseError& error) {
        fail(error.text(), nextRow);
    }
}

}  // namespace

void importAll(Connection& target, const Progress& progress, const Options& options)
{
    std::optional<OdbcSource> source;
    try {
        source.emplace(options.source);
    } catch (const DatabaseError& error) {
        throw ImportFailure(
            QStringLiteral("Импорт прерван: нет связи с источником данных «Tabel»: %1\nНи одна таблица не изменена.")
                .arg(error.text()));
    }
    for (const LegacyTable& table : legacyTables())
        TableImport(target, *source, table, options).run(progress);
}

}  // namespace legacy_import
