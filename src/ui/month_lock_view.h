#pragma once

#include "month_lock.h"

#include <QSet>
#include <optional>
#include <vector>

class QLabel;
class QWidget;

// What a window that writes pay data shows of a closed month: the line "Месяц закрыт
// 05.12.2026 — ivanova" and its writing controls disabled, so that nobody types what the
// database will refuse. The one place that enables those controls: a control the role
// denies stays disabled whatever the month.
class MonthLockView {
public:
    // The line is made hidden in the parent; the window lays it out.
    MonthLockView(QWidget* parent, std::vector<QWidget*> writingControls);

    QLabel* line() const { return line_; }
    // A control that writes pay data of the month shown.
    void addWritingControl(QWidget* control);
    // A control used only on a closed month (opening it again).
    void addReopeningControl(QWidget* control);
    // The role may not use the control, whatever the month.
    void denyToRole(QWidget* control);

    // The month shown is closed (with who and when) or open.
    void show(const std::optional<month_lock::ClosedMonth>& closed);
    bool isClosed() const { return closed_; }

private:
    void apply();

    QLabel* line_;
    std::vector<QWidget*> writing_;
    std::vector<QWidget*> reopening_;
    QSet<QWidget*> denied_;
    bool closed_ = false;
};
