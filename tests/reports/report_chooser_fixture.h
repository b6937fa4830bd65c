#pragma once

#include "app_fixture.h"
#include "qt_printers.h"

#include <QDate>
#include <functional>

class QDateEdit;

// The whole program with a small journal of February 2024: the chooser is opened from the
// journal window's menu "Отчеты" → "Сводные отчеты" on a day of March 2024, so the period
// proposed is 01.02.2024 to 01.03.2024.
class ReportChooserTest : public AppFixture {
protected:
    void SetUp() override;

    // Logs in with the code, opens the chooser from the menu and runs `act` while it is shown.
    void openChooser(const QString& code, std::function<void()> act);
    void openChooser(std::function<void()> act) { openChooser(QStringLiteral("8573"), std::move(act)); }

    // What a worker's records are made of: an item of the classifier entry `nom` (brand
    // `nom` + " М", mass 1.5) and an operation of the kind `vid` and product kind.
    struct Line {
        int worker, item, operation;
    };
    Line line(int worker, const QString& nom, const QString& vid, int naimen = 0);
    int record(const Line& l, const QDate& date, int quantity, int rejects = 0, int color = 0, double price = 10.0);

    // Types a date ("01.03.2024") into a date box the way a user does: Home, the digits
    // and Enter.
    static void typeDate(QDateEdit* box, const QString& text);
    // Clicks the product kind's radio button (0 "Все", 1 "Готовая продукция", 2 "Заготовки").
    static void chooseProductKind(int index);

    static constexpr int kYear = 2024;
    const QDate from{kYear, 2, 1};
    const QDate to{kYear, 3, 1};
};
