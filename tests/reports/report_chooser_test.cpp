#include "data_module.h"
#include "date_box.h"
#include "app/journal_window.h"
#include "radio_group.h"
#include "reports/report_chooser.h"
#include "report_chooser_fixture.h"
#include "russian_locale.h"

#include <QApplication>
#include <QDateEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

TEST_F(ReportChooserTest, MenuProposesThePreviousCalendarMonthOfToday)
{
    struct Case {
        QDate today, from, to;
    };
    const Case cases[] = {
        {{2025, 1, 15}, {2024, 12, 1}, {2025, 1, 1}},
        {{2025, 3, 15}, {2025, 2, 1}, {2025, 3, 1}},
        {{2024, 3, 1}, {2024, 2, 1}, {2024, 3, 1}},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        fakes->clock = QDateTime(c.today, QTime(23, 59));
        openChooser([&] {
            EXPECT_EQ(Form18->DTPicker1->date(), c.from) << c.today.toString().toStdString();
            EXPECT_EQ(Form18->DTPicker2->date(), c.to) << c.today.toString().toStdString();
            // Not from the journal date.
            EXPECT_EQ(Form1->DateT->date(), c.today);
        });
        EXPECT_EQ(fakes->modalShown, std::vector<QString>({"Form1", "Form18"}));
    }
}

TEST_F(ReportChooserTest, KeepsTheProductKindButProposesThePeriodAgainOnEveryOpening)
{
    openChooser([&] {
        EXPECT_EQ(Form18->windowTitle(), "Отчеты (8)");
        EXPECT_EQ(Form18->RadioGroup1->itemIndex(), 0);
        chooseProductKind(2);
        Form18->DTPicker1->setDate({2023, 5, 5});
        QTest::keyClick(Form18, Qt::Key_Escape);  // "Выход"
        EXPECT_FALSE(Form18->isVisible());
        fakes->modalActions.push_back([](QDialog&) {
            EXPECT_EQ(Form18->RadioGroup1->itemIndex(), 2);
            EXPECT_EQ(Form18->DTPicker1->date(), QDate(2024, 2, 1));
            return int(QDialog::Rejected);
        });
        Form1->N9->trigger();
    });
    EXPECT_EQ(fakes->modalShown, std::vector<QString>({"Form1", "Form18", "Form18"}));
}

TEST_F(ReportChooserTest, RolesLeaveTheForemanAndTheWarehouseOnlyTheDetailedProductReport)
{
    struct Case {
        const char* code;
        const char* enabled;
        int productKind;
    };
    const Case cases[] = {
        {"fincal", "Button4 Button2 Button1 Button3 Button6 Button5 RadioGroup1", 0},
        {"brigvex", "Button3 Button5 RadioGroup1", 0},
        {"vrelk", "Button3 Button5", 1},
        {"8573", "Button4 Button2 Button1 Button3 Button6 Button5 RadioGroup1", 0},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        QStringList enabled;
        int productKind = -1;
        openChooser(c.code, [&] {
            for (QWidget* w : std::initializer_list<QWidget*>{Form18->Button4, Form18->Button2, Form18->Button1,
                                                              Form18->Button3, Form18->Button6, Form18->Button5,
                                                              Form18->RadioGroup1})
                if (w->isEnabled())
                    enabled << w->objectName();
            productKind = Form18->RadioGroup1->itemIndex();
        });
        EXPECT_EQ(enabled.join(' '), c.enabled) << c.code;
        EXPECT_EQ(productKind, c.productKind) << c.code;
    }
}

// The period typed as the journal's date box takes it: Tab takes a typed date and leaves
// the box (one stop each), a date that does not exist is refused and the last one kept,
// and the report covers the period as typed.
TEST_F(ReportChooserTest, TypedDatesAreTakenAsTypedAndTabLeavesEachBox)
{
    const RussianLocale russian;
    openChooser([&] {
        QApplication::setActiveWindow(Form18);
        Form18->DTPicker1->setFocus();
        QTest::keyClick(Form18->DTPicker1, Qt::Key_Home);
        QTest::keyClicks(Form18->DTPicker1, "01.10.2024");
        QTest::keyClick(Form18->DTPicker1, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), Form18->DTPicker2);
        QTest::keyClicks(Form18->DTPicker2, "3111");
        QTest::keyClick(Form18->DTPicker2, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), Form18->Button4);
        EXPECT_EQ(messageTexts(), QStringList{"Ошибка: Дата: такой даты нет (31.11.2024), оставлена прежняя 01.03.2024"});
        QTest::keyClick(Form18->Button4, Qt::Key_Backtab, Qt::ShiftModifier);
        QTest::keyClick(Form18->DTPicker2, Qt::Key_Home);
        QTest::keyClicks(Form18->DTPicker2, "1.11");
        QTest::keyClick(Form18->DTPicker2, Qt::Key_Tab);
        EXPECT_EQ(Form18->DTPicker1->date(), QDate(2024, 10, 1));
        EXPECT_EQ(Form18->DTPicker2->date(), QDate(2024, 11, 1));
        QTest::mouseClick(Form18->Button4, Qt::LeftButton);
    });
    ASSERT_EQ(fakes->previews.size(), 1u);
    EXPECT_EQ(fakes->previews.back().title, "Отчет по рабочим за период с 01.10.2024 по 01.11.2024");
    EXPECT_EQ(messageTexts().size(), 1);
}

}  // namespace
