#include "person_codes.h"

#include "connection.h"
#include "sql_text.h"

namespace person_codes {

bool indexed(Connection& connection)
{
    // Asked of the catalogue, which everyone may read. An index still being built, or one
    // over some of the rows only, says nothing about every code.
    const PgResultHandle result = connection.query(QStringLiteral(
        "select exists (select from pg_index i join pg_class c on c.oid = i.indrelid "
        "join pg_namespace n on n.oid = c.relnamespace "
        "where n.nspname = 'cmn_contractor' and c.relname = 'person' and i.indisvalid and i.indisready "
        "and i.indpred is null and i.indnatts = 1 "
        "and pg_get_indexdef(i.indexrelid, 1, true) in ('(s_code::t_id)', '(s_code::public.t_id)'))"));
    return QString::fromUtf8(PQgetvalue(result.get(), 0, 0)) == QStringLiteral("t");
}

QString matchWorker(const QString& codeColumn, const QString& workerKey, bool indexed)
{
    const QString guarded = workerKey + QLatin1Char('=') + sql_text::integerOrNull(codeColumn);
    if (!indexed)
        return guarded;
    return QStringLiteral("(%1::public.t_id=%2 and %3)").arg(codeColumn, workerKey, guarded);
}

}  // namespace person_codes
