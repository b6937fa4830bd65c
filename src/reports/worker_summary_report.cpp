#include "period_reports.h"

#include "period_layout.h"
#include "sql_text.h"

TForm16* Form16 = nullptr;

QString period_report_sql::workerSummary()
{
    return QStringLiteral(
        "select person.s_caption fio, sum(smena.kol_vo-smena.brak)::numeric as kolvo, \n"
        "sum((kol_vo-brak)*smena.cena) as summa,vid_oper.vid,\n"
        "izdel.nom, oper.naimen, color from cmn_contractor.person person,accounts_dep.smena,accounts_dep.izdel,accounts_dep.vid_oper,\n"
        "accounts_dep.oper where w_id=%1 and izdel.id=smena.i_id and vid_oper.id=oper.vid\n"
        "and oper.id=smena.o_id and smena.data<:data2 and smena.data>=:data1 \n"
        "group by fio, izdel.nom, oper.naimen, vid_oper.vid, color order by fio, izdel.nom")
        .arg(sql_text::integerOrNull(QStringLiteral("s_code")));
}

namespace {

using namespace report;
using namespace period_layout;

// Worker, then item: good quantity and pay per operation kind, colour and product kind.
ReportDefinition workerSummaryLayout()
{
    ReportDefinition d = periodReport(QStringLiteral("Отчет по рабочим"));
    d.reportHeader = reportHeader(4.2, {titleLabel(0.3)});

    Group worker = group(QStringLiteral("t_Report.fio"));
    worker.header = groupHeader(6.6, QStringLiteral("fio"), true);
    worker.footer = groupFooter(6.1, {total(QStringLiteral("sum(summa)"), 163.0, 23.8, QStringLiteral("#0.00"))});
    worker.footer->frame = Frame::below();

    Group item = group(QStringLiteral("t_Report.nom"), true);
    item.header = groupHeader(5.3, QStringLiteral("nom"), false);
    item.footer = groupFooter(5.3, {total(QStringLiteral("sum(kolvo)"), 137.8, 19.3),
                                    total(QStringLiteral("sum(summa)"), 163.0, 23.8, QStringLiteral("#0.000"))});
    d.groups = {worker, item};

    d.detail = detail(9, {expression(kProductKindText).at(13.2, 42.1),
                          centredField(QStringLiteral("vid"), 56.9, 43.1),
                          expression(kColourText).at(101.6, 34.7),
                          centredField(QStringLiteral("kolvo"), 137.8, 19.3),
                          centredField(QStringLiteral("summa"), 163.0, 23.5, QStringLiteral("#0.000"))});

    d.reportFooter = reportFooter(5.8, {text(QStringLiteral("Итого:")).at(137.8, 23.1),
                                        total(QStringLiteral("sum(summa)"), 160.9, 28.0, QStringLiteral("#0.00"))});
    return d;
}

}  // namespace

TForm16::TForm16(QWidget* parent)
    : PeriodReportWindow({"Form16", "t_Report", period_report_sql::workerSummary(), workerSummaryLayout()}, parent)
{
}
