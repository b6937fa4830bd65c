// The report chooser's pay statements: printed for every worker or one, or written to a
// workbook.

#include "data_module.h"
#include "pay_statement.h"
#include "pay_statement_export.h"
#include "pay_statement_pages.h"
#include "report_chooser.h"
#include "report_preview.h"
#include "seams.h"
#include "wait_cursor.h"

#include <memory>

namespace {

const QString kNothingInPeriod = QStringLiteral("За период нет ни записей журнала, ни хозяйственных работ");

}  // namespace

void TForm18::Button7Click() { printStatements(0); }

void TForm18::Button8Click()
{
    if (const int worker = chosenWorker())
        printStatements(worker);
}

void TForm18::Button9Click() { exportStatements(0); }

void TForm18::Button10Click()
{
    if (const int worker = chosenWorker())
        exportStatements(worker);
}

int TForm18::chosenWorker()
{
    StatementWorkerId = 0;
    if (pickWorker)
        pickWorker();
    return StatementWorkerId;
}

std::vector<pay_statement::Statement> TForm18::statementsOf(int workerKey)
{
    std::vector<pay_statement::Statement> statements;
    {
        const WaitCursor hourglass;
        statements = pay_statement::read(DataModule6->ADO_DB, DTPicker1->date(), DTPicker2->date(), workerKey);
    }
    if (statements.empty())
        seams::messageBoxes().error(this, kNothingInPeriod, QStringLiteral("Расчетные листки"));
    return statements;
}

void TForm18::printStatements(int workerKey)
{
    std::vector<pay_statement::Statement> statements = statementsOf(workerKey);
    if (statements.empty())
        return;
    report::preview(std::make_unique<PayStatementPages>(std::move(statements), DTPicker1->date(), DTPicker2->date()),
                    this);
    report::handBackFreedMemory();
}

void TForm18::exportStatements(int workerKey)
{
    const std::vector<pay_statement::Statement> statements = statementsOf(workerKey);
    if (statements.empty())
        return;
    const WaitCursor hourglass;
    exportPayStatements(statements, DTPicker1->date(), DTPicker2->date(), excel_);
}
