#include "kinds_window.h"

#include "data_module.h"
#include "kind_editor.h"
#include "operation_editor.h"
#include "seams.h"

#include <QLineEdit>
#include <QPushButton>

TForm8* Form8 = nullptr;

namespace {

SearchListWindow::Setup kindsSetup()
{
    return {"Form8",
            QStringLiteral("Виды операций (8)"),
            &DataModule6->Vid_oper,
            {{QStringLiteral("vid"), QStringLiteral("Операции"), 309}},
            [](const QString& typed) {
                return typed.isEmpty() ? SearchListWindow::Filter()
                                       : SearchListWindow::likeSearch("vid", typed);
            }};
}

}  // namespace

TForm8::TForm8(QWidget* parent) : ReferenceListWindow(kindsSetup(), parent)
{
    handsBackFromEmptyList = true;
    Edit1->setVisible(false);
}

void TForm8::showAsPicker()
{
    dataset().open();
    setUpAsPicker(1);
    seams::showModal(*this);
    endPicker();
    dataset().close();
}

void TForm8::addRow()
{
    Form9->Edit1->clear();
    Form9->setWindowTitle(QStringLiteral("Заведение нового вида операций"));
    Form9->Tag = 1;
    seams::showModal(*Form9);
}

void TForm8::changeRow()
{
    Form9->setWindowTitle(QStringLiteral("Изменение данных вида операции"));
    Form9->Tag = 2;
    Form9->Edit1->setText(dataset().fieldByName(QStringLiteral("vid")).asString().trimmed());
    seams::showModal(*Form9);
}

void TForm8::deleteRow()
{
    if (!seams::messageBoxes().confirm(this, QStringLiteral("Удалить вид операции?"), QStringLiteral("Удаление")))
        return;
    dataset().deleteRecord();
    dataset().refresh({}, Dataset::Fallback::First);
}

void TForm8::handBack()
{
    const bool empty = dataset().isEmpty();
    Form10->Edit2->setText(empty ? QString() : dataset().fieldByName(QStringLiteral("vid")).asString().trimmed());
    Form10->KindId = empty ? 0 : dataset().fieldByName(QStringLiteral("id")).asInteger();
}
