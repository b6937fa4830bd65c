#include "date_box.h"
#include "journal_fixture.h"
#include "list_test_support.h"
#include "operation_texts.h"
#include "journal/record_editor.h"
#include "shift_price.h"

#include <QApplication>
#include <QClipboard>
#include <QCheckBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

const QString kAllFields = "Ошибка: Все поля должны быть заполнены!";
const QString kDuplicate = "Ошибка: Позиция с такими параметрами уже заведена!";
const QString kRejects = "Ошибка: Брак не может быть больше количества!";

class EditorTest : public JournalFixture {
protected:
    void SetUp() override
    {
        JournalFixture::SetUp();
        paintKind = seed->operationKind("Покраска");
        paintOperation = seed->operation(j.item, paintKind, 1, 20.0);
        workerToPick = j.worker;
        operationToPick = j.operation;
        Form11->pickWorker = [this] { pickWorker(); };
        Form11->pickOperation = [this](bool dayOff, int shift) { pickOperation(dayOff, shift); };
    }

    // The workers list as a picker: the chosen row's name and id.
    void pickWorker()
    {
        Dataset& workers = DataModule6->Workers;
        if (!workers.locate("id", workerToPick))
            return;
        Form11->Edit1->setText(workers.fieldByName("fio").asString().trimmed());
        Form11->WorkerId = workers.fieldByName("id").asInteger();
    }
    // The operations list as a picker: the operation with its price for the shift and day.
    void pickOperation(bool dayOff, int shift)
    {
        Dataset& oper = DataModule6->Oper;
        if (!oper.locate("id", operationToPick))
            return;
        Form11->ItemId = oper.fieldByName("i_id").asInteger();
        Form11->OperId = oper.fieldByName("id").asInteger();
        Form11->ProductKind = oper.fieldByName("naimen").asInteger();
        const double price = oper.fieldByName("cena").asFloat();
        Form11->BasePrice = price;
        Form11->Price = pay::shiftPrice(price, dayOff, shift);
        const QString marka = db->scalar(QStringLiteral("select marka from accounts_dep.izdel where id=%1").arg(Form11->ItemId));
        Form11->Edit2->setText(operationDescription(marka, oper.fieldByName("vid").asString(), Form11->ProductKind));
    }

    // Shows the editor through the journal's button; `steps` act on it while it is shown.
    void openEditor(QPushButton* button, const std::function<void()>& steps)
    {
        fakes->modalActions.push_back([&, steps](QDialog& dialog) {
            dialog.show();
            steps();
            stayedOpen = dialog.isVisible();
            dialog.hide();
            return dialog.result();
        });
        button->click();
    }
    void fill(const QString& quantity, const QString& rejects, const QString& hours, const QString& colour = {})
    {
        Form11->Edit3->setText(quantity);
        Form11->Edit4->setText(rejects);
        Form11->Edit6->setText(hours);
        if (!colour.isNull())
            Form11->Edit5->setText(colour);
    }
    void pickBoth()
    {
        Form11->Button3->click();
        Form11->Button4->click();
    }
    QString row(const QString& where = "true")
    {
        return db->scalar("select w_id||'|'||i_id||'|'||o_id||'|'||cena||'|'||kol_vo||'|'||brak||'|'||data||'|'||smena||'|'||"
                          "color||'|'||time||'|'||vvod||'|'||ok||'|'||prize||'|'||id_doc||'|'||id_doc_item||'|'||"
                          "f_gds_qty_use||'|'||id_gds_use||'|'||id_cons_use from accounts_dep.smena where "
                          + where + " order by id desc limit 1");
    }
    QString expectedRow(int worker, int operation, const QString& cena, const QString& rest)
    {
        return QStringLiteral("%1|%2|%3|%4|%5").arg(worker).arg(j.item).arg(operation).arg(cena, rest);
    }

    int paintKind = 0, paintOperation = 0;
    int workerToPick = 0, operationToPick = 0;
    bool stayedOpen = false;
};

TEST_F(EditorTest, AddWritesTheRecordAndTheHoursAndShowsItInItsPlace)
{
    record(2, 4, kThursday, seed->worker("Петров П.П."));
    record(2, 4, kThursday, seed->worker("Яковлев Я.Я."));
    hoursRow(2, "d3=5");
    logIn("8573", [&] {
        Form1->RadioButton2->click();
        DataModule6->Smena2.setRecNo(2);
        openEditor(Form1->Button1, [&] {
            EXPECT_EQ(Form11->windowTitle(), "Заведение новой позиции");
            EXPECT_EQ(Form11->Tag, 1);
            EXPECT_EQ(Form11->DTimeP->date(), kThursday);
            EXPECT_EQ(Form11->focusWidget(), Form11->Button3);
            EXPECT_EQ(Form11->Edit4->text(), "0");
            EXPECT_EQ(Form11->Edit6->text(), "0");
            pickBoth();
            EXPECT_EQ(Form11->Edit1->text(), "Иванов И.И.");
            EXPECT_EQ(Form11->Edit2->text(), "Стол СТ-1; Сборка; Готовая продукция");
            EXPECT_FALSE(Form11->Edit5->isEnabled());
            fill("12", "2", "8");
            Form11->Button1->click();
        });
        EXPECT_FALSE(stayedOpen);
        EXPECT_TRUE(fakes->messages.shown.empty()) << messageTexts().join('\n').toStdString();
        EXPECT_EQ(row(QStringLiteral("w_id=%1").arg(j.worker)),
                  expectedRow(j.worker, j.operation, "10", "12|2|2026-12-10|2|0|8|2026-12-10 00:00:00|no|0|0|0|0|0|0"));
        EXPECT_EQ(cell(2), "8");
        EXPECT_EQ(cell(2, QDate(2026, 12, 3)), "5");
        EXPECT_EQ(listedNames(), QStringList({"Иванов И.И.", "Петров П.П.", "Яковлев Я.Я."}));
        EXPECT_EQ(selectedRow(), 2);  // the record the user stood on, Петров
        for (QLineEdit* edit : {Form11->Edit1, Form11->Edit2, Form11->Edit3, Form11->Edit4, Form11->Edit5, Form11->Edit6,
                                Form11->Edit7, Form11->Edit8, Form11->Edit9})
            EXPECT_TRUE(edit->text().isEmpty()) << edit->objectName().toStdString();
    });
}

TEST_F(EditorTest, ValidationRefusesMissingFieldsBeforeTooManyRejects)
{
    struct Case {
        const char* what;
        std::function<void()> steps;
        QString message;
    };
    const Case cases[] = {
        {"no worker", [this] { Form11->Button4->click(); fill("5", "0", "8"); }, kAllFields},
        {"no operation", [this] { Form11->Button3->click(); fill("5", "0", "8"); }, kAllFields},
        {"no quantity", [this] { pickBoth(); fill(" ", "9", "8"); }, kAllFields},
        {"no rejects", [this] { pickBoth(); fill("5", "", "8"); }, kAllFields},
        {"no hours", [this] { pickBoth(); fill("5", "9", ""); }, kAllFields},
        {"paint without colour", [this] { operationToPick = paintOperation; pickBoth(); fill("5", "0", "8", ""); }, kAllFields},
        {"rejects above quantity", [this] { pickBoth(); fill("3", "4", "8"); }, kRejects},
    };
    logIn("8573", [&] {
        for (const Case& c : cases) {
            fakes->messages.shown.clear();
            operationToPick = j.operation;
            openEditor(Form1->Button1, [&] {
                c.steps();
                Form11->Button1->click();
            });
            EXPECT_TRUE(stayedOpen) << c.what;
            EXPECT_EQ(messageTexts(), QStringList{c.message}) << c.what;
            EXPECT_EQ(journalCount(), 0) << c.what;
        }
        // As many rejects as pieces, and no hours typed as "0", are accepted.
        openEditor(Form1->Button1, [&] {
            pickBoth();
            fill("3", "3", "0");
            Form11->Button1->click();
        });
        EXPECT_FALSE(stayedOpen);
        EXPECT_EQ(journalCount(), 1);
        EXPECT_EQ(cell(1), "0");
    });
}

TEST_F(EditorTest, OnlyPaintOperationsTakeAColour)
{
    logIn("8573", [&] {
        openEditor(Form1->Button1, [&] {
            operationToPick = paintOperation;
            pickBoth();
            EXPECT_TRUE(Form11->Edit5->isEnabled());
            EXPECT_TRUE(Form11->Label5->isEnabled());
            fill("5", "0", "8", "7035");
            Form11->Button1->click();
        });
        EXPECT_EQ(db->scalar("select color from accounts_dep.smena"), "7035");

        openEditor(Form1->Button1, [&] {
            Form11->Edit5->setText("12");
            operationToPick = j.operation;
            pickBoth();
            EXPECT_FALSE(Form11->Edit5->isEnabled());
            EXPECT_FALSE(Form11->Label5->isEnabled());
            EXPECT_TRUE(Form11->Edit5->text().isEmpty());
            fill("5", "0", "8");
            Form11->Button1->click();
        });
        EXPECT_EQ(db->scalar(QStringLiteral("select color from accounts_dep.smena where o_id=%1").arg(j.operation)), "0");
    });
}

TEST_F(EditorTest, DuplicatesAreRefusedButAnotherColourIsNot)
{
    logIn("8573", [&] {
        operationToPick = paintOperation;
        for (const char* colour : {"5", "5", "6"}) {
            fakes->messages.shown.clear();
            openEditor(Form1->Button1, [&] {
                pickBoth();
                fill("5", "0", "8", colour);
                Form11->Button1->click();
            });
        }
        EXPECT_EQ(messageTexts(), QStringList());
        EXPECT_EQ(db->count("select count(*) from accounts_dep.smena where color=5"), 1);
        EXPECT_EQ(db->count("select count(*) from accounts_dep.smena where color=6"), 1);
        EXPECT_EQ(cell(1), "16");

        // A record is not its own duplicate, but may not become another's.
        DataModule6->Smena1.locate("color", 6);
        for (const char* colour : {"6", "5"}) {
            fakes->messages.shown.clear();
            openEditor(Form1->Button2, [&] {
                Form11->Edit5->setText(colour);
                Form11->Button1->click();
            });
        }
        EXPECT_EQ(messageTexts(), QStringList{kDuplicate});
        EXPECT_TRUE(stayedOpen);
        EXPECT_EQ(db->count("select count(*) from accounts_dep.smena where color=6"), 1);
    });
}

TEST_F(EditorTest, PriceIsRoundedToFourDecimalsWithAFullStop)
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    struct Case {
        double base;
        bool dayOff;
        int shift;
        QString cena, shown, sum, baseShown;
    };
    const Case cases[] = {
        {10.0, true, 4, "30", "30", "60", "10"},
        {10.0, false, 3, "12", "12", "24", "10"},
        {10.35, false, 3, "12.42", "12,42", "24,84", "10,35"},
        {1.03125, false, 1, "1.0312", "1,0312", "2,0625", "1,0312"},  // a half goes to the even neighbour
        {1.09375, false, 2, "1.0938", "1,0938", "2,1875", "1,0938"},
    };
    logIn("8573", [&] {
        for (const Case& c : cases) {
            db->exec("delete from accounts_dep.smena");
            DataModule6->Oper.close();
            db->exec(QStringLiteral("update accounts_dep.norm set price=%1").arg(c.base, 0, 'g', 17));
            Form1->shiftSelector(c.shift)->click();
            Form1->CBox1->setChecked(c.dayOff);
            openEditor(Form1->Button1, [&] {
                pickBoth();
                fill("2", "0", "8");
                Form11->Edit6Exit();
                EXPECT_EQ(Form11->Edit7->text(), c.shown) << c.base;
                EXPECT_EQ(Form11->Edit9->text(), c.sum) << c.base;
                EXPECT_EQ(Form11->Edit8->text(), c.baseShown) << c.base;
                Form11->Button1->click();
            });
            EXPECT_EQ(db->scalar("select cena from accounts_dep.smena"), c.cena) << c.base;
        }
    });
    QLocale::setDefault(QLocale::c());
}

TEST_F(EditorTest, ChangeRewritesTheRecordKeepingTheMarkAndTheRow)
{
    record(1, 4, kThursday, seed->worker("Алексеев А.А."));
    const int id = record(1, 6, kThursday, 0, "ok");
    db->exec(QStringLiteral("update accounts_dep.smena set cena=12.5, kol_vo=4, brak=1, prize=5, id_doc=7, id_doc_item=7, "
                            "f_gds_qty_use=7, id_gds_use=7, id_cons_use=7, vvod='2026-11-01' where id=%1")
                 .arg(id));
    logIn("8573", [&] {
        DataModule6->Smena1.setRecNo(2);
        openEditor(Form1->Button2, [&] {
            EXPECT_EQ(Form11->windowTitle(), "Изменение данных о позиции");
            EXPECT_EQ(Form11->Tag, 2);
            EXPECT_EQ(Form11->Edit1->text(), "Иванов И.И.");
            EXPECT_EQ(Form11->Edit2->text(), "Стол СТ-1; Сборка; Готовая продукция");
            EXPECT_EQ(Form11->Edit3->text(), "4");
            EXPECT_EQ(Form11->Edit4->text(), "1");
            EXPECT_EQ(Form11->Edit6->text(), "6");
            EXPECT_EQ(Form11->Edit7->text(), "12.5");
            EXPECT_EQ(Form11->Edit8->text(), "10");
            EXPECT_EQ(Form11->Edit9->text(), "50");
            EXPECT_FALSE(Form11->Edit5->isEnabled());
            EXPECT_EQ(Form11->DTimeP->date(), kThursday);
            Form11->Edit3->setText("5");
            Form11->Button1->click();
        });
        EXPECT_FALSE(stayedOpen);
        EXPECT_EQ(row(QStringLiteral("id=%1").arg(id)),
                  expectedRow(j.worker, j.operation, "12.5", "5|1|2026-12-10|1|0|6|2026-12-10 00:00:00|ok|0|0|0|0|0|0"));
        EXPECT_EQ(cell(1), "6");
        EXPECT_EQ(DataModule6->Smena1.recNo(), 2);
        EXPECT_EQ(selectedRow(), 1);

        // Cancelling writes nothing and leaves the row where it was.
        const QString before = row();
        openEditor(Form1->Button2, [&] {
            Form11->Edit3->setText("9");
            Form11->Button2->click();
        });
        EXPECT_EQ(row(), before);
        EXPECT_EQ(DataModule6->Smena1.recNo(), 2);

        // With no record in the shift nothing is shown.
        Form1->RadioButton3->click();
        fakes->modalShown.clear();
        Form1->Button2->click();
        EXPECT_TRUE(fakes->modalShown.empty());
    });
}

TEST_F(EditorTest, MovingARecordRecomputesTheCellItLeft)
{
    const QDate wednesday = kThursday.addDays(-1);
    for (const char* move : {"date", "worker"}) {
        TearDown();
        SetUp();
        const int petrov = seed->worker("Петров П.П.");
        record(1, 8);
        hoursRow(1, "d10=8");
        logIn("8573", [&] {
            openEditor(Form1->Button2, [&] {
                if (QString(move) == "date") {
                    Form11->DTimeP->setDate(wednesday);
                } else {
                    workerToPick = petrov;
                    Form11->Button3->click();
                }
                Form11->Button1->click();
            });
            EXPECT_FALSE(stayedOpen) << move;
            EXPECT_EQ(cell(1), "<null>") << move;
            if (QString(move) == "date")
                EXPECT_EQ(cell(1, wednesday), "8");
            else
                EXPECT_EQ(cell(1, kThursday, petrov), "8");
        });
    }
}

TEST_F(EditorTest, FailedUpkeepLeavesTheJournalAsItWasAndTheSaveCanBeRetried)
{
    breakTimesheetWrites();
    logIn("8573", [&] {
        openEditor(Form1->Button1, [&] {
            pickBoth();
            fill("5", "0", "8");
            Form11->Button1->click();
            EXPECT_EQ(journalCount(), 0);
            mendTimesheetWrites();
            Form11->Button1->click();
        });
        EXPECT_FALSE(stayedOpen);
        ASSERT_EQ(fakes->messages.shown.size(), 1u);
        EXPECT_TRUE(fakes->messages.shown[0].text.contains("timesheet refused"));
        EXPECT_EQ(journalCount(), 1);
        EXPECT_EQ(cell(1), "8");

        breakTimesheetWrites();
        openEditor(Form1->Button2, [&] {
            Form11->Edit6->setText("3");
            Form11->Button1->click();
        });
        EXPECT_TRUE(stayedOpen);
        EXPECT_EQ(db->scalar("select time from accounts_dep.smena"), "8");
    });
}

// A click into a number box selects its text: typed digits replace the 0 ("8", not "08").
TEST_F(EditorTest, AClickIntoANumberBoxSelectsItsText)
{
    logIn("8573", [&] {
        openEditor(Form1->Button1, [&] {
            list_test::activateAgain(*Form11);
            for (QLineEdit* edit : {Form11->Edit3, Form11->Edit4, Form11->Edit6}) {
                Form11->Button1->setFocus();
                QTest::mouseClick(edit, Qt::LeftButton, {}, edit->rect().center());
                QTest::keyClicks(edit, "8");
                EXPECT_EQ(edit->text(), "8") << edit->objectName().toStdString();
            }
        });
    });
}

TEST_F(EditorTest, NumberFieldsShowWhatWasTypedAndTabFollowsTheForm)
{
    logIn("8573", [&] {
        openEditor(Form1->Button1, [&] {
            operationToPick = paintOperation;
            Form11->Button4->click();
            for (QLineEdit* edit : {Form11->Edit3, Form11->Edit4, Form11->Edit5, Form11->Edit6}) {
                edit->clear();
                QTest::keyClicks(edit, "1a2,3 -");
                QTest::keyClick(edit, Qt::Key_Backspace);
                EXPECT_EQ(edit->text(), "1a2,3 ") << edit->objectName().toStdString();
            }
            // Leaving the quantity empty turns it into 0 and refreshes the sum.
            Form11->Edit3->clear();
            QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
            QCoreApplication::sendEvent(Form11->Edit3, &leave);
            EXPECT_EQ(Form11->Edit3->text(), "0");
            EXPECT_EQ(Form11->Edit9->text(), "0");

            QStringList order;
            QWidget* w = Form11->Button3;
            do {
                if ((w->parent() == Form11 || w->parent() == Form11->GroupBox1) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled())
                    order << w->objectName();
                w = w->nextInFocusChain();
            } while (w != Form11->Button3);
            EXPECT_EQ(order, QStringList({"Button3", "Button4", "Edit3", "Edit6", "Edit5", "DTimeP", "Edit4", "CheckBox1",
                                          "Button1", "Button2"}));
        });
    });
}

// Each number box shows what was typed or pasted, and the save refuses what is no value of
// its field, naming the field, before anything is written.
TEST_F(EditorTest, EveryNumberBoxIsCheckedBeforeAnythingIsWritten)
{
    enum class How { Typed, Pasted };
    struct Case {
        const char* box;
        QString input;
        How how;
        QString message;
    };
    const QString tooBig = "число слишком большое (не больше 2147483647)";
    const Case cases[] = {
        {"Edit6", "1,5", How::Typed, "Ошибка: Время: нужно целое число часов"},
        {"Edit6", "1.5", How::Typed, "Ошибка: Время: нужно целое число часов"},
        {"Edit6", "25", How::Typed, "Ошибка: Время: число слишком большое (не больше 24)"},
        {"Edit6", "-5", How::Typed, "Ошибка: Время: число не может быть отрицательным"},
        {"Edit3", "-5", How::Typed, "Ошибка: Кол-во: число не может быть отрицательным"},
        {"Edit3", "1,5", How::Typed, "Ошибка: Кол-во: нужно целое число"},
        {"Edit3", "1a5", How::Typed, "Ошибка: Кол-во: нужно целое число"},
        {"Edit3", "99999999999", How::Pasted, "Ошибка: Кол-во: " + tooBig},
        {"Edit3", QString(300, '7'), How::Pasted, "Ошибка: Кол-во: " + tooBig},
        {"Edit4", "40000", How::Typed, "Ошибка: Брак: число слишком большое (не больше 32767)"},
        {"Edit4", "-1", How::Typed, "Ошибка: Брак: число не может быть отрицательным"},
        {"Edit5", "-5", How::Typed, "Ошибка: Цвет: число не может быть отрицательным"},
        {"Edit5", "99999999999", How::Pasted, "Ошибка: Цвет: " + tooBig},
        {"Edit5", "9016 ", How::Pasted, {}},  // blanks around a number are no part of it
    };
    logIn("8573", [&] {
        for (const Case& c : cases) {
            const std::string name = std::string(c.box) + " " + c.input.left(20).toStdString();
            fakes->messages.shown.clear();
            operationToPick = paintOperation;
            openEditor(Form1->Button1, [&] {
                pickBoth();
                fill("50000", "0", "8", "1015");
                auto* box = Form11->findChild<QLineEdit*>(c.box);
                box->selectAll();
                if (c.how == How::Typed) {
                    QTest::keyClicks(box, c.input);
                } else {
                    QGuiApplication::clipboard()->setText(c.input);
                    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
                }
                EXPECT_EQ(box->text(), c.input) << name;
                Form11->Button1->click();
            });
            EXPECT_EQ(messageTexts(), c.message.isEmpty() ? QStringList() : QStringList{c.message}) << name;
            EXPECT_EQ(stayedOpen, !c.message.isEmpty()) << name;
            EXPECT_EQ(journalCount(), c.message.isEmpty() ? 1 : 0) << name;
            EXPECT_EQ(db->count("select count(*) from accounts_dep.h_tabel"), c.message.isEmpty() ? 1 : 0) << name;
        }
        EXPECT_EQ(db->scalar("select color from accounts_dep.smena"), "9016");
    });
}

TEST_F(EditorTest, ADaysHoursOfAWorkerAndShiftStayWithin24)
{
    record(1, 20);
    logIn("8573", [&] {
        const std::pair<const char*, QStringList> saves[] = {
            {"5", {"Ошибка: Время: у работника за 10.12.2026 в этой смене выходит 25 ч., а больше 24 быть не может"}},
            {"4", {}},
        };
        for (const auto& [hours, messages] : saves) {
            fakes->messages.shown.clear();
            operationToPick = paintOperation;
            openEditor(Form1->Button1, [&] {
                pickBoth();
                fill("10", "0", hours, "1");
                Form11->Button1->click();
            });
            EXPECT_EQ(messageTexts(), messages) << hours;
            EXPECT_EQ(stayedOpen, !messages.isEmpty()) << hours;
        }
        EXPECT_EQ(journalCount(), 2);
        EXPECT_EQ(cell(1), "24");
    });
}

// The date is one Tab stop: Tab, Tab and a digit from "Цвет" go to "Брак", not into the
// date's month; an impossible date typed by hand is refused and the date kept.
TEST_F(EditorTest, TheDateIsOneTabStopAndRefusesAnImpossibleTypedDate)
{
    logIn("8573", [&] {
        openEditor(Form1->Button1, [&] {
            operationToPick = paintOperation;
            pickBoth();
            fill("10", "0", "8", "1");
            QApplication::setActiveWindow(Form11);
            Form11->Edit5->setFocus();
            QTest::keyClick(Form11->Edit5, Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget(), Form11->DTimeP);
            QTest::keyClick(Form11->DTimeP, Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget(), Form11->Edit4);
            QTest::keyClicks(Form11->Edit4, "1");
            EXPECT_EQ(Form11->Edit4->text(), "1");
            EXPECT_EQ(Form11->DTimeP->date(), kThursday);

            QTest::keyClick(Form11->Edit4, Qt::Key_Backtab, Qt::ShiftModifier);
            QTest::keyClick(Form11->DTimeP, Qt::Key_Home);
            QTest::keyClicks(Form11->DTimeP, "31022026");
            QTest::keyClick(Form11->DTimeP, Qt::Key_Return);  // refused: "Запись" does not take this Enter
            EXPECT_EQ(messageTexts(), QStringList{"Ошибка: Дата: такой даты нет (31.02.2026), оставлена прежняя 10.12.2026"});
            EXPECT_EQ(Form11->DTimeP->date(), kThursday);
            EXPECT_EQ(journalCount(), 0);
            QTest::keyClicks(Form11->DTimeP, "09");
            QTest::keyClick(Form11->DTimeP, Qt::Key_Return);  // taken: the default button saves
        });
        EXPECT_FALSE(stayedOpen);
        EXPECT_EQ(db->scalar("select data from accounts_dep.smena"), "2026-12-09");
    });
}

}  // namespace
