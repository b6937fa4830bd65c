#include "odbc_source.h"

#include "database_error.h"

#include <QStringList>
#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <vector>

namespace {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "unixODBC's wide characters are UTF-16");

std::u16string wide(const QString& text) { return text.toStdU16String(); }

SQLWCHAR* wideData(std::u16string& text) { return reinterpret_cast<SQLWCHAR*>(text.data()); }

// Every diagnostic record of a handle, "[state] text" one after the other.
QString diagnostics(SQLSMALLINT type, SQLHANDLE handle)
{
    QStringList records;
    for (SQLSMALLINT i = 1;; ++i) {
        SQLWCHAR state[6] = {};
        SQLWCHAR text[1024] = {};
        SQLINTEGER nativeError = 0;
        SQLSMALLINT length = 0;
        if (!SQL_SUCCEEDED(SQLGetDiagRecW(type, handle, i, state, &nativeError, text, 1024, &length)))
            break;
        records << QStringLiteral("[%1] %2")
                       .arg(QString::fromUtf16(reinterpret_cast<const char16_t*>(state)),
                            QString::fromUtf16(reinterpret_cast<const char16_t*>(text), std::min<int>(length, 1023)));
    }
    return records.isEmpty() ? QStringLiteral("ошибка драйвера ODBC") : records.join(QLatin1Char(' '));
}

void check(SQLRETURN result, SQLSMALLINT type, SQLHANDLE handle)
{
    if (!SQL_SUCCEEDED(result))
        throw DatabaseError(diagnostics(type, handle));
}

struct StatementCloser {
    void operator()(void* statement) const { SQLFreeHandle(SQL_HANDLE_STMT, statement); }
};
using StatementHandle = std::unique_ptr<void, StatementCloser>;

}  // namespace

struct OdbcSource::Handles {
    SQLHENV environment = SQL_NULL_HENV;
    SQLHDBC connection = SQL_NULL_HDBC;
    bool connected = false;

    ~Handles()
    {
        if (connected)
            SQLDisconnect(connection);
        if (connection != SQL_NULL_HDBC)
            SQLFreeHandle(SQL_HANDLE_DBC, connection);
        if (environment != SQL_NULL_HENV)
            SQLFreeHandle(SQL_HANDLE_ENV, environment);
    }

    StatementHandle newStatement() const
    {
        SQLHSTMT statement = SQL_NULL_HSTMT;
        check(SQLAllocHandle(SQL_HANDLE_STMT, connection, &statement), SQL_HANDLE_DBC, connection);
        return StatementHandle(statement);
    }
};

OdbcSource::OdbcSource(const QString& connectionString) : handles_(std::make_unique<Handles>())
{
    Handles& h = *handles_;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &h.environment)))
        throw DatabaseError(QStringLiteral("диспетчер драйверов ODBC недоступен"));
    check(SQLSetEnvAttr(h.environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
          SQL_HANDLE_ENV, h.environment);
    check(SQLAllocHandle(SQL_HANDLE_DBC, h.environment, &h.connection), SQL_HANDLE_ENV, h.environment);
    std::u16string text = wide(connectionString);
    check(SQLDriverConnectW(h.connection, nullptr, wideData(text), SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT),
          SQL_HANDLE_DBC, h.connection);
    h.connected = true;
}

OdbcSource::~OdbcSource() = default;

qint64 OdbcSource::scalar(const QString& query)
{
    StatementHandle statement = handles_->newStatement();
    std::u16string text = wide(query);
    check(SQLExecDirectW(statement.get(), wideData(text), SQL_NTS), SQL_HANDLE_STMT, statement.get());
    check(SQLFetch(statement.get()), SQL_HANDLE_STMT, statement.get());
    SQLBIGINT value = 0;
    SQLLEN indicator = 0;
    check(SQLGetData(statement.get(), 1, SQL_C_SBIGINT, &value, sizeof value, &indicator), SQL_HANDLE_STMT,
          statement.get());
    return indicator == SQL_NULL_DATA ? 0 : qint64(value);
}

QStringList OdbcSource::tableNames()
{
    StatementHandle statement = handles_->newStatement();
    std::u16string types = wide(QStringLiteral("TABLE,VIEW"));
    check(SQLTablesW(statement.get(), nullptr, 0, nullptr, 0, nullptr, 0, wideData(types), SQL_NTS), SQL_HANDLE_STMT,
          statement.get());
    QStringList names;
    SQLRETURN fetched;
    while (SQL_SUCCEEDED(fetched = SQLFetch(statement.get()))) {
        SQLWCHAR name[256] = {};
        SQLLEN length = 0;
        check(SQLGetData(statement.get(), 3, SQL_C_WCHAR, name, sizeof name, &length), SQL_HANDLE_STMT,
              statement.get());
        if (length != SQL_NULL_DATA)
            names << QString::fromUtf16(reinterpret_cast<const char16_t*>(name));
    }
    if (fetched != SQL_NO_DATA)
        check(fetched, SQL_HANDLE_STMT, statement.get());
    return names;
}

QString OdbcSource::quoted(const QString& name)
{
    SQLWCHAR mark[8] = {};
    SQLSMALLINT length = 0;
    check(SQLGetInfoW(handles_->connection, SQL_IDENTIFIER_QUOTE_CHAR, mark, sizeof mark, &length), SQL_HANDLE_DBC,
          handles_->connection);
    const QString quote = QString::fromUtf16(reinterpret_cast<const char16_t*>(mark)).trimmed();
    if (quote.isEmpty())
        return name;  // the source has no quoting: its names are plain words
    QString escaped = name;
    escaped.replace(quote, quote + quote);
    return quote + escaped + quote;
}

// One bound column: the texts of a whole rowset side by side, each in a slot of
// `width` wide characters (the last one for the terminator).
struct BoundColumn {
    int width = 0;
    std::vector<SQLWCHAR> text;
    std::vector<SQLLEN> lengths;
};

struct OdbcReader::Rowset {
    StatementHandle statement;
    std::vector<QString> names;
    std::vector<SQLULEN> declaredSizes;
    std::vector<BoundColumn> columns;
    int size = 0;
    SQLULEN fetched = 0;
};

namespace {

// Room for a column's text: its declared size, within limits; a longer value is reported
// as truncated (no target column of the import holds more than a few hundred characters).
int columnWidth(SQLULEN declaredSize)
{
    constexpr SQLULEN smallest = 64;
    constexpr SQLULEN largest = 2048;
    return int(std::clamp(declaredSize, smallest, largest)) + 1;
}

}  // namespace

OdbcReader::OdbcReader(OdbcSource& source, const QString& query, int rowsetSize)
    : rowset_(std::make_unique<Rowset>())
{
    Rowset& r = *rowset_;
    r.statement = source.handles_->newStatement();
    r.size = rowsetSize;
    SQLHSTMT statement = r.statement.get();
    check(SQLSetStmtAttr(statement, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(SQLULEN(rowsetSize)), 0),
          SQL_HANDLE_STMT, statement);
    check(SQLSetStmtAttr(statement, SQL_ATTR_ROWS_FETCHED_PTR, &r.fetched, 0), SQL_HANDLE_STMT, statement);
    std::u16string text = wide(query);
    check(SQLExecDirectW(statement, wideData(text), SQL_NTS), SQL_HANDLE_STMT, statement);

    SQLSMALLINT count = 0;
    check(SQLNumResultCols(statement, &count), SQL_HANDLE_STMT, statement);
    for (SQLUSMALLINT column = 1; column <= count; ++column) {
        SQLWCHAR name[256] = {};
        SQLSMALLINT nameLength = 0, type = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        check(SQLDescribeColW(statement, column, name, 256, &nameLength, &type, &size, &digits, &nullable),
              SQL_HANDLE_STMT, statement);
        r.names.push_back(QString::fromUtf16(reinterpret_cast<const char16_t*>(name), std::min<int>(nameLength, 255)));
        r.declaredSizes.push_back(size);
    }
}

OdbcReader::~OdbcReader() = default;

int OdbcReader::findColumn(const QString& name) const
{
    const auto& names = rowset_->names;
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

QString OdbcReader::columnName(int column) const { return rowset_->names[size_t(column)]; }

int OdbcReader::bind(int column)
{
    Rowset& r = *rowset_;
    BoundColumn bound;
    bound.width = columnWidth(r.declaredSizes[size_t(column)]);
    bound.text.resize(size_t(bound.width) * size_t(r.size));
    bound.lengths.resize(size_t(r.size));
    r.columns.push_back(std::move(bound));
    BoundColumn& b = r.columns.back();
    check(SQLBindCol(r.statement.get(), SQLUSMALLINT(column + 1), SQL_C_WCHAR, b.text.data(),
                     SQLLEN(b.width * sizeof(SQLWCHAR)), b.lengths.data()),
          SQL_HANDLE_STMT, r.statement.get());
    return int(r.columns.size()) - 1;
}

int OdbcReader::fetch()
{
    Rowset& r = *rowset_;
    const SQLRETURN result = SQLFetchScroll(r.statement.get(), SQL_FETCH_NEXT, 0);
    if (result == SQL_NO_DATA)
        return 0;
    check(result, SQL_HANDLE_STMT, r.statement.get());
    return int(r.fetched);
}

OdbcReader::Value OdbcReader::value(int row, int slot) const
{
    const BoundColumn& column = rowset_->columns[size_t(slot)];
    const SQLLEN length = column.lengths[size_t(row)];
    if (length == SQL_NULL_DATA)
        return {true, false, {}};
    const qsizetype room = column.width - 1;
    const bool truncated = length == SQL_NO_TOTAL || length / qsizetype(sizeof(SQLWCHAR)) > room;
    const qsizetype characters = truncated ? room : length / qsizetype(sizeof(SQLWCHAR));
    const auto* start = reinterpret_cast<const char16_t*>(column.text.data() + size_t(row) * size_t(column.width));
    return {false, truncated, QStringView(start, characters)};
}
