#pragma once

#include "test_database.h"

#include <QString>
#include <QStringList>

// The administrator's group roles (db/admin/roles.sql) set up on a test database, and one
// login role per group, as a plant makes one per person. The groups are the server's, so
// every test running at the same time sets them up too: the script itself stands a
// concurrent run, and each test's persons carry its database's name. The persons are
// dropped at the end.
class PersonRoles {
public:
    explicit PersonRoles(TestDatabase& db);
    ~PersonRoles();
    PersonRoles(const PersonRoles&) = delete;
    PersonRoles& operator=(const PersonRoles&) = delete;

    // The groups' short names as the program names the roles: reports, foreman, warehouse, full.
    static const QStringList& groups();
    // The login role of the person of a group, and that person's password.
    QString user(const QString& group) const;
    static QString password(const QString& group);
    // An ODBC-form connection string for the person, with the person's password.
    QString connectionStringOf(const QString& group) const;

    // Runs the script again, as the administrator does after an update.
    void runScript();

private:
    TestDatabase& db_;
};
