#include "report.h"
#include "russian_locale.h"
#include "table_rows.h"

#include <gtest/gtest.h>

namespace {

using namespace report;

// The texts of the first page, in the order they are printed.
QStringList pageTexts(const PreparedReport& prepared)
{
    QStringList texts;
    for (const Primitive& primitive : prepared.pages.at(0).primitives)
        if (const auto* box = std::get_if<TextBox>(&primitive))
            texts << box->text;
    return texts;
}

// What one expression item with that mask prints for one record.
QString printed(const QString& source, const QString& mask, const TableRows::Record& record)
{
    ReportDefinition d;
    d.detail = band(5, {expression(source).withMask(mask)});
    Report layout(d);
    TableRows rows(QStringLiteral("t_Report"), {"fio", "naimen", "color", "kolvo", "summa", "sd1", "sd2"}, {record});
    const QStringList texts = pageTexts(layout.prepare(rows));
    return texts.isEmpty() ? QString() : texts.front();
}

TEST(ReportExpression, PrintsValuesThroughExpressionsAndMasks)
{
    const RussianLocale russian;
    struct Case {
        QString source;
        QString mask;
        TableRows::Record record;  // fio, naimen, color, kolvo, summa, sd1, sd2
        QString expected;
    };
    const QString kind = "IF(naimen=0,'Готовая продукция','Заготовки')";
    const QString colour = "if(color>0,if(color=1,' (грунт)',' (RAL: '+STR(color)+')'),' ')";
    const auto r = [](TableRows::Record values) { values.resize(7); return values; };
    const std::vector<Case> cases = {
        // masks: two and three decimals, none, two or three; halves away from zero
        {"summa", "#0.00", r({txt("А"), num(0), num(0), num(0), num(1234.5)}), "1234,50"},
        {"summa", "#0.000", r({txt("А"), num(0), num(0), num(0), num(2.6745)}), "2,675"},
        {"summa", "#0.00", r({txt("А"), num(0), num(0), num(0), num(2.675)}), "2,68"},
        {"summa", "#0", r({txt("А"), num(0), num(0), num(0), num(2.5)}), "3"},
        {"summa", "#0", r({txt("А"), num(0), num(0), num(0), num(-2.5)}), "-3"},
        {"summa", "#0.00", r({txt("А"), num(0), num(0), num(0), num(-0.125)}), "-0,13"},
        {"summa", "#0.00", r({txt("А"), num(0), num(0), num(0), num(-0.004)}), "0,00"},
        {"summa", "#0.00", r({txt("А"), num(0), num(0), num(0), num(0.5)}), "0,50"},
        {"summa", "#0.00#", r({txt("А"), num(0), num(0), num(0), num(1.5)}), "1,50"},
        {"summa", "#0.00#", r({txt("А"), num(0), num(0), num(0), num(1.2345)}), "1,235"},
        {"summa", "#0.000", r({txt("А"), num(0), num(0), num(0), num(99.9996)}), "100,000"},
        {"summa", "", r({txt("А"), num(0), num(0), num(0), num(12.5)}), "12,5"},
        {"kolvo", "", r({txt("А"), num(0), num(0), num(12.0), num(0)}), "12"},
        {"summa", "#0.00", r({txt("А"), num(0), num(0), num(0), null()}), ""},
        {"summa", "#0.00", r({txt("А"), num(0), num(0), num(0), txt("7.5")}), "7,50"},
        // texts: Cyrillic, joining, fields qualified by the source's name
        {"fio", "", r({txt("Щукин Ё.Ж.")}), "Щукин Ё.Ж."},
        {"t_Report.fio", "", r({txt("Щукин Ё.Ж.")}), "Щукин Ё.Ж."},
        {"'Итого: '+fio+'!'", "", r({txt("Щукин")}), "Итого: Щукин!"},
        {"fio", "", r({null()}), ""},
        // both branches of IF, a null read as 0
        {kind, "", r({txt("А"), num(0)}), "Готовая продукция"},
        {kind, "", r({txt("А"), num(1)}), "Заготовки"},
        {kind, "", r({txt("А"), null()}), "Готовая продукция"},
        {colour, "", r({txt("А"), num(0), num(1)}), " (грунт)"},
        {colour, "", r({txt("А"), num(0), num(9003)}), " (RAL: 9003)"},
        {colour, "", r({txt("А"), num(0), num(0)}), " "},
        {"IF(fio='Иванов','да','нет')", "", r({txt("Иванов")}), "да"},
        {"IF(fio<>'Иванов','да','нет')", "", r({txt("Иванов")}), "нет"},
        {"IF(kolvo<summa,'<','>=')", "", r({txt("А"), num(0), num(0), num(2), num(3)}), "<"},
        {"STR(summa)", "", r({txt("А"), num(0), num(0), num(0), num(2.5)}), "2,5"},
        // arithmetic: nulls beside numbers read 0, two nulls stay empty
        {"sd1+sd2", "", r({txt("А"), num(0), num(0), num(0), num(0), num(8), null()}), "8"},
        {"sd1+sd2", "", r({txt("А"), num(0), num(0), num(0), num(0), null(), null()}), ""},
        {"-kolvo*2+summa/4", "#0.00", r({txt("А"), num(0), num(0), num(1.5), num(3)}), "-2,25"},
        {"(kolvo-summa)*-1", "", r({txt("А"), num(0), num(0), num(1), num(4)}), "3"},
        {"PAGENUMBER", "", r({txt("А")}), "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.source + " " + c.mask).toStdString());
        EXPECT_EQ(printed(c.source, c.mask, c.record), c.expected);
    }
}

TEST(ReportExpression, AFaultyLayoutIsReportedWhenItIsBuilt)
{
    struct Case {
        Item item;
        QString message;  // part of the message
    };
    const std::vector<Case> cases = {
        {expression("IF(naimen=0,'Готовая продукция'"), "позиция"},
        {expression("sum(kolvo"), "ожидалось «)»"},
        {expression("'не закрыт"), "кавычкой"},
        {expression("kolvo +* 2"), "ожидалось значение"},
        {expression("MAX(kolvo)"), "неизвестная функция «MAX»"},
        {expression("IF(kolvo, 1)"), "аргументов: 3"},
        {expression("kolvo summa"), "лишнее «summa»"},
        {expression(""), "пустое выражение"},
        {expression("kolvo").withMask("#,##0.00"), "маска"},
        {field("sum(kolvo)"), "не имя поля"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item.text.toStdString());
        ReportDefinition d;
        d.detail = band(5, {text("Итого"), c.item});
        try {
            Report layout(d);
            ADD_FAILURE() << "the layout was accepted";
        } catch (const DefinitionError& error) {
            EXPECT_TRUE(error.message().contains("данные, элемент 2")) << error.message().toStdString();
            EXPECT_TRUE(error.message().contains(c.message)) << error.message().toStdString();
        }
    }
}

TEST(ReportExpression, AFieldTheSourceHasNotIsReportedBeforeAnyPage)
{
    ReportDefinition d;
    d.detail = band(5, {field("fio"), expression("t_Report.kolvo")});
    Report layout(d);
    TableRows rows("t_Report", {"fio"}, {{txt("Иванов")}});
    EXPECT_THROW(
        {
            try {
                layout.prepare(rows);
            } catch (const DefinitionError& error) {
                EXPECT_EQ(error.message(), "В «t_Report» нет поля «kolvo»");
                throw;
            }
        },
        DefinitionError);
    TableRows other("w_Report", {"fio", "kolvo"}, {{txt("Иванов"), num(1)}});
    EXPECT_THROW(layout.prepare(other), DefinitionError);
}

}  // namespace
