#include "acceptance.h"

#include "command.h"
#include "data_module.h"
#include "write_statements.h"

namespace acceptance {

bool isAccepted(const QString& mark) { return mark == QStringLiteral("ok") || mark == QStringLiteral("да"); }

QString toggled(const QString& mark) { return isAccepted(mark) ? QStringLiteral("no") : QStringLiteral("ok"); }

bool toggle(TDataModule6& module, qint64 id, const QString& mark, const QString& version)
{
    Command update(module.ADO_DB, smena_sql::setAcceptance());
    update.setParam(QStringLiteral("id"), id);
    update.setParam(QStringLiteral("ok"), toggled(mark));
    update.setParam(QStringLiteral("version"), version);
    return update.execute() > 0;
}

}  // namespace acceptance
