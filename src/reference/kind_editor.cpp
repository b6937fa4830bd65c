#include "kind_editor.h"

#include "data_module.h"
#include "input_rules.h"

#include <QLineEdit>

TForm9* Form9 = nullptr;

namespace {

const InputRule kName = InputRule::text(QStringLiteral("Операция"), 128);  // vid char(128)

}  // namespace

TForm9::TForm9(QWidget* parent) : EditorDialog("Form9", QStringLiteral("Вид операции"), parent)
{
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    addField(QStringLiteral("Операция"), Edit1);
    setFocusOnShow(Edit1);
    writesThrough(DataModule6->Vid_oper);
    setMinimumWidth(360);
}

// Names are unique whatever their letter case; a kind being changed may keep its own.
bool TForm9::duplicate(const QString& name) const
{
    const qint64 own = adding() ? 0 : DataModule6->Vid_oper.fieldByName(QStringLiteral("id")).asLargeInt();
    return DataModule6->CheckDuplicateName(QStringLiteral("accounts_dep.vid_oper"), QStringLiteral("vid"), name, own,
                                           QStringLiteral("Такая операция уже заведена!"));
}

void TForm9::Button1Click()
{
    const QString name = Edit1->text().trimmed();
    if (name.isEmpty()) {
        refuse(QStringLiteral("Все поля должны быть заполнены!"));
        return;
    }
    kName.valueOf(Edit1);
    if (duplicate(name))
        return;
    Dataset& kinds = DataModule6->Vid_oper;
    adding() ? kinds.append() : kinds.edit();
    kinds.fieldByName(QStringLiteral("vid")).setValue(name);
    kinds.post();
    kinds.close();
    kinds.open();
    accept();
}
