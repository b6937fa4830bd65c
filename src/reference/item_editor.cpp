#include "item_editor.h"

#include "data_module.h"
#include "input_rules.h"
#include "lookup_combo_box.h"
#include "write_statements.h"

#include <QLineEdit>

TForm7* Form7 = nullptr;

namespace {

// The catalogue's s_caption and massa (numeric(28, 6)).
const InputRule kBrand = InputRule::text(QStringLiteral("Марка"), 254);
const InputRule kMass = InputRule::decimal(QStringLiteral("Расценка"), 0, kPriceCeiling, 6);

}  // namespace

TForm7::TForm7(QWidget* parent)
    : EditorDialog("Form7", QStringLiteral("Данные об изделии"), parent),
      item(DataModule6->ADO_DB, QStringLiteral("select * from cmn_classifier.item where id_level=2 order by s_caption"))
{
    setWindowTitle(QStringLiteral("Изделие"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    kMass.prepare(Edit2);
    cb_item = new LookupComboBox(item, QStringLiteral("id"), QStringLiteral("s_caption"), this);
    cb_item->setObjectName(QStringLiteral("cb_item"));
    addField(QStringLiteral("Марка"), Edit1);
    addField(QStringLiteral("Расценка"), Edit2);
    addField(QString(), cb_item);
    setFocusOnShow(Edit1);
    setMinimumWidth(420);
}

void TForm7::openClassifier()
{
    item.open();
    cb_item->fill();
}

// Brands are unique whatever their letter case; an item being changed may keep its own.
bool TForm7::duplicate(const QString& brand) const
{
    const qint64 own = adding() ? 0 : DataModule6->Izdel.fieldByName(QStringLiteral("id")).asLargeInt();
    return DataModule6->CheckDuplicateName(QStringLiteral("accounts_dep.izdel"), QStringLiteral("marka"), brand, own,
                                           QStringLiteral("Такая марка изделия уже заведена!"));
}

// The mass is the checked value, with a full stop whatever the database's decimal
// separator: SQL reads no other, and a comma would split the number into two values.
void TForm7::prepareStatement(Command& statement, const QString& brand, const QString& massa) const
{
    if (adding()) {
        statement.setSql(goods_sql::insert());
    } else {
        statement.setSql(goods_sql::update());
        statement.setParam(QStringLiteral("id"), DataModule6->Izdel.fieldByName(QStringLiteral("id")).asLargeInt());
    }
    statement.setParam(QStringLiteral("s_caption"), brand);
    statement.setParam(QStringLiteral("massa"), massa);
    statement.setParam(QStringLiteral("id_class_item"), cb_item->keyValue());
}

void TForm7::Button1Click()
{
    const QString brand = Edit1->text().trimmed();
    if (brand.isEmpty() || Edit2->text().trimmed().isEmpty() || cb_item->keyValue() == 0) {
        refuse(QStringLiteral("Все поля должны быть заполнены!"));
        return;
    }
    kBrand.valueOf(Edit1);
    const QString mass = kMass.valueOf(Edit2);
    if (duplicate(brand))
        return;
    prepareStatement(DataModule6->SQL_exec, brand, mass);
    DataModule6->SQL_exec.execute();
    // The list stays on the row it stood on.
    DataModule6->Izdel.refresh({}, Dataset::Fallback::PositionOrFirst);
    accept();
}
