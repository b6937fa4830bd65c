#pragma once

#include <QString>

class Connection;

// The ERP keeps its persons (cmn_contractor.person) with a text code; a worker's person is
// the one whose code is the worker's key written as a whole number. The ERP's table holds
// suppliers and customers too, tens of thousands of them, so how a worker's person is found
// decides how fast the timesheet and the worker reports are.
namespace person_codes {

// Whether the database keeps a usable index on the code read as a number (s_code::t_id),
// as the ERP does: the index could not hold a code that is no number, so where it exists
// every code may be cast, and a worker's person is found through it instead of by reading
// every code in the ERP.
bool indexed(Connection& connection);

// SQL condition: the person's code (codeColumn) is the worker's key (workerKey). Both forms
// match exactly the same persons (sql_text::integerOrNull); the indexed one also names the
// index's expression so that the server looks the person up rather than reading all.
QString matchWorker(const QString& codeColumn, const QString& workerKey, bool indexed);

}  // namespace person_codes
