#include "person_codes.h"

#include "data_module.h"
#include "database_error.h"

#include <QStringList>

namespace {

constexpr int kShownCodes = 5;

// Codes the server cannot read as an integer: anything but optional blanks around an
// optionally signed run of digits, and runs of digits beyond the integer range. The case
// keeps the cast away from texts that are no numbers.
const char* const kBadCodesSql =
    "select s_code, s_caption from cmn_contractor.person where case when s_code ~ '^ *[+-]?[0-9]{1,10} *$' "
    "then btrim(s_code)::numeric not between -2147483648 and 2147483647 else s_code is not null end "
    "order by s_caption, s_code limit %1";

QStringList badPersonCodes()
{
    Dataset& control = DataModule6->Control;
    control.setSql(QString::fromLatin1(kBadCodesSql).arg(kShownCodes));
    control.open();
    QStringList codes;
    for (control.first(); !control.eof(); control.next())
        codes << QStringLiteral("«%1» (%2)").arg(control.fieldByName(QStringLiteral("s_code")).asString(),
                                                 control.fieldByName(QStringLiteral("s_caption")).asString());
    control.close();
    return codes;
}

}  // namespace

bool isIntegerCastFailure(const DatabaseError& error)
{
    return error.sqlState() == QLatin1String("22P02") || error.sqlState() == QLatin1String("22003");
}

QString personCodeFailureText(const DatabaseError& error)
{
    const QStringList codes = badPersonCodes();
    if (codes.isEmpty())
        return error.text();
    return QStringLiteral("Отчет не построен: работники находятся по коду лица ERP (cmn_contractor.person.s_code), "
                          "а эти коды не являются целыми числами от -2147483648 до 2147483647: %1.")
        .arg(codes.join(QStringLiteral(", ")));
}
