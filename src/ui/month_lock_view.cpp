#include "month_lock_view.h"

#include <QLabel>
#include <QWidget>

MonthLockView::MonthLockView(QWidget* parent, std::vector<QWidget*> writingControls)
    : line_(new QLabel(parent)), writing_(std::move(writingControls))
{
    line_->setObjectName(QStringLiteral("ClosedMonthLine"));
    QFont bold = line_->font();
    bold.setBold(true);
    line_->setFont(bold);
    line_->setStyleSheet(QStringLiteral("color: #a00000"));
    line_->hide();
}

void MonthLockView::addWritingControl(QWidget* control)
{
    writing_.push_back(control);
    apply();
}

void MonthLockView::addReopeningControl(QWidget* control)
{
    reopening_.push_back(control);
    apply();
}

void MonthLockView::denyToRole(QWidget* control)
{
    denied_.insert(control);
    apply();
}

void MonthLockView::show(const std::optional<month_lock::ClosedMonth>& closed)
{
    closed_ = closed.has_value();
    line_->setText(closed ? month_lock::notice(*closed) : QString());
    line_->setVisible(closed_);
    apply();
}

void MonthLockView::apply()
{
    for (QWidget* control : writing_)
        control->setEnabled(!closed_ && !denied_.contains(control));
    for (QWidget* control : reopening_)
        control->setEnabled(closed_ && !denied_.contains(control));
}
