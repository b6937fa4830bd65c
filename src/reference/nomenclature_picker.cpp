#include "nomenclature_picker.h"

#include "controls.h"
#include "data_module.h"
#include "handler_guard.h"
#include "seams.h"

#include <QPushButton>

TForm26* Form26 = nullptr;

namespace {

SearchListWindow::Setup nomenclatureSetup()
{
    return {"Form26",
            QStringLiteral("Номенклатура (26)"),
            new Dataset(DataModule6->ADO_DB, QStringLiteral("select * from cmn_classifier.item where id_level=2")),
            {{QStringLiteral("s_caption"), QStringLiteral("Наименование"), 365}},
            [](const QString& typed) {
                return typed.isEmpty()
                    ? SearchListWindow::Filter()
                    : SearchListWindow::likeSearch("s_caption", typed);
            }};
}

}  // namespace

TForm26::TForm26(QWidget* parent) : SearchListWindow(nomenclatureSetup(), parent), item(&dataset())
{
    item->setParent(this);
    item->setObjectName(QStringLiteral("item"));
    Button1 = makeButton(this, "Button1", QStringLiteral("Выбрать"));
    addToBottomRow(Button1);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    connectHandler(Button1, &QPushButton::clicked, this, &TForm26::Button1Click);
}

void TForm26::showAsPicker()
{
    item->open();
    seams::showModal(*this);
    item->close();
}

void TForm26::Button1Click()
{
    const bool empty = item->isEmpty();
    if (receiver_)
        receiver_(empty ? 0 : item->fieldByName(QStringLiteral("id")).asLargeInt(),
                  empty ? QString() : item->fieldByName(QStringLiteral("s_caption")).asString());
    accept();
}

void TForm26::DBGrid1DblClick() { Button1Click(); }
