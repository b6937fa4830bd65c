#include "period_report_window.h"

#include "data_module.h"
#include "dataset_rows.h"

namespace {

const QString kTitleLabel = QStringLiteral("title");

}  // namespace

PeriodReportWindow::PeriodReportWindow(Setup setup, QWidget* parent)
    : QDialog(parent),
      query_(DataModule6->ADO_DB, setup.sql),
      layout_(std::move(setup.layout))
{
    setObjectName(QLatin1String(setup.windowName));
    query_.setObjectName(QLatin1String(setup.queryName));
}

void PeriodReportWindow::setTitle(const QString& caption)
{
    layout_.setText(kTitleLabel, caption);
    layout_.setTitle(caption.trimmed());
}

QString PeriodReportWindow::title() const { return layout_.text(kTitleLabel); }

void PeriodReportWindow::prepareAndPreview(QWidget* over)
{
    previewDataset(layout_, query_, over);
}
