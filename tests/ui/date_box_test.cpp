#include "date_box.h"
#include "fake_seams.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

// Dates and texts read in failure messages as the user reads them.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QDate& date, std::ostream* out) { *out << date.toString("dd.MM.yyyy").toStdString(); }
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& texts, std::ostream* out) { *out << texts.join(" | ").toStdString(); }
QT_END_NAMESPACE

namespace {

const QDate kHeld(2026, 12, 10);

// A dialog with a box before the date and one after it, the date holding 10.12.2026 and
// today being 10.12.2026, so the last date a user may give is 31.12.2027.
class DateBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto* layout = new QVBoxLayout(&dialog);
        before = new QLineEdit(&dialog);
        box = new DateBox(&dialog, "DTimeP");
        after = new QLineEdit(&dialog);
        layout->addWidget(before);
        layout->addWidget(box);
        layout->addWidget(after);
        box->setDate(kHeld);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        before->setFocus();
    }

    static void press(const QString& keys) { QTest::keyClicks(QApplication::focusWidget(), keys); }
    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    QLineEdit* text() const { return box->findChild<QLineEdit*>(); }
    QStringList messages() const { return fakes.messages.texts(); }

    FakeSeams fakes;
    QDialog dialog;
    QLineEdit* before = nullptr;
    DateBox* box = nullptr;
    QLineEdit* after = nullptr;
};

TEST_F(DateBoxTest, TypedDatesAreTakenAsTypedOrRefusedKeepingTheLastValidDate)
{
    const QString kept = ", оставлена прежняя 10.12.2026";
    struct Case {
        const char* typed;
        QDate date;
        QString message;
    } cases[] = {
        {"05122026", QDate(2026, 12, 5), {}},
        {"5.3.2026", QDate(2026, 3, 5), {}},
        {"5,3,2026", QDate(2026, 3, 5), {}},
        {"29022028", kHeld, "Ошибка: Дата: только с 01.01.2000 по 31.12.2027 (введено 29.02.2028)" + kept},
        {"01012027", QDate(2027, 1, 1), {}},
        {"31122027", QDate(2027, 12, 31), {}},
        {"01012000", QDate(2000, 1, 1), {}},
        {"31121999", kHeld, "Ошибка: Дата: только с 01.01.2000 по 31.12.2027 (введено 31.12.1999)" + kept},
        {"31022026", kHeld, "Ошибка: Дата: такой даты нет (31.02.2026)" + kept},
        {"30022026", kHeld, "Ошибка: Дата: такой даты нет (30.02.2026)" + kept},
        {"99.99.9999", kHeld, "Ошибка: Дата: только с 01.01.2000 по 31.12.2027 (введено 09.09.9999)" + kept},
        {"00010101", kHeld, "Ошибка: Дата: такой даты нет (00.01.0101)" + kept},
        {"0512", QDate(2026, 12, 5), {}},  // the year as it was
        {"0512202", kHeld, "Ошибка: Дата: такой даты нет (05.12.202)" + kept},
        {"ab", kHeld, {}},                 // letters are not taken
    };
    for (const Case& c : cases) {
        fakes.messages.shown.clear();
        box->setDate(kHeld);
        before->setFocus();
        press(Qt::Key_Tab);
        EXPECT_EQ(text()->selectedText(), "10") << c.typed;  // the day is shown selected
        press(QString::fromUtf8(c.typed));
        press(Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), after) << c.typed;
        EXPECT_EQ(box->date(), c.date) << c.typed;
        EXPECT_EQ(text()->text(), c.date.toString("dd.MM.yyyy")) << c.typed;
        EXPECT_EQ(messages(), c.message.isEmpty() ? QStringList() : QStringList{c.message}) << c.typed;
    }
}

TEST_F(DateBoxTest, IsOneTabStopAndDigitsGoToTheSectionShownSelected)
{
    // Tab, Tab and a digit: the digit goes to the box after the date, the date is as it was.
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), after);
    press("1");
    EXPECT_EQ(after->text(), "1");
    EXPECT_EQ(box->date(), kHeld);

    // Back with Shift+Tab: the year is selected, and it takes the digits.
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), box);
    EXPECT_EQ(text()->selectedText(), "2026");
    press("2027");
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), before);
    EXPECT_EQ(box->date(), QDate(2027, 12, 10));

    // A full day hands over to the month, which is then shown selected; arrows move between sections.
    before->setFocus();
    press(Qt::Key_Tab);
    press("07");
    EXPECT_EQ(text()->selectedText(), "12");
    press(Qt::Key_Left);
    EXPECT_EQ(text()->selectedText(), "07");
    press(Qt::Key_Right);
    press(Qt::Key_Right);
    EXPECT_EQ(text()->selectedText(), "2027");
    press("2026");
    press(Qt::Key_Tab);
    EXPECT_EQ(box->date(), QDate(2026, 12, 7));
}

TEST_F(DateBoxTest, AClickSelectsTheSectionClickedAndTypedDigitsChangeIt)
{
    QLineEdit* edit = text();
    const int monthAt = edit->fontMetrics().horizontalAdvance("10.1");
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(edit->contentsRect().left() + monthAt + 2, edit->height() / 2));
    EXPECT_EQ(QApplication::focusWidget(), box);
    EXPECT_EQ(edit->selectedText(), "12");
    press("03");
    press(Qt::Key_Return);
    EXPECT_EQ(box->date(), QDate(2026, 3, 10));
    EXPECT_TRUE(fakes.messages.shown.empty());
}

TEST_F(DateBoxTest, EnterRefusesAnImpossibleDateAndTheBoxKeepsTheFocus)
{
    press(Qt::Key_Tab);
    press("3102");
    EXPECT_EQ(text()->text(), "31.02.2026");  // what was typed stays on screen until it is taken
    EXPECT_EQ(box->date(), kHeld);
    press(Qt::Key_Return);
    EXPECT_EQ(box->date(), kHeld);
    EXPECT_EQ(text()->text(), "10.12.2026");
    EXPECT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(QApplication::focusWidget(), box);
}

}  // namespace
