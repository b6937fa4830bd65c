#include "period_reports.h"

#include "change_history.h"
#include "period_layout.h"

TChangesReport* ChangesReport = nullptr;

namespace {

using namespace report;
using namespace period_layout;

// A change a group: when, which record, what was done and by whom; then a line per field
// with its value before and after.
ReportDefinition changesLayout()
{
    ReportDefinition d = periodReport(QStringLiteral("Журнал изменений"));
    d.reportHeader = reportHeader(7.7, {titleLabel(0.3), text(QStringLiteral("Поле")).at(10.0, 40.0).bold().top(4.2),
                                        text(QStringLiteral("Было")).at(50.0, 68.0).bold().top(4.2),
                                        text(QStringLiteral("Стало")).at(122.0).bold().top(4.2)});

    Group change = group(QStringLiteral("Changes.nomer"), true);
    change.header = band(5.3, {field(QStringLiteral("kogda")).at(0.3, 36.0).bold(),
                               field(QStringLiteral("zapis")).at(37.0, 38.0).bold(),
                               field(QStringLiteral("deistvie")).at(76.0, 22.0),
                               field(QStringLiteral("kto")).at(98.0).size(9)});
    change.header->fill = QColor(0xE0E0E0);
    d.groups = {change};

    d.detail = detail(9, {field(QStringLiteral("pole")).at(10.0, 40.0), field(QStringLiteral("bylo")).at(50.0, 68.0),
                          text(QStringLiteral("→")).at(118.0, 4.0), field(QStringLiteral("stalo")).at(122.0)});
    return d;
}

}  // namespace

TChangesReport::TChangesReport(QWidget* parent)
    : PeriodReportWindow({"ChangesReport", "Changes", change_history::periodChangesSql(), changesLayout()}, parent)
{
}
