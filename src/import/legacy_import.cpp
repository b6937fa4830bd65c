#include "legacy_import.h"

#include "connection.h"
#include "copy_stream.h"
#include "copy_text.h"
#include "legacy_tables.h"
#include "month_lock.h"
#include "odbc_source.h"

#include <QElapsedTimer>
#include <QStringList>
#include <chrono>
#include <optional>
#include <thread>

namespace legacy_import {

QString sourceConnectionString() { return QStringLiteral("DSN=Tabel;PWD=torvaplin;"); }

QString checkingText(const QString& table, qint64 done, qint64 total)
{
    return QStringLiteral("Проверка %1: %2 из %3 записей").arg(table).arg(done).arg(total);
}

QString writingText(const QString& table) { return QStringLiteral("Запись в базу: %1").arg(table); }

ImportRefused::ImportRefused(std::vector<QString> problems)
    : DatabaseError(OwnMessage{},
                    QStringLiteral("Импорт не выполнен: ошибок в исходной базе: %1. База данных не изменена.")
                        .arg(problems.size())),
      problems_(std::move(problems))
{
}

namespace {

// A failure told in the import's own words.
class ImportFailure : public DatabaseError {
public:
    explicit ImportFailure(const QString& message) : DatabaseError(OwnMessage{}, message) {}
};

using Problems = std::vector<QString>;

const QString kJournal = QStringLiteral("accounts_dep.smena");
const QString kItems = QStringLiteral("accounts_dep.izdel");
const QString kOperations = QStringLiteral("accounts_dep.oper");

// A value as a problem shows it: quoted, and cut short when long.
QString shown(const QString& value)
{
    constexpr int longest = 60;
    return QStringLiteral("«%1»").arg(value.size() > longest ? value.left(longest) + QStringLiteral("…") : value);
}

// The row of a problem: "SMENA, запись 3 (id 503)".
QString rowPlace(const QString& table, qint64 row, const QString& id)
{
    QString place = QStringLiteral("%1, запись %2").arg(table).arg(row);
    if (!id.isEmpty())
        place += QStringLiteral(" (id %1)").arg(id);
    return place;
}

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

// Statements over whole staged tables run for seconds on a large journal: they are sent
// without waiting, and `waiting` is called every tenth of a second until the server
// answers, so that the window stays painted.
class LongStatements {
public:
    LongStatements(Connection& connection, std::function<void()> waiting)
        : connection_(connection), waiting_(std::move(waiting))
    {
    }

    PgResultHandle run(const QString& sql) const;

private:
    Connection& connection_;
    std::function<void()> waiting_;
};

PgResultHandle LongStatements::run(const QString& sql) const
{
    using namespace std::chrono_literals;
    PGconn* raw = connection_.raw();
    if (PQsendQuery(raw, sql.toUtf8().constData()) != 1)
        throw DatabaseError(QString::fromUtf8(PQerrorMessage(raw)).trimmed());
    QElapsedTimer sinceTold;
    sinceTold.start();
    while (PQconsumeInput(raw) == 1 && PQisBusy(raw)) {
        std::this_thread::sleep_for(10ms);
        if (sinceTold.hasExpired(100)) {
            waiting_();
            sinceTold.restart();
        }
    }
    PgResultHandle result(PQgetResult(raw));
    while (PgResultHandle rest{PQgetResult(raw)})
        ;
    const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK)
        return result;
    throw databaseErrorOf(result.get(), raw, sql);
}

// What a column of the target can hold, as a condition on a staged value that it cannot
// ("%1 not between …") and the words for the user; no condition when it holds any value
// the staging can have.
struct ColumnBound {
    QString violated;
    QString words;
};

ColumnBound boundOf(Connection& target, const QString& column)
{
    const PgResultHandle result = target.query(
        QStringLiteral("select format_type(a.atttypid, a.atttypmod) from pg_attribute a "
                       "where a.attrelid = $1::regclass and a.attname = $2"),
        {column.section(QLatin1Char('.'), 0, -2).toUtf8(), column.section(QLatin1Char('.'), -1).toUtf8()});
    const QString type = QString::fromUtf8(PQgetvalue(result.get(), 0, 0));
    if (type == QLatin1String("smallint"))
        return {QStringLiteral("%1 not between -32768 and 32767"), QStringLiteral("целое от -32768 до 32767")};
    if (type == QLatin1String("integer"))
        return {QStringLiteral("%1 not between -2147483648 and 2147483647"),
                QStringLiteral("целое от -2147483648 до 2147483647")};
    const QStringList size = type.section(QLatin1Char('('), 1).chopped(1).split(QLatin1Char(','));
    if (type.startsWith(QLatin1String("numeric(")) && size.size() == 2) {
        const int whole = size[0].toInt() - size[1].toInt();
        return {QStringLiteral("abs(round(%1::numeric, ") + size[1] + QStringLiteral(")) >= 1e") + QString::number(whole),
                QStringLiteral("число, не больше %1 цифр до запятой").arg(whole)};
    }
    if (type.startsWith(QLatin1String("character varying(")))
        return {QStringLiteral("char_length(%1) > ") + size[0], QStringLiteral("не длиннее %1 символов").arg(size[0])};
    if (type.startsWith(QLatin1String("character(")))
        return {QStringLiteral("char_length(rtrim(%1)) > ") + size[0],
                QStringLiteral("не длиннее %1 символов").arg(size[0])};
    return {};
}

QString stagingType(FieldKind kind)
{
    switch (kind) {
    case FieldKind::Integer:
        return QStringLiteral("bigint");
    case FieldKind::Float:
        return QStringLiteral("double precision");
    case FieldKind::Text:
        return QStringLiteral("text");
    case FieldKind::Date:
        return QStringLiteral("date");
    case FieldKind::DateTime:
        return QStringLiteral("timestamp");
    }
    return {};
}

// One legacy table on its way: found in the source, read into its staging table.
struct StagedTable {
    const LegacyTable* table = nullptr;
    QString name;                 // as the source spells it
    QString sql;                  // as the source's SQL writes it
    std::vector<QString> fields;  // the source's spelling of each field
    bool staged = false;          // every field found and every row read

    QString staging() const { return QStringLiteral("legacy_") + table->target.section(QLatin1Char('.'), 1); }
    QString columns() const
    {
        QStringList list;
        for (const LegacyField& field : table->fields)
            list << field.name;
        return list.join(QStringLiteral(", "));
    }
};

// The seven tables in the source's catalogue; the spelling in capitals wins when the
// source holds the name in several spellings.
std::vector<StagedTable> findTables(OdbcSource& source, Problems& problems)
{
    const QStringList names = source.tableNames();
    std::vector<StagedTable> found;
    for (const LegacyTable& table : legacyTables()) {
        QStringList matches;
        for (const QString& name : names)
            if (name.compare(table.source, Qt::CaseInsensitive) == 0)
                matches << name;
        if (matches.isEmpty()) {
            problems.push_back(QStringLiteral("%1: такой таблицы нет в источнике данных «Tabel»").arg(table.source));
            continue;
        }
        const QString name = matches.contains(table.source) ? table.source : matches.front();
        found.push_back({&table, name, source.quoted(name), {}, false});
    }
    return found;
}

// Reads one source table batch by batch and copies its converted rows, each with its
// number, into the staging table. A value that does not convert is a problem of its row
// and is staged as no value, so that every problem of the source is found in one run.
class Stager {
public:
    Stager(Connection& target, OdbcSource& source, StagedTable& table, const Options& options, Problems& problems)
        : target_(target), source_(source), t_(table), options_(options), problems_(problems)
    {
    }

    void run(const Progress& progress);

private:
    bool bindFields(OdbcReader& reader);
    void createStaging();
    void copyRows(OdbcReader& reader, qint64 total, const Progress& progress);
    void appendRow(OdbcReader& reader, int row, qint64 rowNumber);
    void problem(qint64 row, const QString& id, int field, const QString& reason);

    Connection& target_;
    OdbcSource& source_;
    StagedTable& t_;
    const Options& options_;
    Problems& problems_;
    std::vector<int> slots_;
    QByteArray batch_;
};

void Stager::problem(qint64 row, const QString& id, int field, const QString& reason)
{
    problems_.push_back(
        QStringLiteral("%1, поле %2: %3").arg(rowPlace(t_.name, row, id), t_.fields[size_t(field)], reason));
}

bool Stager::bindFields(OdbcReader& reader)
{
    bool all = true;
    for (const LegacyField& field : t_.table->fields) {
        const int column = reader.findColumn(field.name);
        if (column < 0) {
            problems_.push_back(QStringLiteral("%1: в таблице нет поля %2").arg(t_.name, field.name.toUpper()));
            all = false;
            continue;
        }
        t_.fields.push_back(reader.columnName(column));
        slots_.push_back(reader.bind(column));
    }
    return all;
}

void Stager::createStaging()
{
    QStringList columns{QStringLiteral("row_no bigint")};
    for (const LegacyField& field : t_.table->fields)
        columns << field.name + QLatin1Char(' ') + stagingType(field.kind);
    target_.execute(QStringLiteral("create temporary table %1 (%2) on commit drop")
                        .arg(t_.staging(), columns.join(QStringLiteral(", "))));
}

void Stager::run(const Progress& progress)
{
    qint64 total = 0;
    std::optional<OdbcReader> reader;
    try {
        total = source_.scalar(QStringLiteral("select count(*) from %1").arg(t_.sql));
        // Read as the source holds the rows: the order of id is the server's to make.
        reader.emplace(source_, QStringLiteral("select * from %1").arg(t_.sql), options_.batchRows);
    } catch (const DatabaseError& error) {
        problems_.push_back(QStringLiteral("%1: таблица не читается: %2").arg(t_.name, error.text()));
        return;
    }
    if (!bindFields(*reader))
        return;
    createStaging();
    copyRows(*reader, total, progress);
}

void Stager::copyRows(OdbcReader& reader, qint64 total, const Progress& progress)
{
    try {
        CopyStream copy(target_, QStringLiteral("copy %1 (row_no, %2) from stdin").arg(t_.staging(), t_.columns()));
        qint64 done = 0;
        for (;;) {
            int rows = 0;
            try {
                rows = reader.fetch();
            } catch (const DatabaseError& error) {
                problems_.push_back(QStringLiteral("%1, запись %2: запись не читается: %3")
                                        .arg(t_.name)
                                        .arg(done + 1)
                                        .arg(error.text()));
                copy.finish();  // a cancelled COPY would spoil the transaction for the other tables
                return;
            }
            if (rows == 0)
                break;
            batch_.reserve(rows * 16 * qsizetype(slots_.size() + 1));
            batch_.resize(0);
            for (int row = 0; row < rows; ++row)
                appendRow(reader, row, done + row + 1);
            copy.send(batch_);
            done += rows;
            progress(checkingText(t_.name, done, total));
        }
        copy.finish();
        t_.staged = true;
    } catch (const CopyRefusal&) {
        // Staging columns take every value the conversion gives, so the server refusing one
        // leaves nothing to check further: the transaction is spoilt.
        problems_.push_back(QStringLiteral("%1: сервер не принял строки таблицы для проверки").arg(t_.name));
        throw ImportRefused(problems_);
    }
}

void Stager::appendRow(OdbcReader& reader, int row, qint64 rowNumber)
{
    batch_ += QByteArray::number(rowNumber);
    const bool copiesId = t_.table->copiesId();
    for (size_t f = 0; f < slots_.size(); ++f) {
        batch_ += '\t';
        const OdbcReader::Value value = reader.value(row, slots_[f]);
        if (value.null) {
            copy_text::appendNull(batch_);
            continue;
        }
        const auto rowId = [&] {
            const OdbcReader::Value id = reader.value(row, slots_[0]);
            return copiesId && !id.null ? id.text.trimmed().toString() : QString();
        };
        if (value.truncated) {
            problem(rowNumber, rowId(), int(f), QStringLiteral("значение длиннее %1 символов").arg(value.text.size()));
            copy_text::appendNull(batch_);
            continue;
        }
        const qsizetype before = batch_.size();
        try {
            copy_text::appendValue(batch_, t_.table->fields[f].kind, value.text);
        } catch (const RefusedValue& refused) {
            problem(rowNumber, rowId(), int(f), refused.reason);
            batch_.truncate(before);
            copy_text::appendNull(batch_);
        }
    }
    batch_ += '\n';
}

// The checks on the staged rows, each one statement over a whole table.
class Checker {
public:
    Checker(Connection& target, const LongStatements& statements, const StagedTable& table, Problems& problems)
        : target_(target), statements_(statements), t_(table), problems_(problems)
    {
    }

    void run();

private:
    void checkBounds();
    void checkIds();
    void checkRepeatedRecords();
    void checkItemGroups();
    QString idColumn() const { return t_.table->copiesId() ? QStringLiteral("id::text") : QStringLiteral("null"); }

    Connection& target_;
    const LongStatements& statements_;
    const StagedTable& t_;
    Problems& problems_;
};

void Checker::run()
{
    checkBounds();
    if (t_.table->keyed)
        checkIds();
    if (t_.table->target == kJournal)
        checkRepeatedRecords();
    if (t_.table->target == kItems)
        checkItemGroups();
}

// Values their target column cannot hold, and ids that a column referring to them cannot
// hold: one pass over the table for all of them.
void Checker::checkBounds()
{
    struct Check {
        int field;
        QString holder;
        ColumnBound bound;
    };
    std::vector<Check> checks;
    const auto& fields = t_.table->fields;
    for (size_t f = 0; f < fields.size(); ++f) {
        std::vector<QString> holders{t_.table->target + QLatin1Char('.') + fields[f].name};
        if (f == 0 && t_.table->copiesId())
            holders.insert(holders.end(), t_.table->idHolders.begin(), t_.table->idHolders.end());
        for (const QString& holder : holders)
            if (ColumnBound bound = boundOf(target_, holder); !bound.violated.isEmpty())
                checks.push_back({int(f), holder, bound});
    }
    if (checks.empty())
        return;
    QStringList selected{QStringLiteral("row_no"), idColumn()}, anyViolated;
    for (const Check& check : checks) {
        const QString violated = QStringLiteral("coalesce(%1, false)").arg(check.bound.violated.arg(fields[size_t(check.field)].name));
        selected << violated << fields[size_t(check.field)].name + QStringLiteral("::text");
        anyViolated << violated;
    }
    const PgResultHandle result = statements_.run(QStringLiteral("select %1 from %2 where %3 order by row_no")
                                                    .arg(selected.join(QStringLiteral(", ")), t_.staging(),
                                                         anyViolated.join(QStringLiteral(" or "))));
    for (int row = 0; row < PQntuples(result.get()); ++row) {
        const QString place = rowPlace(t_.name, QByteArray(PQgetvalue(result.get(), row, 0)).toLongLong(),
                                       QString::fromUtf8(PQgetvalue(result.get(), row, 1)));
        for (size_t c = 0; c < checks.size(); ++c) {
            if (*PQgetvalue(result.get(), row, int(2 + 2 * c)) != 't')
                continue;
            const Check& check = checks[c];
            const QString value = shown(QString::fromUtf8(PQgetvalue(result.get(), row, int(3 + 2 * c))));
            const bool own = check.holder.section(QLatin1Char('.'), 0, -2) == t_.table->target;
            problems_.push_back(
                QStringLiteral("%1, поле %2: %3 %4 не помещается в %5%6 (%7)")
                    .arg(place, t_.fields[size_t(check.field)], own ? QStringLiteral("значение") : QStringLiteral("ключ"),
                         value, check.holder,
                         own ? QString() : QStringLiteral(", которое ссылается на эту таблицу"), check.bound.words));
        }
    }
}

// Rows without an id, and ids that several rows share.
void Checker::checkIds()
{
    const PgResultHandle result = statements_.run(
        QStringLiteral("select id::text, string_agg(row_no::text, ', ' order by row_no), min(row_no) from %1 "
                       "group by id having id is null or count(*) > 1 order by 3")
            .arg(t_.staging()));
    for (int row = 0; row < PQntuples(result.get()); ++row) {
        const QString rows = QString::fromUtf8(PQgetvalue(result.get(), row, 1));
        problems_.push_back(PQgetisnull(result.get(), row, 0)
                                ? QStringLiteral("%1, записи %2: нет id").arg(t_.name, rows)
                                : QStringLiteral("%1, записи %2: один и тот же id %3")
                                      .arg(t_.name, rows, QString::fromUtf8(PQgetvalue(result.get(), row, 0))));
    }
}

// Journal records of one worker, item, operation, date, shift and colour: the journal
// takes only one of them, and which one to keep is the plant's decision.
void Checker::checkRepeatedRecords()
{
    const PgResultHandle result = statements_.run(
        QStringLiteral("select string_agg(id::text, ', ' order by id), w_id, i_id, o_id, to_char(data, 'DD.MM.YYYY'), "
                       "smena, color from %1 "
                       "where w_id is not null and i_id is not null and o_id is not null and data is not null "
                       "and smena is not null and color is not null "
                       "group by w_id, i_id, o_id, data, smena, color having count(*) > 1 order by min(row_no)")
            .arg(t_.staging()));
    for (int row = 0; row < PQntuples(result.get()); ++row) {
        const auto value = [&](int column) { return QString::fromUtf8(PQgetvalue(result.get(), row, column)); };
        problems_.push_back(QStringLiteral("%1: записи с id %2 повторяют друг друга (работник %3, изделие %4, "
                                           "операция %5, дата %6, смена %7, цвет %8)")
                                .arg(t_.name, value(0), value(1), value(2), value(3), value(4), value(5), value(6)));
    }
}

// Item groups the classifier does not hold: the item would lose its group. The groups are
// the ERP's to create (the classifier's levels and parents are its own), so the import
// names them for the plant to create there first.
void Checker::checkItemGroups()
{
    const PgResultHandle result = statements_.run(
        QStringLiteral("select nom, count(*), string_agg(id::text, ', ' order by row_no) filter (where n <= 10) "
                       "from (select nom, id, row_no, row_number() over (partition by nom order by row_no) n from %1 "
                       "where btrim(nom) <> '' and not exists (select 1 from cmn_classifier.item c "
                       "where c.id_level = 2 and c.s_caption = nom)) s group by nom order by nom")
            .arg(t_.staging()));
    for (int row = 0; row < PQntuples(result.get()); ++row) {
        const int count = QByteArray(PQgetvalue(result.get(), row, 1)).toInt();
        QString ids = QString::fromUtf8(PQgetvalue(result.get(), row, 2));
        if (count > 10)
            ids += QStringLiteral(" и ещё %1").arg(count - 10);
        problems_.push_back(QStringLiteral("%1, поле %2: группы %3 нет в классификаторе изделий (изделия с id %4)")
                                .arg(t_.name, t_.fields[2], shown(QString::fromUtf8(PQgetvalue(result.get(), row, 0))),
                                     ids));
    }
}

// The next key the program gives a new row comes after every key copied.
void advanceGenerator(Connection& target, const QString& table)
{
    const QString generator = idGenerator(target, table);
    if (generator.isEmpty())
        return;
    target.execute(QStringLiteral("select setval($1::regclass, t.m) from (select max(id)::bigint as m from %1) t, %2 s "
                                  "where t.m >= s.last_value + s.is_called::int")
                       .arg(table, generator),
                   {generator.toUtf8()});
}

// Replaces the target's rows with an id above 0 by the staged ones. The operations take
// their norm rows along: the old ones would point at whichever imported operation now
// has their id, and an imported operation is priced by its norm row.
void replaceTarget(Connection& target, const LongStatements& statements, const StagedTable& t)
{
    const QString& table = t.table->target;
    const bool operations = table == kOperations;
    if (operations)
        statements.run(QStringLiteral("delete from accounts_dep.norm where o_id in (select id from %1 where id > 0)")
                           .arg(table));
    statements.run(QStringLiteral("delete from %1 where id > 0").arg(table));
    statements.run(QStringLiteral("insert into %1 (%2) select %2 from %3").arg(table, t.columns(), t.staging()));
    if (operations)
        statements.run(QStringLiteral("insert into accounts_dep.norm (o_id, norma, price, prize) "
                                      "select id, 0, cena::numeric(15, 4), 0 from %1")
                           .arg(t.staging()));
    if (t.table->copiesId())
        advanceGenerator(target, table);
}

void writeAll(Connection& target, const LongStatements& statements, const std::vector<StagedTable>& tables,
              const Progress& progress)
{
    for (const StagedTable& t : tables) {
        progress(writingText(t.name));
        try {
            replaceTarget(target, statements, t);
        } catch (const DatabaseError& error) {
            if (error.isOwnMessage())
                throw;
            throw ImportFailure(QStringLiteral("Импорт не выполнен: сервер не принял таблицу %1 (код ошибки %2). "
                                               "База данных не изменена.")
                                    .arg(t.name, error.sqlState()));
        }
    }
}

// A failure of the source before anything is read, told in the import's words.
template <typename Step>
auto sourceStep(const QString& what, Step&& step)
{
    try {
        return step();
    } catch (const DatabaseError& error) {
        throw ImportFailure(QStringLiteral("Импорт не выполнен: %1: %2\nБаза данных не изменена.").arg(what, error.text()));
    }
}

// The import replaces whole journals: with a month closed it would rewrite paid months.
void refuseWithClosedMonths(Connection& target)
{
    if (!month_lock::installed(target))
        return;
    const QStringList closed = month_lock::closedMonths(target);
    if (!closed.isEmpty())
        throw ImportFailure(QStringLiteral("Импорт не выполнен: закрыты месяцы %1. Импорт заменяет журнал целиком и "
                                           "переписал бы их; импорт выполняется до закрытия первого месяца.\n"
                                           "База данных не изменена.")
                                .arg(closed.join(QStringLiteral(", "))));
}

}  // namespace

void importAll(Connection& target, const Progress& progress, const Options& options)
{
    refuseWithClosedMonths(target);
    OdbcSource source = sourceStep(QStringLiteral("нет связи с источником данных «Tabel»"),
                                   [&] { return OdbcSource(options.source); });
    Problems problems;
    std::vector<StagedTable> tables = sourceStep(QStringLiteral("список таблиц источника «Tabel» не читается"),
                                                 [&] { return findTables(source, problems); });
    // While the server works on a long statement, the last progress text is told again.
    QString told;
    const Progress telling = [&](const QString& text) {
        told = text;
        progress(text);
    };
    const LongStatements statements(target, [&] { progress(told); });
    target.inTransaction([&] {
        // The checks group and sort whole journals: in memory, not in files.
        target.execute(QStringLiteral("set local work_mem = '256MB'"));
        for (StagedTable& table : tables)
            Stager(target, source, table, options, problems).run(telling);
        for (const StagedTable& table : tables)
            if (table.staged)
                Checker(target, statements, table, problems).run();
        if (!problems.empty())
            throw ImportRefused(std::move(problems));
        writeAll(target, statements, tables, telling);
    });
}

}  // namespace legacy_import
