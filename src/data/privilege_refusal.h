#pragma once

#include <QString>

// What the user is told when the server refuses a statement for want of a privilege (the
// person's group role does not allow it): "Недостаточно прав: " and the action with the
// table in the program's own words, read from the statement that was refused.
QString privilegeRefusalText(const QString& statement);
