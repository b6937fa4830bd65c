#include "operations_window.h"

#include "controls.h"
#include "data_module.h"
#include "deletions.h"
#include "error_box.h"
#include "handler_guard.h"
#include "norms_window.h"
#include "operation_editor.h"
#include "operation_texts.h"
#include "reports/price_list_export.h"
#include "seams.h"
#include "shift_price.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

TForm4* Form4 = nullptr;

namespace {

SearchListWindow::Setup operationsSetup()
{
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    return {"Form4",
            QStringLiteral("Операции"),
            &DataModule6->Oper,
            {{QStringLiteral("marka"), QStringLiteral("Марка"), 0},
             {QStringLiteral("vid"), QStringLiteral("Опреция"), 243},
             {QStringLiteral("cena"), QStringLiteral("Цена (min)"), 74},
             {QStringLiteral("nmn"), QStringLiteral("Вид"), 139},
             {QStringLiteral("norma"), QStringLiteral("Нормы (шт.)"), 76},
             {QStringLiteral("id"), QStringLiteral("id"), 0, left, false},
             {QStringLiteral("i_id"), QStringLiteral("i_id"), 0, left, false},
             {QStringLiteral("oper_vid"), QStringLiteral("oper_vid"), 0, left, false}},
            [](const QString& typed) {
                return typed.trimmed().isEmpty()
                    ? SearchListWindow::Filter()
                    : SearchListWindow::likeSearch("marka", typed, true);
            }};
}

}  // namespace

TForm4::TForm4(QWidget* parent)
    : ReferenceListWindow(operationsSetup(), parent), XLS_Rep(DataModule6->ADO_DB, priceListSql()), excel_(this)
{
    XLS_Rep.setObjectName(QStringLiteral("XLS_Rep"));
    Button5 = makeButton(this, "Button5", QStringLiteral("Excel"));
    CheckBox1 = new QCheckBox(QStringLiteral("Цены"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    QFont bold = CheckBox1->font();
    bold.setBold(true);
    CheckBox1->setFont(bold);
    addToBottomRow(Button5);
    addToBottomRow(CheckBox1);
    connectHandler(Button5, &QPushButton::clicked, this, &TForm4::Button5Click);
}

void TForm4::Button5Click() { exportPriceList(XLS_Rep, excel_); }

void TForm4::showAsPicker(int operationId, bool dayOff, int shift)
{
    pickDayOff_ = dayOff;
    pickShift_ = shift;
    dataset().open();
    setUpAsPicker(1);
    if (operationId == 0 || !dataset().locate(QStringLiteral("id"), operationId))
        dataset().first();
    seams::showModal(*this);
    endPicker();
    dataset().setFiltered(false);
}

void TForm4::DBGrid1DblClick()
{
    if (CheckBox1->isChecked() && Tag == 0 && !dataset().isEmpty())
        showNorms(dataset().fieldByName(QStringLiteral("id")).asInteger());
    else
        Button2Click();
}

void TForm4::showNorms(int operationId) { Form22->showForOperation(operationId); }

// A new operation has no norm yet and so no place in this list: its norms window opens
// at once, and the list stands on it once it has a norm.
void TForm4::addRow()
{
    Form10->Edit1->clear();
    Form10->Edit2->clear();
    Form10->ComboBox1->setCurrentIndex(0);
    Form10->setWindowTitle(QStringLiteral("Заведение новой цены за операцию"));
    Form10->Tag = 1;
    Form10->AddedOperationId = 0;
    seams::showModal(*Form10);
    if (Form10->AddedOperationId == 0)
        return;
    showNorms(Form10->AddedOperationId);
    dataset().locate(QStringLiteral("id"), Form10->AddedOperationId);
}

void TForm4::changeRow()
{
    Form10->setWindowTitle(QStringLiteral("Изменение данных о цене за операцию"));
    Form10->Tag = 2;
    Form10->Edit1->setText(dataset().fieldByName(QStringLiteral("marka")).asString().trimmed());
    Form10->Edit2->setText(dataset().fieldByName(QStringLiteral("vid")).asString().trimmed());
    Form10->ComboBox1->setCurrentIndex(dataset().fieldByName(QStringLiteral("naimen")).asInteger());
    Form10->ItemId = dataset().fieldByName(QStringLiteral("i_id")).asLargeInt();
    Form10->KindId = dataset().fieldByName(QStringLiteral("oper_vid")).asInteger();
    seams::showModal(*Form10);
}

void TForm4::deleteRow()
{
    if (!seams::messageBoxes().confirm(this, QStringLiteral("Удалить операцию?"), QStringLiteral("Удаление")))
        return;
    const deletions::Outcome outcome =
        deletions::deleteOperation(*DataModule6, dataset().fieldByName(QStringLiteral("id")).asInteger());
    // Refused like a statement the database refuses: the list stays as it is.
    if (outcome == deletions::Outcome::UsedInJournal) {
        showError(this, deletions::refusalMessage(outcome));
        return;
    }
    dataset().refresh({}, Dataset::Fallback::First);
}

QString TForm4::pickedText() const
{
    const QString brand = DataModule6
                              ->scalar(QStringLiteral("select marka from accounts_dep.izdel where id=:id"),
                                       {{QStringLiteral("id"), dataset().fieldByName(QStringLiteral("i_id")).asLargeInt()}})
                              .toString()
                              .trimmed();
    return operationDescription(brand, dataset().fieldByName(QStringLiteral("vid")).asString(),
                                dataset().fieldByName(QStringLiteral("naimen")).asInteger());
}

void TForm4::handBack()
{
    PickedOperation picked;
    picked.itemId = dataset().fieldByName(QStringLiteral("i_id")).asLargeInt();
    picked.operationId = dataset().fieldByName(QStringLiteral("id")).asInteger();
    picked.productKind = dataset().fieldByName(QStringLiteral("naimen")).asInteger();
    picked.basePrice = dataset().fieldByName(QStringLiteral("cena")).asFloat();
    picked.price = pay::shiftPrice(picked.basePrice, pickDayOff_, pickShift_);
    picked.text = pickedText();
    if (receiver_)
        receiver_(picked);
}
