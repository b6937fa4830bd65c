#pragma once

#include "app_fixture.h"
#include "data_grid.h"
#include "data_module.h"
#include "date_box.h"
#include "app/journal_window.h"
#include "journal/record_editor.h"
#include "reference/operations_window.h"
#include "reference/workers_window.h"

#include <QDate>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

// A list shown as a picker: the user chooses the row it stands on.
inline ModalAction chooseCurrentRow(QPushButton* chooseButton)
{
    return [chooseButton](QDialog& list) {
        list.show();
        EXPECT_EQ(chooseButton->text(), "Выбрать");
        chooseButton->click();
        const bool closed = !list.isVisible();
        list.hide();
        EXPECT_TRUE(closed);
        return list.result();
    };
}

// Adds a record through the real workers and operations lists; `picked` looks at the
// editor once both are picked.
inline void addThroughTheLists(FakeSeams& fakes, const std::function<void()>& picked)
{
    fakes.modalActions.push_back([picked](QDialog& editor) {
        editor.show();
        Form11->Button3->click();
        Form11->Button4->click();
        picked();
        Form11->Edit3->setText("5");
        Form11->Edit6->setText("3");
        Form11->Button1->click();
        editor.hide();
        return editor.result();
    });
    fakes.modalActions.push_back(chooseCurrentRow(Form5->Button2));
    fakes.modalActions.push_back(chooseCurrentRow(Form4->Button2));
    Form1->Button1->click();
}

// The whole program logged in with full access on a Thursday, with one worker, item
// and operation to write records for.
class JournalFixture : public AppFixture {
protected:
    static inline const QDate kThursday{2026, 12, 10};

    void SetUp() override
    {
        AppFixture::SetUp();
        j = seed->smallJournal();
        fakes->clock = QDateTime(kThursday, QTime(9, 0));
    }

    int record(int shift, int hours = 8, const QDate& date = kThursday, int worker = 0, const QString& ok = "no")
    {
        Seed::Record r = Seed::recordOf(j, date, shift, worker);
        r.hours = hours;
        r.ok = ok;
        return seed->record(r);
    }

    // The timesheet row of the worker, shift and month of the date, with these day cells.
    void hoursRow(int shift, const QString& cells, const QDate& date = kThursday, int worker = 0)
    {
        db->exec(QStringLiteral("insert into accounts_dep.h_tabel (w_id, smena, month, year, %1) values (%2, %3, %4, %5, %6)")
                     .arg(cells.section('=', 0, 0))
                     .arg(worker ? worker : j.worker)
                     .arg(shift)
                     .arg(date.month())
                     .arg(date.year())
                     .arg(cells.section('=', 1)));
    }
    // A stored day cell; "<null>" when empty or without a row.
    QString cell(int shift, const QDate& date = kThursday, int worker = 0)
    {
        return db->scalar(QStringLiteral("select d%1 from accounts_dep.h_tabel where w_id=%2 and smena=%3 and month=%4 and year=%5")
                              .arg(date.day())
                              .arg(worker ? worker : j.worker)
                              .arg(shift)
                              .arg(date.month())
                              .arg(date.year()));
    }
    int journalCount() { return db->count("select count(*) from accounts_dep.smena"); }

    // Every write of a timesheet row fails from now on, as a failing server would.
    void breakTimesheetWrites()
    {
        db->exec("create function accounts_dep.refuse_hours() returns trigger language plpgsql as "
                 "$$ begin raise exception 'timesheet refused'; end $$");
        db->exec("create trigger refuse_hours before insert or update on accounts_dep.h_tabel "
                 "for each row execute function accounts_dep.refuse_hours()");
    }
    void mendTimesheetWrites() { db->exec("drop trigger refuse_hours on accounts_dep.h_tabel"); }

    QStringList listedNames() { return columnTexts(*Form1->DBGrid2->model()); }
    int selectedRow() const { return Form1->DBGrid2->currentIndex().row(); }

    Seed::Journal j{};
};
