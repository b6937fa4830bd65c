#include "history_window.h"

#include "change_history.h"
#include "controls.h"
#include "data_grid.h"
#include "data_module.h"
#include "error_box.h"
#include "handler_guard.h"
#include "seams.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

TForm28* Form28 = nullptr;

namespace {

const QString kDeleted = QStringLiteral("Удалена");

std::vector<GridColumn> historyColumns()
{
    return {
        {QStringLiteral("kogda"), QStringLiteral("Когда"), 130},
        {QStringLiteral("kto"), QStringLiteral("Кто"), 220},
        {QStringLiteral("deistvie"), QStringLiteral("Действие"), 80},
        {QStringLiteral("izmeneno"), QStringLiteral("Что изменено"), 560},
    };
}

}  // namespace

TForm28::TForm28(QWidget* parent) : QDialog(parent), History(DataModule6->ADO_DB, change_history::recordHistorySql())
{
    setObjectName(QStringLiteral("Form28"));
    setWindowTitle(QStringLiteral("История записи"));
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);
    History.setObjectName(QStringLiteral("History"));
    buildControls();
    resize(1040, 360);
    connectHandler(Button3, &QPushButton::clicked, this, &TForm28::Button3Click);
    connectHandler(Button1, &QPushButton::clicked, this, &TForm28::Button1Click);
    connectHandler(Button2, &QPushButton::clicked, this, &TForm28::Button2Click);
}

void TForm28::buildControls()
{
    Edit1 = makeEdit(this, "Edit1");
    Edit1->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{1,18}")), Edit1));
    Button3 = makeButton(this, "Button3", QStringLiteral("Показать"));
    Button3->setDefault(true);
    DBGrid1 = new DataGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->bind(History, historyColumns());
    Button1 = makeButton(this, "Button1", QStringLiteral("Восстановить"));
    Button1->hide();
    Button2 = makeButton(this, "Button2", QStringLiteral("Закрыть"));

    auto* top = new QHBoxLayout;
    top->addWidget(makeLabel(this, "Label1", QStringLiteral("Запись №"), Edit1));
    top->addWidget(Edit1);
    top->addWidget(Button3);
    top->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(rightAlignedRow({Button1, Button2}));
}

bool TForm28::showRecord(qint64 id)
{
    Edit1->setText(id == 0 ? QString() : QString::number(id));
    History.close();
    Button1->hide();
    if (id != 0)
        load();
    const bool restored = seams::showModal(*this) == QDialog::Accepted;
    History.close();
    return restored;
}

qint64 TForm28::recordId() const { return Edit1->text().toLongLong(); }

void TForm28::load()
{
    History.close();
    Button1->hide();
    History.setParam(QStringLiteral("id"), recordId());
    History.open();
    if (History.isEmpty())
        return;
    History.setRecNo(History.recordCount());  // the last version, the one a restore takes
    Button1->setVisible(RestoreAllowed && History.fieldByName(QStringLiteral("deistvie")).asString() == kDeleted);
}

void TForm28::Button3Click()
{
    if (recordId() != 0)
        load();
}

void TForm28::Button1Click()
{
    const std::optional<pay::JournalRecord> record = change_history::deletedRecord(*DataModule6, recordId(), seams::today());
    if (!record) {  // another workstation restored or changed it meanwhile: the history shows what
        load();
        return;
    }
    if (!seams::messageBoxes().confirm(this,
                                       QStringLiteral("Восстановить запись № %1 от %2?")
                                           .arg(recordId())
                                           .arg(record->date.toString(QStringLiteral("dd.MM.yyyy"))),
                                       QStringLiteral("История записи")))
        return;
    if (const QString refused = change_history::restore(*DataModule6, *record); !refused.isEmpty()) {
        showError(this, refused);
        return;
    }
    accept();
}

void TForm28::Button2Click() { reject(); }
