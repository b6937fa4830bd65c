#include "pay_statement.h"

#include "acceptance.h"
#include "dataset.h"
#include "sql_text.h"

#include <QHash>
#include <QLocale>

namespace pay_statement {

namespace {

const QString kPeriod = QStringLiteral(
    "%1 >= :data1::date and %1 < :data2::date and (:worker::integer = 0 or %2 = :worker::integer)");

QString inPeriod(const QString& dateColumn, const QString& workerColumn)
{
    return kPeriod.arg(dateColumn, workerColumn);
}

// The column indexes of an open dataset, looked up once for all its records.
struct Columns {
    const Dataset& data;
    Field operator()(const char* name) const { return Field(&data, data.columnIndex(QLatin1String(name))); }
};

qint64 kopecks(double roundedAmount) { return qRound64(roundedAmount * 100); }

QString colourText(int colour)
{
    if (colour == 1)
        return QStringLiteral(" (грунт)");
    if (colour > 1)
        return QStringLiteral(" (RAL: %1)").arg(colour);
    return {};
}

QString productKindText(const Field& naimen)
{
    if (naimen.isNull())
        return {};
    return naimen.asInteger() == 0 ? QStringLiteral("Готовая продукция") : QStringLiteral("Заготовки");
}

// Records of one worker key, in the order of the query.
template <typename Line>
using ByWorker = QHash<int, std::vector<Line>>;

ByWorker<PieceLine> readPieces(Dataset& data)
{
    ByWorker<PieceLine> byWorker;
    data.open();
    const Columns c{data};
    const Field worker = c("w_id"), date = c("data"), shift = c("smena"), brand = c("marka"), kind = c("vid"),
                naimen = c("naimen"), colour = c("color"), quantity = c("kol_vo"), rejects = c("brak"),
                price = c("cena"), pay = c("summa"), mark = c("ok");
    for (data.first(); !data.eof(); data.next()) {
        PieceLine line;
        line.date = date.asDate();
        line.shift = shift.asInteger();
        line.brand = brand.isNull() ? QStringLiteral("(изделие удалено)") : brand.asString().trimmed();
        line.operation = kind.isNull() ? QStringLiteral("(операция удалена)")
                                       : kind.asString().trimmed() + colourText(colour.asInteger());
        line.productKind = productKindText(naimen);
        line.quantity = quantity.asInteger();
        line.rejects = rejects.asInteger();
        line.price = price.asFloat();
        line.payKopecks = kopecks(pay.asFloat());
        line.accepted = acceptance::isAccepted(mark.asString());
        byWorker[worker.asInteger()].push_back(std::move(line));
    }
    data.close();
    return byWorker;
}

ByWorker<HouseholdLine> readHousehold(Dataset& data)
{
    ByWorker<HouseholdLine> byWorker;
    data.open();
    const Columns c{data};
    const Field worker = c("w_id"), date = c("d_date"), kind = c("vid"), hours = c("cnt"), price = c("price"),
                amount = c("summa");
    for (data.first(); !data.eof(); data.next()) {
        HouseholdLine line;
        line.date = date.asDate();
        line.kind = kind.isNull() ? QStringLiteral("(вид работы удален)") : kind.asString().trimmed();
        line.hours = hours.asInteger();
        line.price = price.asFloat();
        line.amountKopecks = kopecks(amount.asFloat());
        byWorker[worker.asInteger()].push_back(std::move(line));
    }
    data.close();
    return byWorker;
}

QHash<int, Hours> readHours(Dataset& data)
{
    QHash<int, Hours> byWorker;
    data.open();
    const Columns c{data};
    const Field worker = c("w_id"), h1 = c("h1"), h2 = c("h2"), h3 = c("h3"), d1 = c("d1"), d2 = c("d2"),
                d3 = c("d3"), days = c("days");
    for (data.first(); !data.eof(); data.next()) {
        Hours& h = byWorker[worker.asInteger()];
        h.hours = {h1.asInteger(), h2.asInteger(), h3.asInteger()};
        h.days = {d1.asInteger(), d2.asInteger(), d3.asInteger()};
        h.daysWorked = days.asInteger();
    }
    data.close();
    return byWorker;
}

QString markedName(const Field& erpName, const Field& registerName, int workerKey)
{
    if (!erpName.isNull())
        return erpName.asString().trimmed();
    const QString known = registerName.isNull() ? QStringLiteral("Рабочий") : registerName.asString().trimmed();
    return QStringLiteral("%1 (код %2 не найден среди лиц ERP)").arg(known).arg(workerKey);
}

}  // namespace

qint64 Statement::pieceKopecks() const
{
    qint64 sum = 0;
    for (const PieceLine& line : pieces)
        sum += line.payKopecks;
    return sum;
}

qint64 Statement::householdKopecks() const
{
    qint64 sum = 0;
    for (const HouseholdLine& line : household)
        sum += line.amountKopecks;
    return sum;
}

// The worker asked for is among the keys even with nothing in the period: his statement
// then says so. The journal finds a record's person by key or by code; the code is read as an integer
// only where it is one. Keys matched each way are put together first, so that each join
// can use an index or a hash instead of comparing every person with every record.
QString sql::workers()
{
    return QStringLiteral(
               "with keys as (\n"
               "  select w_id from accounts_dep.smena where %1\n"
               "  union select id_p::integer from accounts_dep.fatigue where %2\n"
               "  union select :worker::integer where :worker::integer > 0),\n"
               "persons as (\n"
               "  select k.w_id, p.id as person_id, p.s_caption from keys k join cmn_contractor.person p on p.id = k.w_id\n"
               "  union select k.w_id, p.id, p.s_caption from keys k join cmn_contractor.person p on %3 = k.w_id)\n"
               "select k.w_id, ps.person_id, ps.s_caption as fio, ap.fio as register_fio, ap.s_staffpos_hl as position\n"
               "from keys k left join persons ps on ps.w_id = k.w_id left join accounts_dep.person ap on ap.id = k.w_id\n"
               "order by ps.s_caption, k.w_id, ps.person_id")
        .arg(inPeriod(QStringLiteral("data"), QStringLiteral("w_id")),
             inPeriod(QStringLiteral("d_date"), QStringLiteral("id_p")),
             sql_text::integerOrNull(QStringLiteral("p.s_code")));
}

// Items and operations deleted since keep their records: the joins are outer ones. Names
// of fixed width come without their padding, which would be most of what is sent.
QString sql::pieces()
{
    return QStringLiteral(
               "select s.w_id, s.data, s.smena, rtrim(iz.marka) as marka, rtrim(vo.vid) as vid, o.naimen, s.color, s.kol_vo, s.brak, s.cena,\n"
               "round((s.kol_vo - s.brak) * s.cena::numeric, 2) as summa, s.ok\n"
               "from accounts_dep.smena s left join accounts_dep.izdel iz on iz.id = s.i_id\n"
               "left join accounts_dep.oper o on o.id = s.o_id left join accounts_dep.vid_oper vo on vo.id = o.vid\n"
               "where %1\n"
               "order by s.w_id, s.data, s.smena, s.id")
        .arg(inPeriod(QStringLiteral("s.data"), QStringLiteral("s.w_id")));
}

QString sql::household()
{
    return QStringLiteral(
               "select f.id_p::integer as w_id, f.d_date, rtrim(vo.vid) as vid, f.cnt, f.price, round(f.cnt * f.price, 2) as summa\n"
               "from accounts_dep.fatigue f left join accounts_dep.vid_oper vo on vo.id = f.id_o\n"
               "where %1\n"
               "order by f.id_p, f.d_date, f.id")
        .arg(inPeriod(QStringLiteral("f.d_date"), QStringLiteral("f.id_p")));
}

// The day columns of the timesheet rows of the months the period covers, each a date
// of its own; days a month does not have are left out.
QString sql::hours()
{
    QStringList days;
    for (int day = 1; day <= 31; ++day)
        days << QStringLiteral("(%1, h.d%1)").arg(day);
    return QStringLiteral(
               "with cells as (\n"
               "  select h.w_id, h.smena, make_date(h.year, h.month, 1) + (d.day - 1) as day, d.hours\n"
               "  from accounts_dep.h_tabel h cross join lateral (values %1) as d(day, hours)\n"
               "  where h.smena between 1 and 3 and d.hours > 0\n"
               "    and make_date(h.year, h.month, 1) between date_trunc('month', :data1::date) and :data2::date - 1\n"
               "    and d.day <= extract(day from make_date(h.year, h.month, 1) + interval '1 month' - interval '1 day')\n"
               "    and (:worker::integer = 0 or h.w_id = :worker::integer))\n"
               "select w_id,\n"
               "  coalesce(sum(hours) filter (where smena = 1), 0) as h1, coalesce(sum(hours) filter (where smena = 2), 0) as h2,\n"
               "  coalesce(sum(hours) filter (where smena = 3), 0) as h3,\n"
               "  count(distinct day) filter (where smena = 1) as d1, count(distinct day) filter (where smena = 2) as d2,\n"
               "  count(distinct day) filter (where smena = 3) as d3, count(distinct day) as days\n"
               "from cells where day >= :data1::date and day < :data2::date group by w_id")
        .arg(days.join(QStringLiteral(", ")));
}

std::vector<Statement> read(Connection& connection, const QDate& from, const QDate& to, int workerKey)
{
    const auto opened = [&](const QString& text) {
        auto data = std::make_unique<Dataset>(connection, text);
        data->setParam(QStringLiteral("data1"), from);
        data->setParam(QStringLiteral("data2"), to);
        data->setParam(QStringLiteral("worker"), workerKey);
        return data;
    };
    const ByWorker<PieceLine> pieces = readPieces(*opened(sql::pieces()));
    const ByWorker<HouseholdLine> household = readHousehold(*opened(sql::household()));
    const QHash<int, Hours> hours = readHours(*opened(sql::hours()));

    std::vector<Statement> statements;
    const auto workers = opened(sql::workers());
    workers->open();
    const Columns c{*workers};
    const Field key = c("w_id"), erpName = c("fio"), registerName = c("register_fio"), position = c("position");
    for (workers->first(); !workers->eof(); workers->next()) {
        Statement s;
        s.workerKey = key.asInteger();
        s.name = markedName(erpName, registerName, s.workerKey);
        s.position = position.asString().trimmed();
        s.pieces = pieces.value(s.workerKey);
        s.household = household.value(s.workerKey);
        s.hours = hours.value(s.workerKey);
        statements.push_back(std::move(s));
    }
    return statements;
}

QString periodCaption(const QDate& from, const QDate& to)
{
    if (from.day() == 1 && to == from.addMonths(1))
        return QStringLiteral("за %1 %2")
            .arg(QLocale(QLocale::Russian).standaloneMonthName(from.month()).toLower())
            .arg(from.year());
    return QStringLiteral("за период с %1 по %2").arg(sql_text::dateText(from), sql_text::dateText(to.addDays(-1)));
}

QLocale numberLocale()
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

QString money(qint64 kopecks) { return numberLocale().toString(double(kopecks) / 100, 'f', 2); }

QString price(double value)
{
    const QLocale locale = numberLocale();
    QString text = locale.toString(value, 'f', 4);
    const QChar point = locale.decimalPoint().at(0);
    while (text.endsWith(QLatin1Char('0')) && text.indexOf(point) < text.size() - 3)
        text.chop(1);
    return text;
}

}  // namespace pay_statement
