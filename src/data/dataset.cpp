#include "dataset.h"

#include "database_error.h"
#include "internal_error.h"

namespace {

bool isNumericType(unsigned oid)
{
    switch (oid) {
    case 20:    // int8
    case 21:    // int2
    case 23:    // int4
    case 26:    // oid
    case 700:   // float4
    case 701:   // float8
    case 1700:  // numeric
        return true;
    default:
        return false;
    }
}

std::optional<QString> valueAt(const PGresult* result, int row, int column)
{
    if (PQgetisnull(result, row, column))
        return std::nullopt;
    return QString::fromUtf8(PQgetvalue(result, row, column), PQgetlength(result, row, column));
}

}  // namespace

// ---- Field ----------------------------------------------------------------

std::optional<QString> Field::cell() const { return dataset_->currentCell(column_); }

QString Field::name() const { return dataset_->columns_[size_t(column_)].name; }

bool Field::isNull() const { return !cell().has_value(); }

QString Field::asString() const { return cell().value_or(QString()); }

int Field::asInteger() const { return int(asLargeInt()); }

qint64 Field::asLargeInt() const
{
    const QString text = asString().trimmed();
    bool ok = false;
    const qint64 v = text.toLongLong(&ok);
    return ok ? v : qint64(text.toDouble());
}

double Field::asFloat() const { return asString().trimmed().toDouble(); }

QDate Field::asDate() const { return QDate::fromString(asString().left(10), Qt::ISODate); }

QDateTime Field::asDateTime() const
{
    const QString text = asString();
    if (text.size() <= 10)
        return QDateTime(asDate(), QTime(0, 0));
    return QDateTime::fromString(text.left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QVariant Field::value() const
{
    if (isNull())
        return {};
    switch (dataset_->columns_[size_t(column_)].oid) {
    case 16:
        return asString() == QStringLiteral("t");
    case 20:
    case 21:
    case 23:
        return asLargeInt();
    case 700:
    case 701:
    case 1700:
        return asFloat();
    case 1082:
        return asDate();
    case 1114:
    case 1184:
        return asDateTime();
    default:
        return asString();
    }
}

void Field::setValue(const QVariant& value)
{
    auto* dataset = const_cast<Dataset*>(dataset_);
    if (dataset->state_ != Dataset::State::Edit && dataset->state_ != Dataset::State::Insert)
        throw InternalError(QStringLiteral("Набор данных не в режиме редактирования"));
    const ParameterText text = toParameterText(value);
    dataset->editBuffer_[size_t(column_)] =
        text ? std::optional<QString>(QString::fromUtf8(*text)) : std::nullopt;
    dataset->modified_[size_t(column_)] = true;
}

// ---- Dataset --------------------------------------------------------------

Dataset::Dataset(Connection& connection, const QString& sql, QObject* parent)
    : QObject(parent), connection_(connection)
{
    setSql(sql);
}

void Dataset::setSql(const QString& sql)
{
    close();
    sql_ = sql;
    parsed_ = parseNamedParameters(sql);
    QHash<QString, QVariant> kept;
    for (const QString& name : parsed_.names)
        kept.insert(name, params_.value(name));
    params_ = kept;
}

void Dataset::addSqlLine(const QString& line)
{
    setSql(sql_.isEmpty() ? line : sql_ + QLatin1Char('\n') + line);
}

void Dataset::setParam(const QString& name, const QVariant& value)
{
    const QString key = name.toLower();
    if (!parsed_.names.contains(key))
        throw InternalError(QStringLiteral("Параметр '%1' не найден").arg(name));
    params_.insert(key, value);
}

void Dataset::setParams(const QVariantMap& params)
{
    for (auto param = params.cbegin(); param != params.cend(); ++param)
        setParam(param.key(), param.value());
}

QVariant Dataset::param(const QString& name) const { return params_.value(name.toLower()); }

template <typename Change>
void Dataset::resetAround(Change&& change)
{
    emit aboutToReset();
    change();
    emit reset();
    emit currentChanged(recNo());
}

PgResultHandle Dataset::read() const
{
    std::vector<ParameterText> values;
    for (const QString& name : parsed_.names)
        values.push_back(toParameterText(params_.value(name)));
    return connection_.query(parsed_.text, values);
}

void Dataset::open()
{
    if (isOpen())
        return;
    load(read());
}

void Dataset::load(PgResultHandle result)
{
    resetAround([&] {
        columns_.clear();
        for (int c = 0; c < PQnfields(result.get()); ++c) {
            const unsigned oid = PQftype(result.get(), c);
            columns_.push_back({QString::fromUtf8(PQfname(result.get(), c)), oid, isNumericType(oid)});
        }
        result_ = std::move(result);
        posted_.clear();
        records_.clear();
        const int rows = PQntuples(result_.get());
        records_.reserve(size_t(rows));
        for (int r = 0; r < rows; ++r)
            records_.push_back({r, false});
        state_ = State::Browse;
        applyFilter();
        current_ = visible_.empty() ? -1 : 0;
        eof_ = visible_.empty();
    });
}

void Dataset::close()
{
    if (!isOpen())
        return;
    resetAround([&] {
        records_.clear();
        posted_.clear();
        result_.reset();
        visible_.clear();
        current_ = -1;
        eof_ = true;
        state_ = State::Inactive;
    });
}

void Dataset::refresh(const QString& keyField, Fallback fallback)
{
    const int remembered = recNo();
    const QVariant key = keyField.isEmpty() || isEmpty() ? QVariant() : fieldByName(keyField).value();
    // Read before the old rows go: when the read fails, the list stays as it was.
    load(read());
    if (key.isValid() && locate(keyField, key))
        return;
    const bool keepsPosition
        = fallback == Fallback::Position || (fallback == Fallback::PositionOrFirst && remembered <= recordCount());
    if (remembered >= 1 && keepsPosition)
        setRecNo(remembered);
}

void Dataset::applyFilter()
{
    visible_.clear();
    const bool filtering = filtered_ && !filterText_.trimmed().isEmpty();
    for (int i = 0; i < int(records_.size()); ++i) {
        if (filtering) {
            const Record& record = records_[size_t(i)];
            const bool keep = filterExpression_.matches([&](const QString& field) {
                const int c = columnIndex(field);
                if (c < 0)
                    throw InternalError(QStringLiteral("Поле '%1' не найдено").arg(field));
                return FilterExpression::FieldValue{cellOf(record, c), columns_[size_t(c)].numeric};
            });
            if (!keep)
                continue;
        }
        visible_.push_back(i);
    }
}

void Dataset::moveTo(int index)
{
    if (visible_.empty()) {
        current_ = -1;
        eof_ = true;
    } else {
        current_ = std::clamp(index, 0, int(visible_.size()) - 1);
        eof_ = false;
    }
    emit currentChanged(recNo());
}

void Dataset::setRecNo(int recNo) { moveTo(recNo - 1); }
void Dataset::first() { moveTo(0); }
void Dataset::last() { moveTo(int(visible_.size()) - 1); }

void Dataset::next()
{
    if (current_ + 1 >= int(visible_.size())) {
        eof_ = true;
        return;
    }
    moveTo(current_ + 1);
}

void Dataset::prior()
{
    if (current_ > 0)
        moveTo(current_ - 1);
}

int Dataset::columnIndex(const QString& name) const
{
    for (int c = 0; c < int(columns_.size()); ++c)
        if (columns_[size_t(c)].name.compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

Field Dataset::fieldByName(const QString& name) const
{
    const int c = columnIndex(name);
    if (c < 0)
        throw InternalError(QStringLiteral("Поле '%1' не найдено").arg(name));
    return Field(this, c);
}

std::optional<QString> Dataset::cellOf(const Record& record, int column) const
{
    if (record.posted)
        return posted_[size_t(record.row)][size_t(column)];
    return valueAt(result_.get(), record.row, column);
}

Dataset::Row Dataset::rowOf(const Record& record) const
{
    Row row(columns_.size());
    for (int c = 0; c < int(columns_.size()); ++c)
        row[size_t(c)] = cellOf(record, c);
    return row;
}

std::optional<QString> Dataset::currentCell(int column) const
{
    if (state_ == State::Edit || state_ == State::Insert)
        return editBuffer_[size_t(column)];
    if (current_ < 0)
        throw InternalError(QStringLiteral("Нет текущей записи"));
    return cellOf(records_[size_t(visible_[size_t(current_)])], column);
}

std::optional<QString> Dataset::cellAt(int visibleRow, int column) const
{
    if (visibleRow < 0 || visibleRow >= int(visible_.size()) || column < 0 || column >= int(columns_.size()))
        return std::nullopt;
    return cellOf(records_[size_t(visible_[size_t(visibleRow)])], column);
}

void Dataset::setFilter(const QString& expression, const QVariantMap& params)
{
    FilterExpression parsed = FilterExpression::parse(expression, params);
    filterText_ = expression;
    filterExpression_ = std::move(parsed);
    if (isOpen() && filtered_) {
        resetAround([&] {
            applyFilter();
            current_ = visible_.empty() ? -1 : 0;
            eof_ = visible_.empty();
        });
    }
}

void Dataset::setFiltered(bool on)
{
    if (filtered_ == on)
        return;
    filtered_ = on;
    if (isOpen()) {
        resetAround([&] {
            applyFilter();
            current_ = visible_.empty() ? -1 : 0;
            eof_ = visible_.empty();
        });
    }
}

bool Dataset::locate(const QString& fieldName, const QVariant& value)
{
    const int c = columnIndex(fieldName);
    if (c < 0)
        throw InternalError(QStringLiteral("Поле '%1' не найдено").arg(fieldName));
    const ParameterText wanted = toParameterText(value);
    const bool numeric = columns_[size_t(c)].numeric;
    for (int i = 0; i < int(visible_.size()); ++i) {
        const std::optional<QString> cell = cellOf(records_[size_t(visible_[size_t(i)])], c);
        if (!cell || !wanted)
            continue;
        const QString text = QString::fromUtf8(*wanted);
        const bool equal = numeric ? cell->toDouble() == text.toDouble() : cell->trimmed() == text.trimmed();
        if (equal) {
            moveTo(i);
            return true;
        }
    }
    return false;
}

// ---- editing ---------------------------------------------------------------

void Dataset::setUpdateTable(const QString& table, const QStringList& keyFields)
{
    updateTable_ = table;
    keyFields_ = keyFields;
}

void Dataset::append()
{
    if (!isOpen())
        throw InternalError(QStringLiteral("Набор данных закрыт"));
    editBuffer_.assign(columns_.size(), std::nullopt);
    modified_.assign(columns_.size(), false);
    state_ = State::Insert;
}

void Dataset::edit()
{
    if (isEmpty()) {
        append();
        return;
    }
    editBuffer_ = rowOf(records_[size_t(visible_[size_t(current_)])]);
    modified_.assign(columns_.size(), false);
    state_ = State::Edit;
}

void Dataset::cancel()
{
    if (state_ == State::Edit || state_ == State::Insert)
        state_ = State::Browse;
}

QString Dataset::keyCondition(const Row& original, std::vector<ParameterText>& params) const
{
    QStringList conditions;
    const auto addCondition = [&](int c) {
        const auto& value = original[size_t(c)];
        if (!value) {
            conditions << columns_[size_t(c)].name + QStringLiteral(" is null");
            return;
        }
        params.push_back(value->toUtf8());
        conditions << QStringLiteral("%1 = $%2").arg(columns_[size_t(c)].name).arg(params.size());
    };
    if (keyFields_.isEmpty()) {
        for (int c = 0; c < int(columns_.size()); ++c)
            addCondition(c);
    } else {
        for (const QString& key : keyFields_)
            addCondition(columnIndex(key));
        if (!rowVersion_.isEmpty())
            addCondition(columnIndex(rowVersion_));
    }
    return conditions.join(QStringLiteral(" and "));
}

Dataset::ChangedFields Dataset::changedFields(std::vector<ParameterText>& params) const
{
    ChangedFields changed;
    for (int c = 0; c < int(columns_.size()); ++c) {
        if (!modified_[size_t(c)])
            continue;
        const auto& value = editBuffer_[size_t(c)];
        params.push_back(value ? ParameterText(value->toUtf8()) : std::nullopt);
        changed.names << columns_[size_t(c)].name;
        changed.placeholders << QStringLiteral("$%1").arg(params.size());
    }
    return changed;
}

// The stored row comes back with its new version, so the next edit compares with it.
QString Dataset::returning() const
{
    return rowVersion_.isEmpty() ? QStringLiteral(" returning *") : QStringLiteral(" returning *, ") + rowVersion_;
}

QString Dataset::insertSql(const ChangedFields& changed) const
{
    if (changed.names.isEmpty())
        return QStringLiteral("insert into %1 default values").arg(updateTable_) + returning();
    return QStringLiteral("insert into %1 (%2) values (%3)")
               .arg(updateTable_, changed.names.join(QStringLiteral(", ")), changed.placeholders.join(QStringLiteral(", ")))
        + returning();
}

QString Dataset::updateSql(const ChangedFields& changed, std::vector<ParameterText>& params) const
{
    QStringList assignments;
    for (int i = 0; i < changed.names.size(); ++i)
        assignments << changed.names[i] + QStringLiteral(" = ") + changed.placeholders[i];
    const Row original = rowOf(records_[size_t(visible_[size_t(current_)])]);
    return QStringLiteral("update %1 set %2 where %3")
               .arg(updateTable_, assignments.join(QStringLiteral(", ")), keyCondition(original, params))
        + returning();
}

// The edited row as the server stored it: generated keys and defaults included.
Dataset::Row Dataset::rowAsStored(PGresult* result)
{
    if (PQntuples(result) == 0) {
        if (!rowVersion_.isEmpty())
            throw StaleRecordError();
        throw DatabaseError(QStringLiteral("Запись не найдена: её изменил или удалил другой пользователь"));
    }
    Row stored = editBuffer_;
    for (int c = 0; c < PQnfields(result); ++c) {
        const int target = columnIndex(QString::fromUtf8(PQfname(result, c)));
        if (target >= 0)
            stored[size_t(target)] = valueAt(result, 0, c);
    }
    return stored;
}

void Dataset::post()
{
    if (state_ != State::Edit && state_ != State::Insert)
        return;
    if (updateTable_.isEmpty())
        throw InternalError(QStringLiteral("Набор данных нельзя изменять"));

    const bool inserting = state_ == State::Insert;
    std::vector<ParameterText> params;
    const ChangedFields changed = changedFields(params);
    if (!inserting && changed.names.isEmpty()) {
        state_ = State::Browse;
        return;
    }
    const QString sql = inserting ? insertSql(changed) : updateSql(changed, params);
    const PgResultHandle result = connection_.execute(sql, params);
    Row stored = rowAsStored(result.get());

    resetAround([&] {
        state_ = State::Browse;
        if (inserting) {
            posted_.push_back(std::move(stored));
            records_.push_back({int(posted_.size()) - 1, true});
            applyFilter();
            const auto it = std::find(visible_.begin(), visible_.end(), int(records_.size()) - 1);
            current_ = it != visible_.end() ? int(it - visible_.begin()) : (visible_.empty() ? -1 : 0);
        } else if (Record& record = records_[size_t(visible_[size_t(current_)])]; record.posted) {
            posted_[size_t(record.row)] = std::move(stored);
        } else {
            posted_.push_back(std::move(stored));
            record = {int(posted_.size()) - 1, true};
        }
        eof_ = visible_.empty();
    });
}

void Dataset::deleteRecord()
{
    if (isEmpty())
        return;
    if (updateTable_.isEmpty())
        throw InternalError(QStringLiteral("Набор данных нельзя изменять"));
    const int rowIndex = visible_[size_t(current_)];
    std::vector<ParameterText> params;
    const QString sql = QStringLiteral("delete from %1 where %2").arg(updateTable_, keyCondition(rowOf(records_[size_t(rowIndex)]), params));
    const PgResultHandle result = connection_.execute(sql, params);
    if (!rowVersion_.isEmpty() && QByteArray(PQcmdTuples(result.get())).toInt() == 0)
        throw StaleRecordError();
    resetAround([&] {
        records_.erase(records_.begin() + rowIndex);
        const int keep = current_;
        applyFilter();
        current_ = visible_.empty() ? -1 : std::min(keep, int(visible_.size()) - 1);
        eof_ = visible_.empty();
    });
}
