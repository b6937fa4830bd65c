#pragma once

#include "data_grid.h"
#include "household/household_editor.h"
#include "household/household_window.h"
#include "app/journal_window.h"
#include "list_test_support.h"
#include "reference/nomenclature_picker.h"
#include "sql_text.h"
#include "reference/workers_window.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

// The whole program on a Thursday with two workers, two nomenclature entries and the two
// household kinds: 7777 at 150 an hour, 7778 at 200.
class HouseholdFixture : public AppFixture {
protected:
    static inline const QDate kThursday{2026, 12, 10};
    static inline const QDate kWednesday{2026, 12, 9};

    void SetUp() override
    {
        AppFixture::SetUp();
        fakes->clock = QDateTime(kThursday, QTime(9, 0));
        petrov = seed->worker(QStringLiteral("Петров П.П."));
        sidorov = seed->worker(QStringLiteral("Сидоров С.С."));
        cleaning = seed->classifierEntry(QStringLiteral("Уборка территории"));
        roofing = seed->classifierEntry(QStringLiteral("Ремонт кровли"));
        seed->operationKind(QStringLiteral("Хоз. работы"), 7777);
        seed->operationKind(QStringLiteral("Среднесдельная"), 7778);
        hourly = seed->operation(7777, 7777, 0, 150);
        averageRate = seed->operation(7778, 7778, 0, 200);
    }

    int entry(int worker, int nomenclature, int kind, int hours, double price, const QDate& date = kThursday, int shift = 1)
    {
        return db->scalar(QStringLiteral("insert into accounts_dep.fatigue (id_nom, id_o, id_p, d_date, i_mnth, i_year, i_smena, cnt, "
                                         "price) values (%1, %2, %3, %4, %5, %6, %7, %8, %9) returning id")
                              .arg(nomenclature)
                              .arg(kind)
                              .arg(worker)
                              .arg(sql_text::toDate(date))
                              .arg(date.month())
                              .arg(date.year())
                              .arg(shift)
                              .arg(hours)
                              .arg(sql_text::decimal(price, 4)))
            .toInt();
    }

    // The stored entry as "id_nom|id_o|id_p|d_date|i_mnth|i_year|i_smena|cnt|price".
    QString stored(int id)
    {
        return db->scalar(QStringLiteral("select id_nom||'|'||id_o||'|'||id_p||'|'||d_date||'|'||i_mnth||'|'||i_year||'|'||i_smena"
                                         "||'|'||cnt||'|'||price from accounts_dep.fatigue where id=%1")
                              .arg(id));
    }
    int entryCount() { return db->count("select count(*) from accounts_dep.fatigue"); }

    // Logs in with this code, presses the journal's "Хоз. работы" and runs `act` while the
    // household journal is shown.
    void inHouseholdJournal(std::function<void()> act, const QString& code = QStringLiteral("8573"))
    {
        logIn(code, [this, act] {
            fakes->modalActions.push_back(list_test::whileShown([act](QDialog&) { act(); }));
            Form1->Button5->click();
        });
    }

    // Presses a button that shows a window modally and runs `act` while it is shown.
    void whileOpenedBy(QPushButton* button, std::function<void()> act)
    {
        fakes->modalActions.push_back(list_test::whileShown([act](QDialog&) { act(); }));
        button->click();
    }

    // The editor's "..." buttons: the real picker with a search typed in, its current row chosen.
    void pickWorker(const QString& search)
    {
        whileOpenedBy(Form24->Button3, [search] {
            list_test::type(*Form5, search);
            Form5->Button2->click();
        });
    }
    void pickNomenclature(const QString& search)
    {
        whileOpenedBy(Form24->Button4, [search] {
            list_test::type(*Form26, search);
            Form26->Button1->click();
        });
    }

    // A user's double click on a row of the household journal: the first click selects it.
    void doubleClickRow(int row) { list_test::doubleClickRow(*Form25->DBGrid1, row); }

    QStringList listed(int column = 0) { return columnTexts(*Form25->DBGrid1->model(), column); }
    QStringList listedRow(int row)
    {
        QStringList texts;
        const QAbstractItemModel& model = *Form25->DBGrid1->model();
        for (int column = 0; column < model.columnCount(); ++column)
            texts << model.index(row, column).data().toString();
        return texts;
    }

    // A window of a fixed size in the middle of the desktop (give or take its frame).
    static void expectFixedAndCentred(const QWidget& window)
    {
        EXPECT_EQ(window.minimumSize(), window.maximumSize()) << window.objectName().toStdString();
        const QPoint offset = window.geometry().center() - window.screen()->availableGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 10) << window.objectName().toStdString();
    }

    int petrov = 0, sidorov = 0, cleaning = 0, roofing = 0, hourly = 0, averageRate = 0;
};
