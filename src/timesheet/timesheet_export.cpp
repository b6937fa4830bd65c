#include "timesheet_export.h"

#include "dataset.h"
#include "reports/excel_export.h"

namespace {

constexpr int kSheet = 1;
constexpr int kTotalColumn = 33;

void writeHeadings(ExcelExport& excel, const QString& title)
{
    excel.WriteCellFormatted(kSheet, 1, 1, title, true, true, true);
    excel.WriteCellFormatted(kSheet, 1, 2, QStringLiteral("Фамилия И.О."), true, true, true);
    for (int day = 1; day <= 31; ++day)
        excel.WriteCellFormatted(kSheet, day + 1, 2, QString::number(day), false, true, true);
    excel.WriteCellFormatted(kSheet, kTotalColumn, 2, QStringLiteral("Итого"), true, true, true);
}

void writeWorker(ExcelExport& excel, const Dataset& query, int row)
{
    excel.WriteCellFormatted(kSheet, 1, row, query.fieldByName(QStringLiteral("fio")).asString(), true, true, false);
    int total = 0;
    for (int day = 1; day <= 31; ++day) {
        const int hours = query.fieldByName(QStringLiteral("sd%1").arg(day)).asInteger();
        excel.WriteCellFormatted(kSheet, day + 1, row, QString::number(hours), false, true, false);
        total += hours;
    }
    excel.WriteCellFormatted(kSheet, kTotalColumn, row, QString::number(total), false, true, false);
}

}  // namespace

bool exportTimesheet(Dataset& H_Tabel, ExcelExport& excel, const QString& title,
                     const std::function<void(int written, int total)>& progress)
{
    if (excel.OpenExcel(QString()) == -1)
        return false;
    excel.ShowExcel(false);
    const int total = H_Tabel.recordCount();
    progress(0, total);
    H_Tabel.first();
    writeHeadings(excel, title);
    for (int row = 3; !H_Tabel.eof(); H_Tabel.next(), ++row) {
        writeWorker(excel, H_Tabel, row);
        progress(row - 2, total);
    }
    excel.ShowExcel(true);
    return true;
}
