#include "items_window.h"

#include "data_module.h"
#include "deletions.h"
#include "error_box.h"
#include "item_editor.h"
#include "lookup_combo_box.h"
#include "operation_editor.h"
#include "seams.h"

#include <QLineEdit>
#include <QPushButton>

TForm3* Form3 = nullptr;

namespace {

SearchListWindow::Setup itemsSetup()
{
    SearchListWindow::Setup setup{
        "Form3",
        QStringLiteral("Изделия (3)"),
        &DataModule6->Izdel,
        {{QStringLiteral("marka"), QStringLiteral("Марка изделия"), 315},
         {QStringLiteral("nom"), QStringLiteral("Номенклатурная группа"), 162},
         {QStringLiteral("massa"), QStringLiteral("Коробки"), 67}},
        [](const QString& typed) {
            return typed.isEmpty() ? SearchListWindow::Filter()
                                   : SearchListWindow::likeSearch("marka", typed);
        }};
    setup.searchTakesOnlyCharacters = false;
    return setup;
}

// The first day of last month in the year 2000; in January, 1 December 2000.
QDate journalCountFrom(const QDate& today)
{
    const int month = today.month() == 1 ? 13 : today.month();
    return QDate(2000, month - 1, 1);
}

}  // namespace

TForm3::TForm3(QWidget* parent)
    : ReferenceListWindow(itemsSetup(), parent),
      // Item keys run to 15 digits: the key is compared as a 64-bit number whatever the
      // column's own type.
      Izdel_Smena(DataModule6->ADO_DB, QStringLiteral("select count(*) as cnt from accounts_dep.smena s where s.i_id =:id_ii::int8 and s.")
                                           + QLatin1Char('"') + QStringLiteral("data") + QLatin1Char('"') + QStringLiteral(">=:dt")),
      ii_oper(DataModule6->ADO_DB, QStringLiteral("select count(*) as cnt from accounts_dep.oper o where o.i_id =:id_ii::int8"))
{
    handsBackFromEmptyList = true;
}

void TForm3::showAsPicker()
{
    dataset().open();
    setUpAsPicker(1);
    seams::showModal(*this);
    endPicker();
    // The search box stays for maintenance, so the filter a picker left can be emptied there.
    Edit1->setVisible(true);
    dataset().close();
}

void TForm3::addRow()
{
    Form7->Edit1->clear();
    Form7->Edit2->clear();
    Form7->setWindowTitle(QStringLiteral("Заведение нового изделия"));
    Form7->Tag = 1;
    Form7->openClassifier();
    seams::showModal(*Form7);
    Form7->item.close();
}

void TForm3::changeRow()
{
    Form7->setWindowTitle(QStringLiteral("Изменение данных изделия"));
    Form7->Tag = 2;
    Form7->Edit1->setText(dataset().fieldByName(QStringLiteral("marka")).asString().trimmed());
    const Field massa = dataset().fieldByName(QStringLiteral("massa"));
    const unsigned massaType = dataset().columns()[size_t(dataset().columnIndex(QStringLiteral("massa")))].oid;
    Form7->Edit2->setText(massa.isNull() ? QString() : formatForDisplay(massa.asString(), massaType).trimmed());
    Form7->openClassifier();
    Form7->cb_item->setKeyValue(dataset().fieldByName(QStringLiteral("id_class_item")).asLargeInt());
    seams::showModal(*Form7);
    Form7->item.close();
}

// The item goes with its operations and its journal records, after the questions, all
// together or not at all. An item whose operations the user wants to keep stays.
void TForm3::deleteRow()
{
    const qint64 itemId = dataset().fieldByName(QStringLiteral("id")).asLargeInt();
    Izdel_Smena.setParam(QStringLiteral("dt"), QDateTime(journalCountFrom(seams::today()), QTime(0, 0)));
    Izdel_Smena.setParam(QStringLiteral("id_ii"), itemId);
    ii_oper.setParam(QStringLiteral("id_ii"), itemId);
    Izdel_Smena.open();
    ii_oper.open();
    const int operations = ii_oper.fieldByName(QStringLiteral("cnt")).asInteger();
    const int records = Izdel_Smena.fieldByName(QStringLiteral("cnt")).asInteger();
    Izdel_Smena.close();
    ii_oper.close();

    if (const std::optional<deletions::ItemDeletion> agreed = askItemDeletion(itemId, operations, records)) {
        const QString refusal = deletions::refusalMessage(deletions::deleteItem(*DataModule6, *agreed));
        if (!refusal.isEmpty())
            showError(this, refusal);
    }
    dataset().refresh({}, Dataset::Fallback::First);
}

// What the user agreed to delete; nothing when the answer was No.
std::optional<deletions::ItemDeletion> TForm3::askItemDeletion(qint64 itemId, int operations, int records)
{
    auto& boxes = seams::messageBoxes();
    const QString caption = QStringLiteral("Удаление");
    if (operations > 0 && !boxes.confirm(this, QStringLiteral("По изделию есть расценки они будут удалены!!!"), caption)) {
        showError(this, deletions::refusalMessage(deletions::Outcome::KeepsOperations));
        return std::nullopt;
    }
    const QString question = records > 0
        ? QStringLiteral("По изделию есть операции в текущем, предыдущем месяцах и ранее, они будут удалены. Удалить изделие? ")
        : QStringLiteral("Удалить изделие? ");
    if (!boxes.confirm(this, question, caption))
        return std::nullopt;
    return deletions::ItemDeletion{itemId, operations > 0, records > 0};
}

void TForm3::handBack()
{
    const bool empty = dataset().isEmpty();
    Form10->Edit1->setText(empty ? QString() : dataset().fieldByName(QStringLiteral("marka")).asString().trimmed());
    Form10->ItemId = empty ? 0 : dataset().fieldByName(QStringLiteral("id")).asLargeInt();
}
