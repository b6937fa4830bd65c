#include "data_module.h"

#include "person_codes.h"
#include "write_statements.h"

TDataModule6* DataModule6 = nullptr;

namespace data_module_sql {

QString oper()
{
    return QStringLiteral(
        "select izdel.MARKA, vid_oper.VID, oper.NAIMEN, (SELECT (CASE naimen WHEN 0 THEN 'Готовая продукция' ELSE 'Заготовки' END)) as nmn,\n"
        "count(o_id) norma, min(price)::numeric cena,\n"
        "oper.id, oper.i_id, oper.VID as oper_vid from accounts_dep.norm,accounts_dep.OPER,accounts_dep.IZDEL,accounts_dep.VID_OPER where OPER.i_id=IZDEL.id and norm.o_id=oper.id\n"
        "and oper.vid=vid_oper.id group by izdel.MARKA, vid_oper.VID, oper.NAIMEN, oper.id, oper.i_id, oper.VID order by izdel.marka, vid_oper.vid, oper.naimen");
}

// The journal of one shift and date. Besides the listed columns it reads each record's
// row version (xmin), so that a change is written only over the record as it was read.
QString shift(int shift)
{
    const QString number = QString::number(shift);
    // Shift 1 alone is sorted by item, operation, product kind and colour within a name,
    // and compares the mark with "!="; the others write "<>".
    const QString test = shift == 1 ? QStringLiteral("ok!=:ok") : QStringLiteral("ok<>:ok");
    const QString order = shift == 1 ? QStringLiteral("order by \nfio, izdel.marka, vid_oper.vid, oper.naimen, color")
                                     : QStringLiteral("order by fio");
    return QStringLiteral(
               "select smena.id, smena.data, smena.smena, smena.i_id, smena.o_id, smena.w_id, \n"
               "smena.cena,person.s_caption fio, izdel.marka, vid_oper.vid, (SELECT (CASE naimen WHEN 0 THEN 'Готовая продукция' ELSE 'Заготовки' END)) as nmn, oper.naimen,  smena.brak, smena.kol_vo::numeric,\n"
               "round((kol_vo-brak)*smena.cena::numeric, 2) as summa, smena.prize, color,time, smena.ok, vvod, smena.id_doc, smena.id_doc_item, smena.f_gds_qty_use, smena.id_gds_use, smena.id_cons_use, smena.xmin\n"
               "from cmn_contractor.person person, accounts_dep.izdel,accounts_dep.oper,accounts_dep.smena,accounts_dep.vid_oper \n"
               "where smena.i_id=izdel.id and smena.o_id=oper.id and (w_id=person.id or s_code::t_id=w_id) and \n"
               "oper.vid=vid_oper.id and smena.smena=")
        + number + QStringLiteral(" and smena.data=:data and ") + test + QLatin1Char(' ') + order;
}

QString monthlyTimesheet(int shift, bool personCodesIndexed)
{
    QStringList terms;
    for (int day = 1; day <= 31; ++day)
        terms << QStringLiteral("coalesce(d%1,0)").arg(day);
    const QString daySum = QLatin1Char('(') + terms.join(QLatin1Char('+')) + QLatin1Char(')');
    return QStringList{
        QStringLiteral("select person.s_caption fio, "),
        daySum + QStringLiteral(" as summ, "),
        QStringLiteral("case when ") + daySum + QStringLiteral("=0 then 0 else"),
        QStringLiteral("(sum(s.cena*(kol_vo-brak))/") + daySum
            + QStringLiteral(") end ::numeric(10,2) as average_price, sum(s.cena*(kol_vo-brak))::numeric(10,2) as cena_all,"),
        QStringLiteral("h_tabel.* "),
        QStringLiteral("from accounts_dep.h_tabel, cmn_contractor.person, accounts_dep.smena s where "),
        person_codes::matchWorker(QStringLiteral("person.s_code"), QStringLiteral("h_tabel.w_id"), personCodesIndexed)
            + QStringLiteral(" and h_tabel.smena=") + QString::number(shift)
            + QStringLiteral(" and month=:mnth and s.w_id = h_tabel.w_id and"),
        QStringLiteral("h_tabel.year=:yea and s.data >=:date1 and s.data <:date2"),
        QStringLiteral("group by person.s_caption,h_tabel.w_id,h_tabel.month,h_tabel.year,h_tabel.smena,h_tabel.id "),
        QStringLiteral("order by fio"),
    }.join(QLatin1Char('\n'));
}

}  // namespace data_module_sql

TDataModule6::TDataModule6(ErrorReporter reportError)
    : Workers(ADO_DB, QStringLiteral("select * from accounts_dep.person order by fio")),
      Izdel(ADO_DB, QStringLiteral("select *  from accounts_dep.IZDEL order by marka")),
      Vid_oper(ADO_DB, QStringLiteral("select * from accounts_dep.VID_OPER order by vid")),
      Oper(ADO_DB, data_module_sql::oper()),
      Smena1(ADO_DB, data_module_sql::shift(1)),
      Smena2(ADO_DB, data_module_sql::shift(2)),
      Smena3(ADO_DB, data_module_sql::shift(3)),
      Smena4(ADO_DB, data_module_sql::shift(4)),
      H_Tabel_1(ADO_DB, data_module_sql::monthlyTimesheet(1, false)),
      H_Tabel_2(ADO_DB, data_module_sql::monthlyTimesheet(2, false)),
      H_Tabel_3(ADO_DB, data_module_sql::monthlyTimesheet(3, false)),
      Control(ADO_DB),
      DelSmena(ADO_DB),
      H_Tabel_ins(ADO_DB),
      SQL_exec(ADO_DB),
      Oper_ins(ADO_DB),
      Oper_ed(ADO_DB),
      Oper_del(ADO_DB, oper_sql::remove()),
      reportError_(std::move(reportError))
{
    // Stored defaults of the acceptance filter; the login sets "ta" on all four.
    Smena1.setParam(QStringLiteral("ok"), QStringLiteral("ok"));
    for (Dataset* d : {&Smena2, &Smena3, &Smena4})
        d->setParam(QStringLiteral("ok"), QStringLiteral("ta"));
    Vid_oper.setUpdateTable(QStringLiteral("accounts_dep.vid_oper"), {QStringLiteral("id")});
}

QVariant TDataModule6::scalar(const QString& sql, const QVariantMap& params)
{
    Control.setSql(sql);
    Control.setParams(params);
    const CloseOnExit closing{Control};
    Control.open();
    return Control.isEmpty() || Control.columns().empty() ? QVariant() : Field(&Control, 0).value();
}

bool TDataModule6::CheckDuplicate(const QString& query, const QVariantMap& params, const QString& message)
{
    if (!CountsAny(query, params))
        return false;
    reportError_(message);
    return true;
}

bool TDataModule6::CheckDuplicateName(const QString& table, const QString& column, const QString& name, qint64 ownId,
                                      const QString& message)
{
    QString query = QStringLiteral("select count(*) as cnt from %1 where upper(%2)=:name").arg(table, column);
    QVariantMap params{{QStringLiteral("name"), name.toUpper()}};
    if (ownId != 0) {
        query += QStringLiteral(" and id<>:id");
        params.insert(QStringLiteral("id"), ownId);
    }
    return CheckDuplicate(query, params, message);
}

bool TDataModule6::CountsAny(const QString& query, const QVariantMap& params) { return scalar(query, params).toLongLong() > 0; }

void TDataModule6::DetectDatabaseFeatures()
{
    MonthLockInstalled = month_lock::installed(ADO_DB);
    PersonCodesIndexed = person_codes::indexed(ADO_DB);
    for (int shift = 1; shift <= 3; ++shift)
        timesheetQuery(shift).setSql(data_module_sql::monthlyTimesheet(shift, PersonCodesIndexed));
}

std::optional<month_lock::ClosedMonth> TDataModule6::ClosedMonthOf(const QDate& date)
{
    if (!MonthLockInstalled || !date.isValid())
        return std::nullopt;
    return month_lock::find(ADO_DB, date.year(), date.month());
}

Dataset& TDataModule6::shiftQuery(int shift)
{
    switch (shift) {
    case 2:
        return Smena2;
    case 3:
        return Smena3;
    case 4:
        return Smena4;
    default:
        return Smena1;
    }
}

Dataset& TDataModule6::timesheetQuery(int shift)
{
    switch (shift) {
    case 2:
        return H_Tabel_2;
    case 3:
        return H_Tabel_3;
    default:
        return H_Tabel_1;
    }
}
