#include "operation_editor.h"

#include "controls.h"
#include "data_module.h"
#include "handler_guard.h"
#include "items_window.h"
#include "kinds_window.h"
#include "write_statements.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

TForm10* Form10 = nullptr;

TForm10::TForm10(QWidget* parent) : EditorDialog("Form10", QStringLiteral("Цена операции"), parent)
{
    setWindowTitle(QStringLiteral("Form10"));
    Edit1 = makeEdit(this, "Edit1", true);
    Edit2 = makeEdit(this, "Edit2", true);
    Button3 = makeButton(this, "Button3", QStringLiteral("..."));
    Button4 = makeButton(this, "Button4", QStringLiteral("..."));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems({QStringLiteral("Готовая продукция"), QStringLiteral("Заготовки")});
    addField(QStringLiteral("Марка изделия"), fieldRow(this, {Edit1, Button3}));
    addField(QStringLiteral("Операция"), fieldRow(this, {Edit2, Button4}));
    addField(QStringLiteral("Вид"), ComboBox1);
    setFocusOnShow(Button3);
    setMinimumWidth(460);

    connectHandler(Button3, &QPushButton::clicked, this, &TForm10::Button3Click);
    connectHandler(Button4, &QPushButton::clicked, this, &TForm10::Button4Click);
}

void TForm10::Button3Click() { Form3->showAsPicker(); }

void TForm10::Button4Click() { Form8->showAsPicker(); }

namespace {

const QString kSameParameters = QStringLiteral("vid=:vid and naimen=:naimen and i_id=:i_id");

}  // namespace

QVariantMap TForm10::sameParameters() const
{
    return {{QStringLiteral("vid"), KindId},
            {QStringLiteral("naimen"), ComboBox1->currentIndex()},
            {QStringLiteral("i_id"), ItemId}};
}

// An operation added earlier whose norms window was left without a norm is still not
// listed; adding it again leads to its norms instead of a refusal.
int TForm10::operationWithoutNorms() const
{
    return DataModule6
        ->scalar(QStringLiteral("select coalesce(min(id), 0) as id from accounts_dep.oper o where ") + kSameParameters
                     + QStringLiteral(" and not exists (select 1 from accounts_dep.norm n where n.o_id = o.id)"),
                 sameParameters())
        .toInt();
}

void TForm10::add()
{
    AddedOperationId = operationWithoutNorms();
    if (AddedOperationId != 0)
        return;
    if (DataModule6->CheckDuplicate(QStringLiteral("select count(ID) as cnt from accounts_dep.OPER where ") + kSameParameters,
                                    sameParameters(), QStringLiteral("Операция с такими параметрами уже заведена!")))
        return;
    Command& insert = DataModule6->Oper_ins;
    insert.setSql(oper_sql::insert());
    insert.setParams(sameParameters());
    insert.execute();
    AddedOperationId = operationWithoutNorms();
}

void TForm10::change()
{
    QVariantMap params = sameParameters();
    params.insert(QStringLiteral("id"), DataModule6->Oper.fieldByName(QStringLiteral("id")).asInteger());
    if (DataModule6->CheckDuplicate(QStringLiteral("select count(*) as cnt from accounts_dep.OPER where ") + kSameParameters
                                        + QStringLiteral(" and id<>:id"),
                                    params, QStringLiteral("Операция с такими параметрами уже заведена!")))
        return;
    Command& update = DataModule6->Oper_ed;
    update.setSql(oper_sql::update());
    update.setParams(params);
    update.execute();
    DataModule6->Oper.close();
    DataModule6->Oper.open();
    accept();
}

void TForm10::Button1Click()
{
    if (Edit1->text().trimmed().isEmpty() || Edit2->text().trimmed().isEmpty()) {
        refuse(QStringLiteral("Все поля должны быть заполнены!"));
        return;
    }
    if (!adding()) {
        change();
        return;
    }
    add();
    if (AddedOperationId == 0)
        return;
    DataModule6->Oper.close();
    DataModule6->Oper.open();
    accept();
}
