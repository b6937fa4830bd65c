#include "command.h"

#include "internal_error.h"

Command::Command(Connection& connection, const QString& sql) : connection_(connection) { setSql(sql); }

void Command::setSql(const QString& sql)
{
    sql_ = sql;
    parsed_ = parseNamedParameters(sql);
}

void Command::setParam(const QString& name, const QVariant& value)
{
    const QString key = name.toLower();
    if (!parsed_.names.contains(key))
        throw InternalError(QStringLiteral("Параметр '%1' не найден").arg(name));
    params_.insert(key, value);
}

void Command::setParams(const QVariantMap& params)
{
    for (auto param = params.cbegin(); param != params.cend(); ++param)
        setParam(param.key(), param.value());
}

int Command::execute()
{
    std::vector<ParameterText> values;
    for (const QString& name : parsed_.names)
        values.push_back(toParameterText(params_.value(name)));
    const PgResultHandle result = connection_.execute(parsed_.text, values);
    return QByteArray(PQcmdTuples(result.get())).toInt();
}
