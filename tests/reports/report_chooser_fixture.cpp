#include "report_chooser_fixture.h"

#include "app/journal_window.h"
#include "radio_group.h"
#include "reports/report_chooser.h"

#include <QAction>
#include <QDateEdit>
#include <QDialog>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

void ReportChooserTest::SetUp()
{
    AppFixture::SetUp();
    fakes->clock = QDateTime(QDate(kYear, 3, 14), QTime(9, 0));
}

void ReportChooserTest::openChooser(const QString& code, std::function<void()> act)
{
    logIn(code, [this, act] {
        fakes->modalActions.push_back([act](QDialog& chooser) {
            chooser.show();
            act();
            chooser.hide();
            return int(QDialog::Rejected);
        });
        Form1->N9->trigger();
    });
}

ReportChooserTest::Line ReportChooserTest::line(int worker, const QString& nom, const QString& vid, int naimen)
{
    Line l{};
    l.worker = worker;
    l.item = seed->item(nom + QStringLiteral(" М"), seed->classifierEntry(nom));
    l.operation = seed->operation(l.item, seed->operationKind(vid), naimen);
    return l;
}

int ReportChooserTest::record(const Line& l, const QDate& date, int quantity, int rejects, int color, double price)
{
    Seed::Record r;
    r.worker = l.worker;
    r.item = l.item;
    r.operation = l.operation;
    r.date = date;
    r.quantity = quantity;
    r.rejects = rejects;
    r.color = color;
    r.price = price;
    return seed->record(r);
}

void ReportChooserTest::typeDate(QDateEdit* box, const QString& text)
{
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

void ReportChooserTest::chooseProductKind(int index)
{
    QRadioButton* button = Form18->RadioGroup1->button(index);
    // A radio button takes a click on its circle or its text, not on the free space beside.
    QStyleOptionButton option;
    option.initFrom(button);
    const QRect circle = button->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, button);
    QTest::mouseClick(button, Qt::LeftButton, {}, circle.center());
}
