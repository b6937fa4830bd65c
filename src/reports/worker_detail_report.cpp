#include "period_reports.h"

#include "period_layout.h"
#include "sql_text.h"

TForm20* Form20 = nullptr;

// The bonus sum names the record's price smena.cena: operations have a price column cena
// of their own, and a bare "cena" would make the server refuse the query as ambiguous.
QString period_report_sql::workerDetail()
{
    return QStringLiteral(
        "select s_caption fio, izdel.marka, vid_oper.vid, oper.naimen, \n"
        "sum(smena.kol_vo)::numeric as kolvo, sum(smena.brak) as brk, sum((kol_vo-brak)*\n"
        "smena.cena) as summa, color, sum(prize*(kol_vo-brak)*smena.cena/100) as s_prize \n"
        "from cmn_contractor.person person,accounts_dep.izdel,accounts_dep.oper,accounts_dep.smena,accounts_dep.vid_oper where \n"
        "smena.o_id=oper.id and smena.w_id=%1 and smena.i_id=izdel.id \n"
        "and smena.o_id=oper.id and w_id=%1 and oper.vid=vid_oper.id \n"
        "and smena.data<:data2 and smena.data>=:data1 group by fio, marka, \n"
        "vid_oper.vid, oper.naimen, color order by fio, marka, vid_oper.vid, oper.naimen")
        .arg(sql_text::integerOrNull(QStringLiteral("s_code")));
}

namespace {

using namespace report;
using namespace period_layout;

// Worker: gross quantity, defects and pay per brand, operation kind, colour and product kind.
ReportDefinition workerDetailLayout()
{
    ReportDefinition d = periodReport(QStringLiteral("Детальный отчет по рабочим"));
    d.reportHeader = reportHeader(7.7, {titleLabel(0.0), text(QStringLiteral("Брак")).at(124.1, 9.2).bold().size(9),
                                        text(QStringLiteral("Количество")).at(133.3, 24.1).bold().size(9),
                                        text(QStringLiteral("Сумма")).at(157.4).bold().size(9)});

    Group worker = group(QStringLiteral("fio"), true);
    worker.header = groupHeader(5.3, QStringLiteral("fio"), true);
    worker.footer = groupFooter(6.3, {total(QStringLiteral("sum(brk)"), 128.3, 9.0),
                                      total(QStringLiteral("sum(kolvo)"), 145.5, 19.3),
                                      total(QStringLiteral("sum(summa)"), 169.9, 19.6, QStringLiteral("#0.00"))});
    d.groups = {worker};

    d.detail = detail(8, {field(QStringLiteral("marka")).at(0.3, 41.0),
                          centredField(QStringLiteral("vid"), 42.9, 29.1),
                          centredField(QStringLiteral("color"), 73.6, 16.1),
                          expression(kProductKindText).at(91.3, 29.9),
                          centredField(QStringLiteral("brk"), 128.1, 9.0),
                          centredField(QStringLiteral("kolvo"), 146.3, 17.5),
                          centredField(QStringLiteral("summa"), 169.9, 19.6, QStringLiteral("#0.00"))});

    d.reportFooter = reportFooter(5.8, {text(QStringLiteral("Итого:")).at(106.1, 25.9),
                                        total(QStringLiteral("sum(brk)"), 132.0, 11.4),
                                        total(QStringLiteral("sum(kolvo)"), 145.0, 19.3),
                                        total(QStringLiteral("sum(summa)"), 165.9, 23.5, QStringLiteral("#0.00"))});
    return d;
}

}  // namespace

TForm20::TForm20(QWidget* parent)
    : PeriodReportWindow({"Form20", "w_Report", period_report_sql::workerDetail(), workerDetailLayout()}, parent)
{
}
