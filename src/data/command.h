#pragma once

#include "connection.h"
#include "named_parameters.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <QVariantMap>

// One statement executed for its effect; the result is discarded.
// Parameters are written ":name" and set by name without regard to case.
class Command {
public:
    explicit Command(Connection& connection, const QString& sql = {});

    void setSql(const QString& sql);
    const QString& sql() const { return sql_; }
    void setParam(const QString& name, const QVariant& value);
    void setParams(const QVariantMap& params);

    // Returns the number of rows the statement touched.
    int execute();

private:
    Connection& connection_;
    QString sql_;
    ParsedStatement parsed_;
    QHash<QString, QVariant> params_;
};
