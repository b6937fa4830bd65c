#include "report.h"
#include "russian_locale.h"
#include "table_rows.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {

using namespace report;

// A text as it came out on its page.
struct Placed {
    int page;
    QRectF rect;
    QString text;
};

std::vector<Placed> placedTexts(const PreparedReport& prepared)
{
    std::vector<Placed> placed;
    for (size_t p = 0; p < prepared.pages.size(); ++p)
        for (const Primitive& primitive : prepared.pages[p].primitives)
            if (const auto* box = std::get_if<TextBox>(&primitive))
                placed.push_back({int(p) + 1, box->rectMm, box->text});
    return placed;
}

QStringList textsOf(const std::vector<Placed>& placed)
{
    QStringList texts;
    for (const Placed& p : placed)
        texts << p.text;
    return texts;
}

const Placed* find(const std::vector<Placed>& placed, const QString& text)
{
    for (const Placed& p : placed)
        if (p.text == text)
            return &p;
    return nullptr;
}

// The layout of a summary by worker and item: totals per item, per worker, for the report.
ReportDefinition summaryLayout()
{
    ReportDefinition d;
    d.reportHeader = band(5, {text("Отчет")});
    d.reportHeader->children = {band(0.5)};
    Group worker = group("t_Report.fio");
    worker.header = band(6, {field("fio")});
    worker.footer = band(6, {text("по рабочему"), expression("sum(kolvo)").at(100, 20)});
    Group item = group("nom", true);
    item.header = band(5, {field("nom")});
    item.footer = band(5, {text("по изделию"), expression("sum(kolvo)").at(100, 20)});
    d.groups = {worker, item};
    d.detail = band(4, {field("kolvo").at(100, 20)});
    d.reportFooter = band(6, {text("всего"), expression("sum(kolvo)").at(100, 20).withMask("#0.00")});
    d.pageFooter = band(4, {pageNumber().at(176.2)});
    return d;
}

TEST(ReportPreparation, SumsArePerGroupInFootersAndWholeInTheReportFooter)
{
    const RussianLocale russian;
    const Report layout(summaryLayout());
    TableRows rows("t_Report", {"fio", "nom", "kolvo"},
                   {{txt("Иванов"), txt("Рама"), num(1)},
                    {txt("Иванов"), txt("Рама"), num(2)},
                    {txt("Иванов"), txt("Стол"), num(4)},
                    {txt("Петров"), txt("Рама"), num(8)},
                    {txt("Сидоров"), txt("Рама"), null()}});
    const PreparedReport prepared = layout.prepare(rows);
    ASSERT_EQ(prepared.pages.size(), 1u);
    EXPECT_EQ(textsOf(placedTexts(prepared)),
              QStringList({"Отчет",                                                                   //
                           "Иванов", "Рама", "1", "2", "по изделию", "3", "Стол", "4", "по изделию", "4",  //
                           "по рабочему", "7",                                                         //
                           "Петров", "Рама", "8", "по изделию", "8", "по рабочему", "8",                 //
                           "Сидоров", "Рама", "по изделию", "0", "по рабочему", "0",                   //
                           "всего", "15,00", "1"}));
}

TEST(ReportPreparation, BandsFollowOneAnotherFromTheTopMarginWithTheSpacerAfterTheHeader)
{
    const Report layout(summaryLayout());
    TableRows rows("t_Report", {"fio", "nom", "kolvo"}, {{txt("Иванов"), txt("Рама"), num(1)}});
    const std::vector<Placed> placed = placedTexts(layout.prepare(rows));
    EXPECT_EQ(find(placed, "Отчет")->rect, QRectF(10, 10, 190, 5));
    EXPECT_EQ(find(placed, "Иванов")->rect, QRectF(10, 15.5, 190, 6));
    EXPECT_EQ(find(placed, "Рама")->rect, QRectF(10, 21.5, 190, 5));
    EXPECT_EQ(find(placed, "1")->rect, QRectF(110, 26.5, 20, 4));
    // the page number at the foot of the page, right under the printable area
    EXPECT_EQ(placed.back().rect, QRectF(186.2, 283, 13.8, 4));
}

// Groups of n records under a page header of 10 mm and a page footer of 7 mm: the body
// runs from 20 to 280 mm. A kept group's header and footer take 15 mm, a record 20.
ReportDefinition keptGroupsLayout()
{
    ReportDefinition d;
    d.pageHeader = band(10, {text("Шапка")});
    Group g = group("g", true);
    g.header = band(15, {expression("'начало '+g")});
    g.footer = band(15, {expression("'конец '+g")});
    d.groups = {g};
    d.detail = band(20, {expression("g+STR(n)")});
    d.reportFooter = band(10, {text("Итог")});
    d.pageFooter = band(7, {pageNumber()});
    return d;
}

TableRows groupsOf(const std::vector<std::pair<QString, int>>& groups)
{
    std::vector<TableRows::Record> records;
    for (const auto& [name, count] : groups)
        for (int n = 1; n <= count; ++n)
            records.push_back({txt(name), num(n)});
    return TableRows("rows", {"g", "n"}, records);
}

void expectNothingOverlapsThePageFooter(const std::vector<Placed>& placed, int pages)
{
    std::vector<QString> numbers;
    for (const Placed& p : placed) {
        if (p.rect.top() >= 280) {
            EXPECT_EQ(p.rect, QRectF(10, 280, 190, 7));
            EXPECT_EQ(p.text, QString::number(p.page)) << "page numbers";
            numbers.push_back(p.text);
        } else {
            EXPECT_LE(p.rect.bottom(), 280 + 1e-9) << p.text.toStdString() << " on page " << p.page;
        }
    }
    EXPECT_EQ(int(numbers.size()), pages) << "one page number on every page";
}

TEST(ReportPreparation, AKeptGroupMovesWholeToTheNextPageWhenTheRestOfThePageIsTooShort)
{
    const Report layout(keptGroupsLayout());
    // A: 20-130, B: 130-260; C (250 mm) does not fit the 20 mm left and fills page 2;
    // D does not fit the 10 mm left there.
    TableRows rows = groupsOf({{"A", 4}, {"B", 5}, {"C", 11}, {"D", 1}});
    const PreparedReport prepared = layout.prepare(rows);
    const std::vector<Placed> placed = placedTexts(prepared);
    ASSERT_EQ(prepared.pages.size(), 3u);
    expectNothingOverlapsThePageFooter(placed, 3);
    struct Expected {
        QString group;
        int page;
        double headerTop;
        double footerTop;
    };
    for (const Expected& e : std::vector<Expected>{{"A", 1, 20, 115}, {"B", 1, 130, 245}, {"C", 2, 20, 255}, {"D", 3, 20, 55}}) {
        SCOPED_TRACE(e.group.toStdString());
        const Placed* header = find(placed, "начало " + e.group);
        const Placed* footer = find(placed, "конец " + e.group);
        ASSERT_TRUE(header && footer);
        EXPECT_EQ(header->page, e.page);
        EXPECT_EQ(footer->page, e.page);
        EXPECT_DOUBLE_EQ(header->rect.top(), e.headerTop);
        EXPECT_DOUBLE_EQ(footer->rect.top(), e.footerTop);
    }
    EXPECT_EQ(find(placed, "Итог")->page, 3);
    EXPECT_EQ(find(placed, "Шапка")->page, 1);
    EXPECT_EQ(std::count_if(placed.begin(), placed.end(), [](const Placed& p) { return p.text == "Шапка"; }), 3)
        << "the page header on every page";
}

TEST(ReportPreparation, AGroupTallerThanAPageRunsOverPagesButItsHeaderIsNotLeftAlone)
{
    const Report layout(keptGroupsLayout());
    // After A and B 20 mm are left: room for T's header (15 mm) but not for its first
    // record, so T starts on page 2; its 290 mm run over to page 3.
    TableRows rows = groupsOf({{"A", 4}, {"B", 5}, {"T", 13}});
    const PreparedReport prepared = layout.prepare(rows);
    const std::vector<Placed> placed = placedTexts(prepared);
    ASSERT_EQ(prepared.pages.size(), 3u);
    expectNothingOverlapsThePageFooter(placed, 3);
    EXPECT_EQ(find(placed, "начало T")->page, 2);
    EXPECT_DOUBLE_EQ(find(placed, "начало T")->rect.top(), 20);
    EXPECT_EQ(find(placed, "T12")->page, 2);
    EXPECT_DOUBLE_EQ(find(placed, "T12")->rect.top(), 255);
    EXPECT_EQ(find(placed, "T13")->page, 3);
    EXPECT_DOUBLE_EQ(find(placed, "T13")->rect.top(), 20);
    EXPECT_EQ(find(placed, "конец T")->page, 3);
}

// Workers over kept item groups, as in the summary by worker: the worker's header and
// footer 10 mm, an item's 15 mm, a record 20 mm; the body runs from 20 to 280 mm.
ReportDefinition workerItemsLayout()
{
    ReportDefinition d;
    d.pageHeader = band(10, {text("Шапка")});
    Group worker = group("w");
    worker.header = band(10, {expression("'рабочий '+w")});
    worker.footer = band(10, {expression("'всего '+w")});
    Group item = group("i", true);
    item.header = band(15, {expression("'изделие '+w+i")});
    item.footer = band(15, {expression("'итог '+w+i")});
    d.groups = {worker, item};
    d.detail = band(20, {expression("w+i+STR(n)")});
    d.pageFooter = band(7, {pageNumber()});
    return d;
}

// Records of workers, items and their counts, in print order.
TableRows workerItems(const std::vector<std::tuple<QString, QString, int>>& items)
{
    std::vector<TableRows::Record> records;
    for (const auto& [worker, item, count] : items)
        for (int n = 1; n <= count; ++n)
            records.push_back({txt(worker), txt(item), num(n)});
    return TableRows("rows", {"w", "i", "n"}, records);
}

int pageOf(const std::vector<Placed>& placed, const QString& text)
{
    const Placed* p = find(placed, text);
    EXPECT_TRUE(p) << text.toStdString();
    return p ? p->page : 0;
}

// A worker's name never stands alone at the foot of a page, nor a worker's total at the
// top of the next: the header goes with the worker's first item group, the footer with
// the last one, wherever the page breaks; an item group taller than a page still takes
// the header along with its first record, and its last record along with both footers.
TEST(ReportPreparation, AnOuterGroupsHeaderAndFooterStayWithItsFirstAndLastInnerGroup)
{
    const Report layout(workerItemsLayout());
    for (int before = 1; before <= 12; ++before) {
        for (int tall = 0; tall <= 1; ++tall) {
            SCOPED_TRACE(QStringLiteral("%1 records before, %2").arg(before).arg(tall ? "one tall item" : "two items").toStdString());
            TableRows rows = tall ? workerItems({{"А", "1", before}, {"Б", "1", 14}})
                                  : workerItems({{"А", "1", before}, {"Б", "1", 3}, {"Б", "2", 3}});
            const PreparedReport prepared = layout.prepare(rows);
            const std::vector<Placed> placed = placedTexts(prepared);
            expectNothingOverlapsThePageFooter(placed, int(prepared.pages.size()));
            const QString last = tall ? "Б1" : "Б2";
            const int lastCount = tall ? 14 : 3;
            EXPECT_EQ(pageOf(placed, "рабочий Б"), pageOf(placed, "изделие Б1"));
            EXPECT_EQ(pageOf(placed, "рабочий Б"), pageOf(placed, "Б11"));
            EXPECT_EQ(pageOf(placed, "всего Б"), pageOf(placed, "итог " + last));
            EXPECT_EQ(pageOf(placed, "всего Б"), pageOf(placed, last + QString::number(lastCount)));
            EXPECT_EQ(pageOf(placed, "рабочий А"), pageOf(placed, "А11"));
            EXPECT_EQ(pageOf(placed, "всего А"), pageOf(placed, "итог А1"));
            if (!tall) {
                EXPECT_EQ(pageOf(placed, "изделие Б2"), pageOf(placed, "итог Б2"));
            }
        }
    }
}

TEST(ReportPreparation, AnEmptySourceGivesOnePageWithItsPageNumberAndNoGroupBands)
{
    for (ReportDefinition d : {summaryLayout(), keptGroupsLayout()}) {
        const Report layout(d);
        TableRows rows("t_Report", {"fio", "nom", "kolvo", "g", "n"}, {});
        const PreparedReport prepared = layout.prepare(rows);
        ASSERT_EQ(prepared.pages.size(), 1u);
        const QStringList texts = textsOf(placedTexts(prepared));
        EXPECT_EQ(texts.back(), "1");
        EXPECT_TRUE(texts.size() == 1 || texts == QStringList({"Шапка", "1"})) << texts.join(", ").toStdString();
    }
    ReportDefinition silent = summaryLayout();
    silent.printWhenEmpty = false;
    TableRows none("t_Report", {"fio", "nom", "kolvo"}, {});
    EXPECT_TRUE(Report(silent).prepare(none).pages.empty());
}

TEST(ReportPreparation, ATitleSetBeforePreparingIsPrinted)
{
    ReportDefinition d = summaryLayout();
    d.reportHeader->items.front().named("title");
    Report layout(d);
    layout.setText("title", "   Отчет по рабочим за период с 01.02.2024 по 01.03.2024");
    EXPECT_EQ(layout.text("title"), "   Отчет по рабочим за период с 01.02.2024 по 01.03.2024");
    EXPECT_THROW(layout.setText("заголовок", "x"), DefinitionError);
    TableRows rows("t_Report", {"fio", "nom", "kolvo"}, {{txt("Иванов"), txt("Рама"), num(1)}});
    EXPECT_EQ(textsOf(placedTexts(layout.prepare(rows))).front(), "   Отчет по рабочим за период с 01.02.2024 по 01.03.2024");
}

// Pages are kept packed while the preview shows them; each comes back as it was prepared,
// with more texts and more box shapes than one byte numbers.
TEST(ReportPreparation, PagesKeptPackedComeBackAsPrepared)
{
    ReportDefinition d = summaryLayout();
    for (int i = 0; i < 150; ++i)
        d.reportHeader->items.push_back(text(QString::number(i)).at(i % 15 * 12.5, 5 + i * 0.05).top(i % 3 * 0.7, 1.5 + i % 4));
    d.groups[0].header->items.front().bold().framed(Frame::all(Pen::dottedGrey())).filled(QColor(0xE0E0E0));
    d.detail->fill = QColor(0xF4F4F4);
    d.detail->items.push_back(field("nom").at(40, 30).centred().size(8));
    std::vector<TableRows::Record> records;
    for (int n = 0; n < 400; ++n)
        records.push_back({txt(QStringLiteral("Рабочий %1").arg(n / 40)), txt(QStringLiteral("Изделие %1").arg(n / 4)), num(n * 1.25)});
    TableRows all("t_Report", {"fio", "nom", "kolvo"}, records);
    TableRows packed("t_Report", {"fio", "nom", "kolvo"}, records);
    const Report layout(d);
    const PreparedReport prepared = layout.prepare(all);
    PageMaker maker(layout, packed);
    ASSERT_GT(prepared.pages.size(), 3u);
    EXPECT_EQ(describe(allPages(maker)), describe(prepared));
}

}  // namespace
