#include "timesheet_layout.h"

#include "data_module.h"
#include "person_codes.h"

TForm15* Form15 = nullptr;

namespace {

using namespace report;

constexpr double kFirstDayMm = 81.0;
constexpr double kLastDayMm = 254.0;
constexpr double kDayWidthMm = 5.3;
constexpr double kTotalMm = 265.0;
constexpr double kTotalWidthMm = 12.0;

double dayLeft(int day) { return kFirstDayMm + (day - 1) * (kLastDayMm - kFirstDayMm) / 30.0; }

QString totalExpression()
{
    QStringList days;
    for (int day = 1; day <= 31; ++day)
        days << QStringLiteral("sd%1").arg(day);
    return days.join(QLatin1Char('+'));
}

Item dayColumn(Item item, int day)
{
    return item.at(dayLeft(day), kDayWidthMm).centred().framed(Frame::leftAndRight(Pen::dottedGrey()));
}

Band header()
{
    Band b = band(6.6, {text(QStringLiteral("Данные за:")).named(QStringLiteral("title")).at(0, kFirstDayMm - 1).bold()});
    for (int day = 1; day <= 31; ++day)
        b.items.push_back(dayColumn(text(QString::number(day)).bold(), day));
    b.items.push_back(text(QStringLiteral("Итого")).at(kTotalMm, kTotalWidthMm).centred().bold());
    b.frame = Frame::aboveAndBelow();
    return b;
}

Band line()
{
    Band b = band(6.35, {field(QStringLiteral("fio")).at(0, 80)});
    for (int day = 1; day <= 31; ++day)
        b.items.push_back(dayColumn(field(QStringLiteral("sd%1").arg(day)).family(QStringLiteral("Microsoft Sans Serif")).size(9), day));
    b.items.push_back(expression(totalExpression()).at(kTotalMm, kTotalWidthMm).centred().bold());
    b.frame = Frame::aboveAndBelow(Pen::dottedGrey());
    return b;
}

}  // namespace

QString timesheetPrintSql(bool personCodesIndexed)
{
    return QStringList{
        QStringLiteral("select person.s_caption fio,sum(d1) as sd1,sum(d2) as sd2,sum(d3) as sd3,sum(d4) as sd4,"),
        QStringLiteral("sum(d5) as sd5,sum(d6) as sd6,sum(d7) as sd7,sum(d8) as sd8,sum(d9) as sd9,"),
        QStringLiteral("sum(d10) as sd10,sum(d11) as sd11,sum(d12) as sd12,sum(d13) as sd13,"),
        QStringLiteral("sum(d14) as sd14,sum(d15) as sd15,sum(d16) as sd16,sum(d17) as sd17,"),
        QStringLiteral("sum(d18) as sd18,sum(d19) as sd19,sum(d20) as sd20,sum(d21) as sd21,"),
        QStringLiteral("sum(d22) as sd22,sum(d23) as sd23,sum(d24) as sd24,sum(d25) as sd25,"),
        QStringLiteral("sum(d26) as sd26,sum(d27) as sd27,sum(d28) as sd28,sum(d29) as sd29,"),
        QStringLiteral("sum(d30) as sd30,sum(d31) as sd31 from accounts_dep.h_tabel, cmn_contractor.person person where"),
        person_codes::matchWorker(QStringLiteral("person.s_code"), QStringLiteral("h_tabel.w_id"), personCodesIndexed)
            + QStringLiteral(" and month=:mnth and"),
        QStringLiteral("year=:yea group by fio order by fio"),
    }
        .join(QLatin1Char('\n'));
}

ReportDefinition timesheetLayout()
{
    ReportDefinition d;
    d.title = QStringLiteral("Табель по времени");
    d.page = PageSetup::a4(QPageLayout::Landscape);
    d.baseFont = {QStringLiteral("Arial"), 10};
    d.printWhenEmpty = true;
    d.pageHeader = header();
    d.detail = line();
    d.pageFooter = band(4.5, {pageNumber().at(0).rightAligned().family(QStringLiteral("MS Sans Serif")).size(10)});
    return d;
}

TForm15::TForm15(QWidget* parent)
    : QDialog(parent), H_Tabel(DataModule6->ADO_DB), Report(timesheetLayout())
{
    setObjectName(QStringLiteral("Form15"));
    H_Tabel.setObjectName(QStringLiteral("H_Tabel"));
}

void TForm15::openMonth(int month, int year)
{
    H_Tabel.setSql(timesheetPrintSql(DataModule6->PersonCodesIndexed));
    H_Tabel.setParam(QStringLiteral("mnth"), month);
    H_Tabel.setParam(QStringLiteral("yea"), year);
    H_Tabel.open();
}
