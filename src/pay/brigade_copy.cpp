#include "brigade_copy.h"

#include "data_module.h"
#include "operation_texts.h"

namespace brigade_copy {

QDate lastDateBefore(TDataModule6& module, const QDate& before, int shift)
{
    Dataset last(module.ADO_DB, QStringLiteral("select max(data) as data from accounts_dep.smena where smena=:smena and data<:data"));
    last.setParam(QStringLiteral("smena"), shift);
    last.setParam(QStringLiteral("data"), before);
    last.open();
    return last.fieldByName(QStringLiteral("data")).asDate();
}

std::vector<CopiedRecord> recordsOf(TDataModule6& module, const QDate& date, int shift)
{
    Dataset records(module.ADO_DB,
                    QStringLiteral("select s.w_id, p.fio, s.i_id, s.o_id, i.marka, v.vid, o.naimen, s.color, s.time, s.kol_vo, "
                                   "s.brak, (select min(price) from accounts_dep.norm n where n.o_id=s.o_id) as cena "
                                   "from accounts_dep.smena s join accounts_dep.person p on p.id=s.w_id "
                                   "join accounts_dep.oper o on o.id=s.o_id join accounts_dep.izdel i on i.id=s.i_id "
                                   "join accounts_dep.vid_oper v on v.id=o.vid "
                                   "where s.data=:data and s.smena=:smena order by p.fio, s.id"));
    records.setParam(QStringLiteral("data"), date);
    records.setParam(QStringLiteral("smena"), shift);
    records.open();
    std::vector<CopiedRecord> copied;
    const auto field = [&](const char* name) { return records.fieldByName(QLatin1String(name)); };
    for (records.first(); !records.eof(); records.next())
        copied.push_back({field("w_id").asInteger(), field("fio").asString().trimmed(), field("i_id").asLargeInt(),
                          field("o_id").asInteger(), field("marka").asString().trimmed(),
                          field("vid").asString().trimmed() + QStringLiteral("; ") + productKindName(field("naimen").asInteger()),
                          field("cena").asFloat(), field("color").asInteger(), field("time").asInteger(),
                          field("kol_vo").asLargeInt(), field("brak").asInteger()});
    return copied;
}

}  // namespace brigade_copy
