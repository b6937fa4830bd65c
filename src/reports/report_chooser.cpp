#include "report_chooser.h"

#include "controls.h"
#include "data_module.h"
#include "date_box.h"
#include "handler_guard.h"
#include "period_report_window.h"
#include "period_reports.h"
#include "production_export.h"
#include "radio_group.h"
#include "seams.h"

#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

TForm18* Form18 = nullptr;

TForm18::TForm18(QWidget* parent)
    : QDialog(parent), XLS_Rep(DataModule6->ADO_DB, productionSql()), excel_(this)
{
    setObjectName(QStringLiteral("Form18"));
    setWindowTitle(QStringLiteral("Отчеты (8)"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    XLS_Rep.setObjectName(QStringLiteral("XLS_Rep"));
    buildControls();
    connectHandlers();
}

void TForm18::buildControls()
{
    RadioGroup1 = new RadioGroup(this, "RadioGroup1", QStringLiteral("Вид продукции"),
                                 {QStringLiteral("Все"), QStringLiteral("Готовая продукция"), QStringLiteral("Заготовки")});
    RadioGroup1->setItemIndex(0);

    GroupBox1 = new QGroupBox(QStringLiteral("Период отбора"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    DTPicker1 = new DateBox(GroupBox1, "DTPicker1");
    DTPicker2 = new DateBox(GroupBox1, "DTPicker2");
    Label1 = makeLabel(GroupBox1, "Label1", QStringLiteral("с"), DTPicker1);
    Label2 = makeLabel(GroupBox1, "Label2", QStringLiteral("по"), DTPicker2);
    auto* period = new QGridLayout(GroupBox1);
    period->addWidget(Label1, 0, 0);
    period->addWidget(DTPicker1, 0, 1);
    period->addWidget(Label2, 1, 0);
    period->addWidget(DTPicker2, 1, 1);

    Button4 = makeButton(this, "Button4", QStringLiteral("Отчет по рабочим"));
    Button2 = makeButton(this, "Button2", QStringLiteral("Отчет по продукции"));
    Button1 = makeButton(this, "Button1", QStringLiteral("Детальный отчет по рабочим"));
    Button3 = makeButton(this, "Button3", QStringLiteral("Детальный отчет по продукции"));
    Button6 = makeButton(this, "Button6", QStringLiteral("Excel (0 из 0)"));
    Button7 = makeButton(this, "Button7", QStringLiteral("Расчетные листки"));
    Button8 = makeButton(this, "Button8", QStringLiteral("Листок рабочего…"));
    Button9 = makeButton(this, "Button9", QStringLiteral("Расчетные листки в Excel"));
    Button10 = makeButton(this, "Button10", QStringLiteral("Листок рабочего в Excel…"));
    Button11 = makeButton(this, "Button11", QStringLiteral("Журнал изменений"));
    Button5 = makeButton(this, "Button5", QStringLiteral("Выход"));

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);  // sized to its controls
    layout->addWidget(RadioGroup1);
    layout->addWidget(GroupBox1);
    for (QPushButton* button : {Button4, Button2, Button1, Button3, Button6, Button7, Button8, Button9, Button10, Button11,
                                 Button5})
        layout->addWidget(button);
}

void TForm18::connectHandlers()
{
    connectHandler(Button4, &QPushButton::clicked, this, &TForm18::Button4Click);
    connectHandler(Button2, &QPushButton::clicked, this, &TForm18::Button2Click);
    connectHandler(Button1, &QPushButton::clicked, this, &TForm18::Button1Click);
    connectHandler(Button3, &QPushButton::clicked, this, &TForm18::Button3Click);
    connectHandler(Button6, &QPushButton::clicked, this, &TForm18::Button6Click);
    connectHandler(Button7, &QPushButton::clicked, this, &TForm18::Button7Click);
    connectHandler(Button8, &QPushButton::clicked, this, &TForm18::Button8Click);
    connectHandler(Button9, &QPushButton::clicked, this, &TForm18::Button9Click);
    connectHandler(Button10, &QPushButton::clicked, this, &TForm18::Button10Click);
    connectHandler(Button11, &QPushButton::clicked, this, &TForm18::Button11Click);
    connectHandler(Button5, &QPushButton::clicked, this, &TForm18::Button5Click);
}

void TForm18::presetPreviousMonth(const QDate& today)
{
    const QDate thisMonth(today.year(), today.month(), 1);
    DTPicker1->setDate(thisMonth.addMonths(-1));
    DTPicker2->setDate(thisMonth);
}

void TForm18::showFromMenu()
{
    presetPreviousMonth(seams::today());
    // The change history may be found only after this window was made (a person's login
    // connects after start-up).
    Button11->setVisible(DataModule6->MonthLockInstalled);
    seams::showModal(*this);
}

ProductKindChoice TForm18::productKind() const { return ProductKindChoice(RadioGroup1->itemIndex()); }

void TForm18::Button4Click() { printReport(*Form16, QStringLiteral("   Отчет по рабочим за период с ")); }

void TForm18::Button2Click() { printReport(*Form17, QStringLiteral("   Отчет по продукции за период с ")); }

void TForm18::Button1Click()
{
    Form20->query().close();
    printReport(*Form20, QStringLiteral("   Детальный отчет по рабочим за период с "));
}

void TForm18::Button3Click() { printReport(*Form21, QStringLiteral("   Детальный отчет по продукции за период с ")); }

void TForm18::Button11Click()
{
    printReport(*ChangesReport, QStringLiteral("   Журнал изменений за период с "), false);
}

void TForm18::printReport(PeriodReportWindow& layout, const QString& titlePrefix, bool ofProducts)
{
    Dataset& query = layout.query();
    setPeriod(query, DTPicker1->date(), DTPicker2->date(), ofProducts ? productKind() : ProductKindChoice::All);
    const CloseOnExit closed{query};  // so the next report reads its period afresh
    query.open();
    const QLocale locale;
    layout.setTitle(titlePrefix + locale.toString(DTPicker1->date(), QLocale::ShortFormat) + QStringLiteral(" по ")
                    + locale.toString(DTPicker2->date(), QLocale::ShortFormat));
    layout.prepareAndPreview(this);
}

void TForm18::Button6Click()
{
    setPeriod(XLS_Rep, DTPicker1->date(), DTPicker2->date(), productKind());
    // The count is drawn at once, but not more often than the eye follows.
    QElapsedTimer sincePainted;
    sincePainted.start();
    exportProduction(XLS_Rep, excel_, [&](const QString& caption) {
        Button6->setText(caption);
        if (sincePainted.elapsed() >= 40) {
            Button6->repaint();
            sincePainted.restart();
        }
    });
}

void TForm18::Button5Click() { QDialog::reject(); }

void TForm18::reject() { Button5->click(); }
