#include "timesheet_fixture.h"

#include "timesheet/timesheet_window.h"

#include <QComboBox>

int TimesheetFixture::record(int worker, const QDate& date, int shift, int hours, double price, int quantity,
                             int rejects, const QString& ok)
{
    Seed::Record r;
    r.worker = worker;
    r.item = 1;
    r.operation = 1;
    r.date = date;
    r.shift = shift;
    r.hours = hours;
    r.price = price;
    r.quantity = quantity;
    r.rejects = rejects;
    r.ok = ok;
    return seed->record(r);
}

int TimesheetFixture::timesheetRow(int worker, int shift, int month, int year, const std::vector<std::pair<int, int>>& cells)
{
    QString columns = QStringLiteral("w_id, smena, month, year");
    QString values = QStringLiteral("%1, %2, %3, %4").arg(worker).arg(shift).arg(month).arg(year);
    for (const auto& [day, hours] : cells) {
        columns += QStringLiteral(", d%1").arg(day);
        values += QStringLiteral(", %1").arg(hours);
    }
    return db->scalar(QStringLiteral("insert into accounts_dep.h_tabel (%1) values (%2) returning id").arg(columns, values)).toInt();
}

void TimesheetFixture::loadMonth(int month, int year)
{
    Form19->ComboBox1->setCurrentIndex(month - 1);
    Form19->ComboBox2->setCurrentIndex(Form19->ComboBox2->findText(QString::number(year)));
    Form19->ComboBox1Change();
}

QStringList TimesheetFixture::monthRows(int month, int year, bool withIds)
{
    QStringList cells;
    for (int day = 1; day <= 31; ++day)
        cells << QStringLiteral("coalesce(d%1::text, '-')").arg(day);
    const QString id = withIds ? QStringLiteral("id || '#' || ") : QString();
    return db->column(QStringLiteral("select %1w_id || '/' || smena || ': ' || concat_ws(',', %2) from accounts_dep.h_tabel "
                                     "where month = %3 and year = %4 order by w_id, smena, id")
                          .arg(id, cells.join(QStringLiteral(", ")))
                          .arg(month)
                          .arg(year));
}
