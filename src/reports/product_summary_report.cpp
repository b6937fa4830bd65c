#include "period_reports.h"

#include "period_layout.h"

TForm17* Form17 = nullptr;

QString period_report_sql::productSummary()
{
    return QStringLiteral(
        "select sum(smena.kol_vo-smena.brak)::numeric as kolvo, vid_oper.vid,\n"
        "izdel.nom, oper.naimen, color,  round((izdel.massa*sum(smena.kol_vo-smena.brak))::numeric,2) as mass\n"
        "from accounts_dep.smena,accounts_dep.izdel,accounts_dep.vid_oper, accounts_dep.oper where izdel.id=smena.i_id and vid_oper.id=oper.vid\n"
        "and oper.id=smena.o_id and smena.data<:data2 and smena.data>=:data1 \n"
        "group by izdel.nom,color, oper.naimen, vid_oper.vid, izdel.massa order by izdel.nom");
}

namespace {

using namespace report;
using namespace period_layout;

// Item: good quantity and mass ("Коробки") per operation kind, colour and product kind.
ReportDefinition productSummaryLayout()
{
    ReportDefinition d = periodReport(QStringLiteral("Отчет по продукции"));
    d.reportHeader = reportHeader(7.7, {titleLabel(0.0), text(QStringLiteral("Коробки")).at(136.3, 28.8).bold(),
                                        text(QStringLiteral("Количество")).at(165.1).bold()});

    Group item = group(QStringLiteral("nom"), true);
    item.header = groupHeader(5.3, QStringLiteral("nom"), true);
    item.footer = groupFooter(5.3, {total(QStringLiteral("sum(mass)"), 133.6, 19.3),
                                    total(QStringLiteral("sum(kolvo)"), 163.0, 23.8)});
    d.groups = {item};

    d.detail = detail(9, {expression(kProductKindText).at(13.2, 40.0),
                          centredField(QStringLiteral("vid"), 54.8, 36.2),
                          expression(kColourText).at(92.6, 39.4),
                          centredField(QStringLiteral("mass"), 133.6, 19.3),
                          centredField(QStringLiteral("kolvo"), 163.0, 23.5)});

    d.reportFooter = reportFooter(5.8, {text(QStringLiteral("Итого:")).at(106.4, 24.8),
                                        total(QStringLiteral("sum(mass)"), 131.2, 23.5, QStringLiteral("#0")),
                                        total(QStringLiteral("sum(kolvo)"), 160.9, 28.0)});
    return d;
}

}  // namespace

TForm17::TForm17(QWidget* parent)
    : PeriodReportWindow({"Form17", "t_Report", period_report_sql::productSummary(), productSummaryLayout()}, parent)
{
}
