#include "privilege_refusal.h"

#include <QHash>
#include <QRegularExpression>

namespace {

QString actionOf(const QString& statement)
{
    static const QHash<QString, QString> actions = {
        {QStringLiteral("insert"), QStringLiteral("добавление")},
        {QStringLiteral("update"), QStringLiteral("изменение")},
        {QStringLiteral("delete"), QStringLiteral("удаление")},
        {QStringLiteral("select"), QStringLiteral("чтение")},
    };
    const QString verb = statement.trimmed().section(QRegularExpression(QStringLiteral("\\s")), 0, 0).toLower();
    return actions.value(verb, QStringLiteral("изменение данных"));
}

// The first table the statement names: for a write the table written.
QString tableOf(const QString& statement)
{
    static const QHash<QString, QString> tables = {
        {QStringLiteral("accounts_dep.smena"), QStringLiteral("журнал смен")},
        {QStringLiteral("accounts_dep.h_tabel"), QStringLiteral("табель")},
        {QStringLiteral("accounts_dep.fatigue"), QStringLiteral("хозяйственные работы")},
        {QStringLiteral("accounts_dep.person"), QStringLiteral("рабочие")},
        {QStringLiteral("accounts_dep.izdel"), QStringLiteral("изделия")},
        {QStringLiteral("cmn_gds_and_srv.gds_and_srv"), QStringLiteral("изделия")},
        {QStringLiteral("accounts_dep.oper"), QStringLiteral("операции")},
        {QStringLiteral("accounts_dep.norm"), QStringLiteral("нормы")},
        {QStringLiteral("accounts_dep.vid_oper"), QStringLiteral("виды операций")},
        {QStringLiteral("accounts_dep.ver"), QStringLiteral("версия программы")},
    };
    static const QRegularExpression qualifiedName(QStringLiteral("\\b([a-z_]+\\.[a-z_]+)\\b"),
                                                  QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch found = qualifiedName.match(statement);
    return found.hasMatch() ? tables.value(found.captured(1).toLower(), QStringLiteral("данные ERP")) : QString();
}

}  // namespace

QString privilegeRefusalText(const QString& statement)
{
    QString text = QStringLiteral("Недостаточно прав: ") + actionOf(statement);
    if (const QString table = tableOf(statement); !table.isEmpty())
        text += QStringLiteral(" («%1»)").arg(table);
    return text;
}
