#include "pay_statement_pages.h"

#include "pay_statement_lines.h"
#include "row_source.h"

#include <limits>

namespace {

using namespace report;
using pay_statement::Line;
using Style = Line::Style;

constexpr double kLineHeightMm = 4.2;
constexpr double kNumberingHeightMm = 5.0;

// The head's fields, then the cells of each line style, each a field of its own that is
// empty on lines of the other styles.
const QString kHeadFields[] = {QStringLiteral("title"), QStringLiteral("fio"), QStringLiteral("position")};
constexpr int kHeadFieldCount = 3;
constexpr Style kStyles[] = {Style::Piece, Style::PieceBold, Style::Columns, Style::ColumnsBold, Style::Text, Style::TextBold};

QString stylePrefix(Style style)
{
    switch (style) {
    case Style::Piece: return QStringLiteral("p");
    case Style::PieceBold: return QStringLiteral("pb");
    case Style::Columns: return QStringLiteral("c");
    case Style::ColumnsBold: return QStringLiteral("cb");
    case Style::Text: return QStringLiteral("t");
    case Style::TextBold: return QStringLiteral("tb");
    }
    return {};
}

struct Column {
    double leftMm, widthMm;
    Qt::Alignment alignment;
};

const std::vector<Column>& columnsOf(Style style)
{
    static const std::vector<Column> piece = {
        {0, 13, Qt::AlignLeft},    {13, 16, Qt::AlignHCenter}, {29, 29, Qt::AlignLeft},   {58, 35, Qt::AlignLeft},
        {93, 22, Qt::AlignLeft},   {115, 10, Qt::AlignRight},  {125, 8, Qt::AlignRight},  {133, 10, Qt::AlignRight},
        {143, 14, Qt::AlignRight}, {157, 15, Qt::AlignRight},  {173, 17, Qt::AlignLeft}};
    static const std::vector<Column> table = {
        {0, 17, Qt::AlignLeft}, {17, 97, Qt::AlignLeft}, {114, 20, Qt::AlignRight}, {134, 23, Qt::AlignRight},
        {157, 15, Qt::AlignRight}};
    static const std::vector<Column> text = {{0, 150, Qt::AlignLeft}, {150, 22, Qt::AlignRight}};
    if (style == Style::Piece || style == Style::PieceBold)
        return piece;
    if (style == Style::Columns || style == Style::ColumnsBold)
        return table;
    return text;
}

double pointSizeOf(Style style)
{
    if (style == Style::Piece || style == Style::PieceBold)
        return 7;
    if (style == Style::Columns || style == Style::ColumnsBold)
        return 8;
    return 9;
}

// The field number of a style's first cell.
int firstFieldOf(Style style)
{
    int field = kHeadFieldCount;
    for (Style s : kStyles) {
        if (s == style)
            return field;
        field += pay_statement::cellCount(s);
    }
    return field;
}

// One worker's statement as the layout reads it: its head on every line, and each line's
// cells under the fields of its style.
class StatementRows : public RowSource {
public:
    StatementRows(const pay_statement::Statement& statement, const QString& title)
        : head_{title, statement.name, statement.position}, lines_(pay_statement::lines(statement))
    {
    }

    QString sourceName() const override { return QStringLiteral("Statement"); }

    int fieldIndex(const QString& name) const override
    {
        for (int f = 0; f < kHeadFieldCount; ++f)
            if (name.compare(kHeadFields[f], Qt::CaseInsensitive) == 0)
                return f;
        for (Style style : kStyles)
            for (int cell = 0; cell < pay_statement::cellCount(style); ++cell)
                if (name.compare(stylePrefix(style) + QString::number(cell + 1), Qt::CaseInsensitive) == 0)
                    return firstFieldOf(style) + cell;
        return -1;
    }

    Value value(int field) const override
    {
        if (field < kHeadFieldCount)
            return Value::of(head_[field]);
        const Line& line = lines_[current_];
        const int cell = field - firstFieldOf(line.style);
        if (cell < 0 || cell >= pay_statement::cellCount(line.style) || cell >= line.cells.size())
            return Value::null();
        return Value::of(line.cells[cell]);
    }

    bool atEnd() const override { return current_ >= lines_.size(); }
    void next() override { ++current_; }

private:
    QString head_[kHeadFieldCount];
    std::vector<Line> lines_;
    size_t current_ = 0;
};

std::vector<Item> lineItems()
{
    std::vector<Item> items;
    for (Style style : kStyles) {
        const std::vector<Column>& columns = columnsOf(style);
        for (size_t cell = 0; cell < columns.size(); ++cell) {
            Item item = field(stylePrefix(style) + QString::number(cell + 1)).at(columns[cell].leftMm, columns[cell].widthMm);
            item.alignment = columns[cell].alignment | Qt::AlignVCenter;
            item.size(pointSizeOf(style)).bold(pay_statement::isBold(style));
            items.push_back(item);
        }
    }
    return items;
}

QString numbering(size_t page, size_t count) { return QStringLiteral("Лист %1 из %2").arg(page).arg(count); }

}  // namespace

ReportDefinition PayStatementPages::layout()
{
    ReportDefinition d;
    d.page = PageSetup::a4(QPageLayout::Portrait);
    d.baseFont = {QStringLiteral("Arial"), 10};
    d.printWhenEmpty = true;
    d.pageHeader = band(kNumberingHeightMm);
    d.reportHeader = band(20, {field(QStringLiteral("title")).at(0).top(0, 7).bold().size(12),
                               field(QStringLiteral("fio")).at(0).top(7, 6).bold().size(11),
                               field(QStringLiteral("position")).at(0).top(13, 5).size(9)});
    d.reportHeader->children = {band(2)};
    d.detail = band(kLineHeightMm, lineItems());
    return d;
}

PayStatementPages::PayStatementPages(std::vector<pay_statement::Statement> statements, const QDate& from, const QDate& to)
    : statements_(std::move(statements)),
      head_(pay_statement::title(from, to)),
      layout_(layout()),
      title_(statements_.size() == 1 ? head_ + QStringLiteral(" ") + statements_.front().name
                                     : QStringLiteral("Расчетные листки ") + pay_statement::periodCaption(from, to))
{
    layout_.setTitle(title_);
}

void PayStatementPages::makePages(int count)
{
    const size_t wanted = store_.size() + size_t(std::max(count, 0));
    while (!finished() && store_.size() < wanted)
        addStatement(statements_[next_++]);
}

void PayStatementPages::finish() { makePages(std::numeric_limits<int>::max() / 2); }

bool PayStatementPages::finished() const { return next_ >= statements_.size(); }

size_t PayStatementPages::completePages() const { return store_.size(); }

const PreparedPage& PayStatementPages::page(size_t index) const { return store_.page(index); }

const QString& PayStatementPages::title() const { return title_; }

const PageSetup& PayStatementPages::pageSetup() const { return layout_.definition().page; }

// A worker's pages are complete only once all are made: only then is their count known.
void PayStatementPages::addStatement(const pay_statement::Statement& statement)
{
    StatementRows rows(statement, head_);
    PreparedReport pages = layout_.prepare(rows);
    const PageSetup& setup = layout_.definition().page;
    const Font font{QStringLiteral("Arial"), 8};
    const double width = setup.printableWidthMm();
    for (size_t p = 0; p < pages.pages.size(); ++p) {
        auto& primitives = pages.pages[p].primitives;
        const QRectF strip(setup.leftMm, setup.topMm, width, kNumberingHeightMm);
        if (p > 0)
            primitives.push_back(TextBox{strip, statement.name, font, Qt::AlignLeft | Qt::AlignTop});
        primitives.push_back(TextBox{strip, numbering(p + 1, pages.pages.size()), font, Qt::AlignRight | Qt::AlignTop});
        store_.add(pages.pages[p]);
    }
}
