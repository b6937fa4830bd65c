// The change history as the program reads it: a record's versions in "История записи",
// the restore of a deleted record by the rules of every save, and the report "Журнал
// изменений" of a period, all against the history rows the database wrote.
#include "journal/history_window.h"
#include "month_lock_fixture.h"
#include "prepared_report.h"
#include "reports/report_chooser.h"

#include <QAction>
#include <QLineEdit>
#include <QLocale>
#include <QTest>

namespace {

class ChangeHistoryTest : public MonthLockFixture {
protected:
    // The history window as "История записи" shows it; `act` runs while it is shown.
    void inHistory(std::function<void()> act)
    {
        fakes->modalActions.push_back(list_test::whileShown([act](QDialog&) { act(); }));
    }
    QStringList historyColumn(int column) { return columnTexts(*Form28->DBGrid1->model(), column); }

    // The change of one record's quantity through the journal's "Изменить".
    void changeQuantity(const QString& quantity)
    {
        fakes->modalActions.push_back([quantity](QDialog& editor) {
            editor.show();
            Form11->Edit3->setText(quantity);
            Form11->Button1->click();
            editor.hide();
            return editor.result();
        });
        Form1->Button2->click();
    }
};

// Every version of the record with who, when and what changed: the seeded insert, the
// quantity changed through the editor and the acceptance switched by a double click, as
// the database recorded them; the key Ctrl+H opens it on the current record.
TEST_F(ChangeHistoryTest, TheHistoryWindowListsEveryVersionOfTheCurrentRecord)
{
    const int id = record(1, 4);
    logIn("8573", [&] {
        changeQuantity("12");
        QTest::mouseDClick(Form1->DBGrid2->viewport(), Qt::LeftButton, {},
                           Form1->DBGrid2->visualRect(Form1->DBGrid2->model()->index(0, 0)).center());
        inHistory([&] {
            EXPECT_EQ(Form28->windowTitle(), "История записи");
            EXPECT_EQ(Form28->Edit1->text(), QString::number(id));
            EXPECT_EQ(historyColumn(2), QStringList({"Добавлена", "Изменена", "Изменена"}));
            const QStringList changed = historyColumn(3);
            ASSERT_EQ(changed.size(), 3);
            EXPECT_TRUE(changed[0].contains(QStringLiteral("; Кол-во: — → 10; "))) << changed[0].toStdString();
            // The editor writes the day of the change as the entry date as well.
            EXPECT_TRUE(changed[1].startsWith(QStringLiteral("Кол-во: 10 → 12; Заведен: "))) << changed[1].toStdString();
            EXPECT_EQ(changed[2], QStringLiteral("OK: no → ok"));
            const QStringList who = historyColumn(1);
            EXPECT_EQ(who[0], "sys");  // seeded by the test, not through the program
            EXPECT_TRUE(who[1].startsWith("sys (Tabel ")) << who[1].toStdString();
            EXPECT_TRUE(who[1].endsWith(" full)")) << who[1].toStdString();
            EXPECT_EQ(historyColumn(0),
                      db->column(QStringLiteral("select to_char(changed_at, 'DD.MM.YYYY HH24:MI:SS') from "
                                                "accounts_dep.record_history('smena', %1)")
                                     .arg(id)));
            EXPECT_TRUE(Form28->Button1->isHidden());  // nothing to restore
        });
        list_test::activateAgain(*Form1);
        QTest::keyClick(Form1->DBGrid2, Qt::Key_H, Qt::ControlModifier);
    });
    EXPECT_EQ(fakes->modalShown.back(), "Form28");
    EXPECT_EQ(errorTexts(), QStringList());
}

// A deleted record is restored from its last version with full access: its number typed,
// "Восстановить" confirmed; it is saved again with its values and hours. A second restore
// is refused as a duplicate, by the save's own rule.
TEST_F(ChangeHistoryTest, FullAccessRestoresADeletedRecordByTheRulesOfEverySave)
{
    const int id = record(1, 4);
    hoursRow(1, "d10=4");
    const QString values = "select w_id||'|'||i_id||'|'||o_id||'|'||cena||'|'||kol_vo||'|'||brak||'|'||data||'|'||smena||'|'"
                           "||color||'|'||time from accounts_dep.smena";
    const QString stored = db->scalar(values);
    logIn("8573", [&] {
        fakes->messages.answers = {true};
        Form1->Button3->click();
        ASSERT_EQ(journalCount(), 0);
        EXPECT_EQ(cell(1), "<null>");
        for (int attempt = 0; attempt < 2; ++attempt) {
            inHistory([&] {
                // Empty the first time (no record in the journal), the restored record's after.
                EXPECT_EQ(Form28->Edit1->text(), attempt == 0 ? QString() : db->scalar("select max(id) from accounts_dep.smena"));
                Form28->Edit1->setFocus();
                QTest::keyClick(Form28->Edit1, Qt::Key_A, Qt::ControlModifier);
                typeText(Form28->Edit1, QString::number(id));
                QTest::keyClick(Form28->Edit1, Qt::Key_Return);
                EXPECT_EQ(historyColumn(2), QStringList({"Добавлена", "Удалена"}));
                ASSERT_FALSE(Form28->Button1->isHidden());
                fakes->messages.answers = {true};
                Form28->Button1->click();
            });
            Form1->N13->trigger();
        }
    });
    EXPECT_EQ(db->scalar(values), stored);
    EXPECT_EQ(cell(1), "4");
    EXPECT_EQ(errorTexts(), QStringList{"Позиция с такими параметрами уже заведена!"});
}

// The restore is the save's: a closed month refuses it; other roles are not offered it.
TEST_F(ChangeHistoryTest, ARestoreInAClosedMonthIsRefusedAndOnlyFullAccessIsOfferedIt)
{
    const int id = record(1, 4);
    db->exec(QStringLiteral("delete from accounts_dep.smena where id=%1").arg(id));
    closeMonth();
    logIn("8573", [&] {
        inHistory([&] {
            fakes->messages.answers = {true};
            Form28->Button1->click();
        });
        Form28->showRecord(id);
    });
    EXPECT_EQ(errorTexts(), QStringList{refusal()});
    EXPECT_EQ(journalCount(), 0);

    startAgain();
    logIn("brigvex", [&] {
        inHistory([&] { EXPECT_TRUE(Form28->Button1->isHidden()); });
        Form28->showRecord(id);
    });
}

// The texts of a prepared report, page by page, in drawing order.
QStringList reportTexts(const report::PreparedReport& prepared)
{
    QStringList texts;
    for (const report::PreparedPage& page : prepared.pages)
        for (const report::Primitive& primitive : page.primitives)
            if (const auto* box = std::get_if<report::TextBox>(&primitive); box && !box->text.trimmed().isEmpty())
                texts << box->text.trimmed();
    return texts;
}

// "Журнал изменений" prints every change of the period, a heading per change and a line per
// field that changed, as the history rows hold them.
TEST_F(ChangeHistoryTest, TheChangesReportPrintsThePeriodsChangesFieldByField)
{
    const int id = record(1, 4);
    db->exec(QStringLiteral("update accounts_dep.smena set kol_vo = 12, brak = 1 where id=%1").arg(id));
    db->exec(QStringLiteral("update accounts_dep.norm set price = 11 where o_id=%1").arg(j.operation));
    // The seeded rows' insertions come first; the two updates last.
    const QStringList when = db->column(
        "select to_char(changed_at, 'DD.MM.YYYY HH24:MI:SS') from accounts_dep.changes(current_date, current_date + 1)"
        " where action = 'UPDATE'");
    ASSERT_EQ(when.size(), 2);
    const QDate today = QDate::fromString(db->scalar("select current_date"), Qt::ISODate);
    logIn("8573", [&] {
        fakes->modalActions.push_back(list_test::whileShown([&](QDialog&) {
            EXPECT_FALSE(Form18->Button11->isHidden());
            Form18->DTPicker1->setDate(today);
            Form18->DTPicker2->setDate(today.addDays(1));
            Form18->Button11->click();
        }));
        Form1->N9->trigger();
    });
    ASSERT_EQ(fakes->previews.size(), 1u);
    const QLocale locale;
    EXPECT_EQ(fakes->previews.back().title,
              QStringLiteral("Журнал изменений за период с %1 по %2")
                  .arg(locale.toString(today, QLocale::ShortFormat), locale.toString(today.addDays(1), QLocale::ShortFormat)));
    const QStringList texts = reportTexts(fakes->previews.back());
    const QString printed = texts.join('|');
    // The heading of the journal record's change, among the insertions of the same second.
    int change = 0;
    while (change + 2 < texts.size() && !(texts[change] == when[0] && texts[change + 2] == QStringLiteral("Изменена")))
        ++change;
    ASSERT_LT(change + 2, texts.size()) << printed.toStdString();
    EXPECT_EQ(texts.mid(change, 12),
              QStringList({when[0], QStringLiteral("Журнал № %1").arg(id), "Изменена", "sys", "Кол-во", "10", "→", "12",
                           "Брак", "0", "→", "1"}))
        << printed.toStdString();
    EXPECT_TRUE(printed.contains(QStringLiteral("%1|Норма № 1|Изменена|sys|Цена|10|→|11").arg(when[1])))
        << printed.toStdString();
}

}  // namespace
