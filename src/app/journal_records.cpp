// The journal window's handlers that change records: add, change, delete and the
// acceptance switch.
#include "acceptance.h"
#include "access_roles.h"
#include "data_module.h"
#include "database_error.h"
#include "date_box.h"
#include "journal_window.h"
#include "journal/brigade_window.h"
#include "journal/record_editor.h"
#include "record_save.h"
#include "seams.h"

#include <QCheckBox>

void TForm1::Button1Click() { editRecord(std::nullopt); }

// The brigade's records are in the journal as soon as they are written, the window still open.
void TForm1::Button9Click()
{
    Form27->afterSave = [this] { Button8Click(); };
    Form27->showFor({DateT->date(), CurrentShift, CBox1->isChecked()});
}

void TForm1::Button2Click()
{
    const Dataset& journal = selectCurrentShiftQuery();
    if (!journal.isEmpty())
        editRecord(shownRecordOf(journal));
}

void TForm1::editRecord(const std::optional<ShownRecord>& changing)
{
    Dataset& journal = selectCurrentShiftQuery();
    const RecordEditorResult closed = Form11->edit({CurrentShift, DateT->date(), CBox1->isChecked(), changing});
    // The changed record, or the one the user stood on while adding, stays current; a
    // cancel leaves the journal as it was.
    if (closed.reRead)
        journal.refresh(QStringLiteral("id"));
}

void TForm1::Button3Click()
{
    Dataset& journal = selectCurrentShiftQuery();
    const QString id = journal.isEmpty() ? QString() : journal.fieldByName(QStringLiteral("id")).asString();
    if (id.isEmpty())
        return;
    const bool deleting
        = seams::messageBoxes().confirm(this, QStringLiteral("Удалить позицию из списка?"), QStringLiteral("Удаление"));
    // The record and its hours go together or not at all, and only while the record is
    // as the journal read it.
    const bool stale = deleting
        && record_save::remove(*DataModule6, id.toLongLong(), journal.fieldByName(QStringLiteral("xmin")).asString())
            == record_save::Outcome::Changed;
    // After a deletion the next record takes the deleted one's place; otherwise the record
    // the user looked at stays current.
    journal.refresh(deleting && !stale ? QString() : QStringLiteral("id"));
    if (stale)
        throw StaleRecordError();
}

void TForm1::DBGrid2DblClick()
{
    if (UserRole == Role::Foreman)
        return;
    Dataset& journal = selectCurrentShiftQuery();
    if (journal.isEmpty())
        return;
    const bool switched = acceptance::toggle(*DataModule6, journal.fieldByName(QStringLiteral("id")).asLargeInt(),
                                             journal.fieldByName(QStringLiteral("ok")).asString(),
                                             journal.fieldByName(QStringLiteral("xmin")).asString());
    journal.refresh(QStringLiteral("id"));
    // Another workstation's change stands; the user sees it and decides again.
    if (!switched)
        throw StaleRecordError();
}
