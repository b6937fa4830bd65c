#include "workers_window.h"

#include "data_module.h"
#include "seams.h"
#include "worker_editor.h"
#include "write_statements.h"

#include <QLineEdit>
#include <QPushButton>

TForm5* Form5 = nullptr;

namespace {

SearchListWindow::Setup workersSetup()
{
    return {"Form5",
            QStringLiteral("Список рабочих"),
            &DataModule6->Workers,
            {{QStringLiteral("fio"), QStringLiteral("ФИО"), 300},
             {QStringLiteral("s_staffpos_hl"), QStringLiteral("Должность"), 300}},
            [](const QString& typed) {
                return typed.isEmpty() ? SearchListWindow::Filter()
                                       : SearchListWindow::likeSearch("fio", typed);
            }};
}

}  // namespace

TForm5::TForm5(QWidget* parent) : ReferenceListWindow(workersSetup(), parent) {}

void TForm5::showAsPicker(int tag)
{
    dataset().open();
    setUpAsPicker(tag);
    seams::showModal(*this);
    dataset().close();
}

void TForm5::addRow()
{
    Form2->Edit1->clear();
    Form2->setWindowTitle(QStringLiteral("Заведение данных нового работника"));
    Form2->Tag = 1;
    Form2->rereadLookups();
    seams::showModal(*Form2);
    dataset().refresh({}, Dataset::Fallback::First);
}

void TForm5::changeRow()
{
    Form2->setWindowTitle(QStringLiteral("Изменение данных работника"));
    Form2->Tag = 2;
    Form2->rereadLookups();
    Form2->Edit1->setText(dataset().fieldByName(QStringLiteral("fio")).asString().trimmed());
    Form2->PersonId = dataset().fieldByName(QStringLiteral("id")).asInteger();
    Form2->showStoredPosition(dataset().fieldByName(QStringLiteral("s_staffpos_hl")).asString());
    seams::showModal(*Form2);
    dataset().refresh({}, Dataset::Fallback::PositionOrFirst);
}

void TForm5::deleteRow()
{
    if (!seams::messageBoxes().confirm(this, QStringLiteral("Удалить работника?"), QStringLiteral("Удаление")))
        return;
    Form2->cmd_person.setSql(person_sql::remove());
    Form2->cmd_person.setParam(QStringLiteral("id"), dataset().fieldByName(QStringLiteral("id")).asInteger());
    Form2->cmd_person.execute();
    dataset().refresh({}, Dataset::Fallback::PositionOrFirst);
}

void TForm5::handBack()
{
    const auto receiver = receivers_.find(Tag);
    if (receiver != receivers_.end() && receiver->second)
        receiver->second(dataset().fieldByName(QStringLiteral("fio")).asString().trimmed(),
                         dataset().fieldByName(QStringLiteral("id")).asInteger());
}
