#include "workbook.h"

#include <QByteArray>
#include <QFont>
#include <QFontMetricsF>
#include <QLocale>
#include <QStringList>
#include <array>
#include <clocale>
#include <cmath>
#include <string>
#include <xlsxwriter.h>

namespace {

constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;
constexpr int kMaxCellText = 32767;
constexpr double kMaxColumnWidth = 255;

// The library prints numbers with printf, which follows LC_NUMERIC; under a locale with
// a decimal comma the file would carry "1234,56" and be broken. The C numeric locale is
// kept for the time the file is written.
class CNumericLocale {
public:
    CNumericLocale() : saved_(std::setlocale(LC_NUMERIC, nullptr)) { std::setlocale(LC_NUMERIC, "C"); }
    ~CNumericLocale() { std::setlocale(LC_NUMERIC, saved_.c_str()); }
    CNumericLocale(const CNumericLocale&) = delete;
    CNumericLocale& operator=(const CNumericLocale&) = delete;

private:
    std::string saved_;
};

// The workbook's default font, plain or bold, as measured for column widths.
const QFontMetricsF& defaultFontMetrics(bool bold)
{
    static const std::array<QFontMetricsF, 2> metrics = [] {
        QFont font(QStringLiteral("Calibri"));
        font.setPointSizeF(11);
        QFont boldFont = font;
        boldFont.setBold(true);
        return std::array<QFontMetricsF, 2>{QFontMetricsF(font), QFontMetricsF(boldFont)};
    }();
    return metrics[bold ? 1 : 0];
}

// Width of a text in the units of a column width (widths of the digit zero) in the
// workbook's default font, with room for the cell's margins.
double textWidth(const QString& text, bool bold)
{
    const QFontMetricsF& metrics = defaultFontMetrics(bold);
    double widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return std::min(kMaxColumnWidth, widest / metrics.horizontalAdvance(QLatin1Char('0')) + 1);
}

// The formats of the workbook: text format "@" and bold, each on or off.
class CellFormats {
public:
    explicit CellFormats(lxw_workbook* book) : book_(book) {}

    lxw_format* of(const Workbook::Cell& cell)
    {
        const int index = (cell.textFormat ? 2 : 0) + (cell.bold ? 1 : 0);
        if (index == 0)
            return nullptr;
        if (!formats_[index]) {
            lxw_format* format = workbook_add_format(book_);
            if (cell.textFormat)
                format_set_num_format(format, "@");
            if (cell.bold)
                format_set_bold(format);
            formats_[index] = format;
        }
        return formats_[index];
    }

private:
    lxw_workbook* book_;
    std::array<lxw_format*, 4> formats_{};
};

void writeCell(lxw_worksheet* sheet, int row, int column, const Workbook::Cell& cell, lxw_format* format)
{
    const auto number = cell.textFormat ? std::nullopt : typedNumber(cell.text);
    if (number)
        worksheet_write_number(sheet, lxw_row_t(row - 1), lxw_col_t(column - 1), *number, format);
    else
        worksheet_write_string(sheet, lxw_row_t(row - 1), lxw_col_t(column - 1),
                               cell.text.toUtf8().constData(), format);
}

}  // namespace

std::optional<double> typedNumber(const QString& text)
{
    for (const QLocale& locale : {QLocale(), QLocale::c()}) {
        bool ok = false;
        const double value = locale.toDouble(text, &ok);
        if (ok && std::isfinite(value))
            return value;
    }
    return std::nullopt;
}

bool Workbook::canHold(int row, int column, const QString& text) const
{
    return row >= 1 && row <= kMaxRows && column >= 1 && column <= kMaxColumns
        && text.size() <= kMaxCellText;
}

void Workbook::setText(int row, int column, const QString& text)
{
    changing(row, column);
    cell(row, column).text = text;
}

void Workbook::setTextFormat(int row, int column) { cell(row, column).textFormat = true; }

void Workbook::setBold(int row, int column, bool bold)
{
    Cell& c = cell(row, column);
    if (c.bold != bold)
        changing(row, column);
    c.bold = bold;
}

// A changed cell is measured again at the next fit; when it may have been the widest of
// a fitted column, the whole column is.
void Workbook::changing(int row, int column)
{
    Cell& c = cell(row, column);
    const auto fitted = widths_.find(column);
    PendingFit& pending = pendingFits_[column];
    if (c.width && fitted != widths_.end() && *c.width >= fitted->second)
        pending.whole = true;
    pending.rows.push_back(row);
    c.width.reset();
}

void Workbook::autoFitColumn(int column)
{
    // Fitted after every cell written into it, a column measures each text once and looks
    // only at what changed since its last fit.
    PendingFit& pending = pendingFits_[column];
    auto& cells = columns_[column];
    const auto fitted = widths_.find(column);
    double width = 0;
    if (pending.whole || fitted == widths_.end()) {
        for (auto& [row, c] : cells)
            width = std::max(width, measured(c));
    } else {
        width = fitted->second;
        for (int row : pending.rows)
            width = std::max(width, measured(cells[row]));
    }
    pending = {};
    widths_[column] = width;
}

double Workbook::measured(Cell& c)
{
    if (!c.width)
        c.width = textWidth(c.text, c.bold);
    return *c.width;
}

std::optional<QString> Workbook::saveAs(const QString& path) const
{
    const CNumericLocale cNumbers;
    lxw_workbook* book = workbook_new(path.toUtf8().constData());
    if (!book)
        return QStringLiteral("не удалось создать книгу");
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Лист1");
    CellFormats formats(book);
    for (const auto& [column, rows] : columns_) {
        for (const auto& [row, c] : rows)
            writeCell(sheet, row, column, c, formats.of(c));
    }
    for (const auto& [column, width] : widths_)
        worksheet_set_column(sheet, lxw_col_t(column - 1), lxw_col_t(column - 1), width, nullptr);
    const lxw_error result = workbook_close(book);
    if (result != LXW_NO_ERROR)
        return QString::fromUtf8(lxw_strerror(result));
    return std::nullopt;
}
