// The journal window's handlers that change records: add, change, delete and the
// acceptance switch.
#include "acceptance_mark.h"
#include "access_roles.h"
#include "data_module.h"
#include "journal_window.h"
#include "record_editor.h"
#include "seams.h"
#include "timesheet_hours.h"
#include "date_box.h"


void TForm1::Button1Click() { Form11->showToAdd(); }

void TForm1::Button2Click() { Form11->showToChange(); }

void TForm1::Button3Click()
{
    Dataset& journal = selectCurrentShiftQuery();
    const QString id = journal.isEmpty() ? QString() : journal.fieldByName(QStringLiteral("id")).asString();
    DataModule6->DelSmena.setSql(QStringLiteral("delete from accounts_dep.smena where id=") + id);
    if (id.isEmpty())
        return;
    const bool deleting
        = seams::messageBoxes().confirm(this, QStringLiteral("Удалить позицию из списка?"), QStringLiteral("Удаление"));
    if (deleting) {
        const int worker = journal.fieldByName(QStringLiteral("w_id")).asInteger();
        // The record's own date: the date box may hold a date the journal was not read for.
        const QDate date = journal.fieldByName(QStringLiteral("data")).asDate();
        // The record and its hours go together or not at all.
        DataModule6->ADO_DB.inTransaction([&] {
            DataModule6->DelSmena.execute();
            timesheet_hours::HoursAfterDelete(*DataModule6, worker, CurrentShift, date);
        });
    }
    // After a deletion the next record takes the deleted one's place; after No the record
    // the user looked at stays current.
    journal.refresh(deleting ? QString() : QStringLiteral("id"));
}

void TForm1::DBGrid2DblClick()
{
    if (UserCode == kForemanCode)
        return;
    Dataset& journal = selectCurrentShiftQuery();
    if (journal.isEmpty())
        return;
    updtOK.setParam(QStringLiteral("id"), journal.fieldByName(QStringLiteral("id")).asInteger());
    updtOK.setParam(QStringLiteral("ok"), acceptance_mark::toggled(journal.fieldByName(QStringLiteral("ok")).asString()));
    updtOK.execute();
    journal.refresh(QStringLiteral("id"));
}
