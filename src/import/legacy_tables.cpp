#include "legacy_tables.h"

namespace {

std::vector<LegacyField> fields(FieldKind kind, std::initializer_list<const char*> names)
{
    std::vector<LegacyField> list;
    for (const char* name : names)
        list.push_back({QLatin1String(name), kind});
    return list;
}

std::vector<LegacyField> timesheetFields()
{
    std::vector<LegacyField> list = fields(FieldKind::Integer, {"id", "w_id", "month", "year", "smena"});
    for (int day = 1; day <= 31; ++day)
        list.push_back({QStringLiteral("d%1").arg(day), FieldKind::Integer});
    return list;
}

}  // namespace

const std::vector<LegacyTable>& legacyTables()
{
    using K = FieldKind;
    static const std::vector<LegacyTable> tables = {
        {QStringLiteral("H_TABEL"), QStringLiteral("accounts_dep.h_tabel"), timesheetFields(), true},
        {QStringLiteral("IZDEL"), QStringLiteral("accounts_dep.izdel"),
         {{"id", K::Integer}, {"marka", K::Text}, {"nom", K::Text}, {"massa", K::Float}}, true,
         {QStringLiteral("accounts_dep.oper.i_id"), QStringLiteral("accounts_dep.smena.i_id")}},
        // The nomenclature gets new keys from the server.
        {QStringLiteral("NOMENKL"), QStringLiteral("accounts_dep.nomenkl"),
         {{"marka", K::Text}, {"nom", K::Text}}},
        {QStringLiteral("OPER"), QStringLiteral("accounts_dep.oper"),
         {{"id", K::Integer}, {"vid", K::Integer}, {"naimen", K::Integer}, {"cena", K::Float}, {"i_id", K::Integer}},
         true, {QStringLiteral("accounts_dep.smena.o_id"), QStringLiteral("accounts_dep.norm.o_id")}},
        {QStringLiteral("VID_OPER"), QStringLiteral("accounts_dep.vid_oper"),
         {{"id", K::Integer}, {"vid", K::Text}}, true, {QStringLiteral("accounts_dep.oper.vid")}},
        {QStringLiteral("WORKERS"), QStringLiteral("accounts_dep.workers"),
         {{"id", K::Integer}, {"fio", K::Text}, {"addr", K::Text}}, false,
         {QStringLiteral("accounts_dep.smena.w_id"), QStringLiteral("accounts_dep.h_tabel.w_id")}},
        // The hours of a record are whole hours; its dates are read with a fixed format.
        {QStringLiteral("SMENA"), QStringLiteral("accounts_dep.smena"),
         {{"id", K::Integer}, {"w_id", K::Integer}, {"i_id", K::Integer}, {"o_id", K::Integer},
          {"kol_vo", K::Integer}, {"brak", K::Integer}, {"smena", K::Integer}, {"cena", K::Float},
          {"color", K::Integer}, {"ok", K::Text}, {"data", K::Date}, {"time", K::Integer},
          {"vvod", K::DateTime}},
         true},
    };
    return tables;
}
