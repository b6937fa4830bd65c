#include "price_list.h"

#include "dataset.h"

#include <QLocale>

namespace price_list {

namespace {

// Fixed-width texts come padded with blanks.
QString withoutPadding(QString text)
{
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

}  // namespace

QString query()
{
    return QStringList{
        QStringLiteral("select izdel.MARKA, vid_oper.VID, oper.NAIMEN,(SELECT (CASE naimen WHEN 0 THEN 'Готовая продукция' "
                       "ELSE 'Заготовки' END)) as nmn, oper.CENA_new as cena, oper.id, oper.i_id,"),
        QStringLiteral(" oper.VID as oper_vid from accounts_dep.OPER,accounts_dep.IZDEL,accounts_dep.VID_OPER where "
                       "OPER.i_id=IZDEL.id "),
        QStringLiteral("and oper.vid=vid_oper.id order by izdel.marka, vid_oper.vid, oper.naimen"),
    }.join(QLatin1Char('\n'));
}

QStringList header()
{
    return {QStringLiteral("Марка"), QStringLiteral("Операция"), QStringLiteral("Цена"), QStringLiteral("Вид")};
}

QStringList row(const Dataset& rep)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    const int naimen = rep.fieldByName(QStringLiteral("naimen")).asInteger();
    return {withoutPadding(rep.fieldByName(QStringLiteral("marka")).asString()),
            withoutPadding(rep.fieldByName(QStringLiteral("vid")).asString()),
            locale.toString(rep.fieldByName(QStringLiteral("cena")).asFloat(), 'g', 15),
            naimen == 0 ? QStringLiteral("Готовая продукция") : QStringLiteral("Заготовки")};
}

}  // namespace price_list
