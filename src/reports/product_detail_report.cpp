#include "period_reports.h"

#include "period_layout.h"

TForm21* Form21 = nullptr;

QString period_report_sql::productDetail()
{
    return QStringLiteral(
        "select izdel.marka, vid_oper.vid vid, oper.naimen, izdel.nom,\n"
        "sum(smena.kol_vo)::numeric as kolvo, sum(smena.brak) as brk, \n"
        "sum((kol_vo-brak)*smena.cena) as summa, color, round((izdel.massa*sum(smena.kol_vo))::numeric,2) as mass \n"
        "from accounts_dep.izdel,accounts_dep.oper,accounts_dep.smena,accounts_dep.vid_oper where smena.o_id=oper.id and smena.i_id=izdel.id \n"
        "and smena.o_id=oper.id and oper.vid=vid_oper.id and smena.data<:data2 and \n"
        "smena.data>=:data1 group by izdel.nom, marka, vid_oper.vid, oper.naimen, color,massa \n"
        "order by izdel.nom,marka, vid_oper.vid, oper.naimen");
}

namespace {

using namespace report;
using namespace period_layout;

// Item: gross quantity, defects, mass and pay per brand, operation kind, colour and product kind.
ReportDefinition productDetailLayout()
{
    ReportDefinition d = periodReport(QStringLiteral("Детальный отчет по продукции"));
    d.reportHeader = reportHeader(7.7, {titleLabel(0.0).size(9), text(QStringLiteral("Брак")).at(124.4, 10.5).bold(),
                                        text(QStringLiteral("Коробки")).at(134.9, 18.6).bold(),
                                        text(QStringLiteral("Кол-во")).at(153.5, 20.3).bold(),
                                        text(QStringLiteral("Сумма")).at(173.8).bold()});

    Group item = group(QStringLiteral("nom"), true);
    item.header = groupHeader(5.3, QStringLiteral("nom"), true);
    item.footer = groupFooter(5.3, {total(QStringLiteral("sum(brk)"), 124.4, 8.7),
                                    total(QStringLiteral("sum(mass)"), 132.8, 18.8, QStringLiteral("#0.00")),
                                    total(QStringLiteral("sum(kolvo)"), 152.1, 16.7),
                                    total(QStringLiteral("sum(summa)"), 169.9, 20.1, QStringLiteral("#0.00"))});
    d.groups = {item};

    // Brands are short beside operation kinds such as "Хоз. работы (средняя сдельная)":
    // the operation takes the brand column's free room and, like "Готовая продукция",
    // a smaller size, so that neither runs into the column after it.
    d.detail = detail(9, {field(QStringLiteral("marka")).at(1.1, 35.4),
                          field(QStringLiteral("vid")).at(37.0, 43.7).size(8),
                          centredField(QStringLiteral("color"), 81.2, 16.7),
                          expression(kProductKindText).at(99.5, 27.0).size(8),
                          centredField(QStringLiteral("brk"), 125.4, 6.6),
                          centredField(QStringLiteral("mass"), 133.6, 18.8),
                          centredField(QStringLiteral("kolvo"), 152.1, 16.7),
                          centredField(QStringLiteral("summa"), 169.9, 19.1, QStringLiteral("#0.000"))});

    d.reportFooter = reportFooter(6.6, {text(QStringLiteral("Итого:")).at(99.7, 24.7),
                                        total(QStringLiteral("sum(brk)"), 124.4, 8.5),
                                        total(QStringLiteral("sum(mass)"), 132.8, 18.8),
                                        total(QStringLiteral("sum(kolvo)"), 152.1, 16.7),
                                        total(QStringLiteral("sum(summa)"), 169.9, 19.1, QStringLiteral("#0.00"))});
    return d;
}

}  // namespace

TForm21::TForm21(QWidget* parent)
    : PeriodReportWindow({"Form21", "i_Report", period_report_sql::productDetail(), productDetailLayout()}, parent)
{
}
