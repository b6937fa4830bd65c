#include "version_check.h"

#include "data_module.h"
#include "error_box.h"
#include "journal_window.h"
#include "login_window.h"

#include <QStringList>
#include <QSysInfo>
#include <QTimer>

BuildStampNumbers buildStampNumbers(const seams::BuildStamp& stamp)
{
    static const QStringList months = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    // "Feb 12 2024" (a one-digit day is padded with a blank) and "16:25:28".
    const int month = int(months.indexOf(stamp.date.left(3))) + 1;
    const int day = stamp.date.mid(4, 2).trimmed().toInt();
    const int year = stamp.date.mid(7, 4).toInt();
    const QStringList clock = stamp.time.split(QLatin1Char(':'));
    BuildStampNumbers numbers;
    numbers.date = year * 10000 + month * 100 + day;
    numbers.time = clock.value(0).toInt() * 3600 + clock.value(1).toInt() * 60 + clock.value(2).toInt();
    return numbers;
}

QString connectionName(const QString& roleName)
{
    const BuildStampNumbers build = buildStampNumbers(seams::buildStamp());
    const int minutes = build.time / 60;
    QString name = QStringLiteral("Tabel %1-%2%3 %4")
                       .arg(build.date)
                       .arg(minutes / 60, 2, 10, QLatin1Char('0'))
                       .arg(minutes % 60, 2, 10, QLatin1Char('0'))
                       .arg(QSysInfo::machineHostName());
    if (!roleName.isEmpty())
        name += QLatin1Char(' ') + roleName;
    return name;
}

namespace {

bool isOlder(int date, int time, int thanDate, int thanTime)
{
    return date < thanDate || (date == thanDate && time < thanTime);
}

struct StoredStamp {
    int date = 0;
    int time = 0;
};

StoredStamp readStamp(Dataset& ver)
{
    if (ver.isEmpty())
        return {};
    return {ver.fieldByName(QStringLiteral("d")).asInteger(), ver.fieldByName(QStringLiteral("t")).asInteger()};
}

}  // namespace

BuildStampNumbers setBuildStamp()
{
    const BuildStampNumbers build = buildStampNumbers(seams::buildStamp());
    Form1->BuildDate = build.date;
    Form1->BuildTime = build.time;
    return build;
}

void CheckVersion()
{
    const BuildStampNumbers build = setBuildStamp();

    Dataset& ver = Form1->ver;
    CloseOnExit closing{ver};
    ver.open();
    ver.first();
    DataModule6->DbDelimiter = ver.isEmpty() ? QString() : ver.fieldByName(QStringLiteral("delim")).asString();

    const StoredStamp stored = readStamp(ver);
    if (isOlder(stored.date, stored.time, build.date, build.time)) {
        ver.edit();
        ver.fieldByName(QStringLiteral("d")).setValue(build.date);
        ver.fieldByName(QStringLiteral("t")).setValue(build.time);
        ver.post();
    }

    const StoredStamp now = readStamp(ver);
    if (isOlder(build.date, build.time, now.date, now.time)) {
        Form23->Timer1->start();
        showError(Form23, QStringLiteral("Версия программы не соответсвует БД! Запустите программу через 5 мин."));
        seams::requestProgramEnd();
    }
}
