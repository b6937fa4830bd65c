#pragma once

#include "seams.h"

// The build stamp as numbers: the date as yyyymmdd and the time of day in seconds.
struct BuildStampNumbers {
    int date = 0;
    int time = 0;
};
BuildStampNumbers buildStampNumbers(const seams::BuildStamp& stamp);

// "Tabel <build> <workstation>", and the role once it is known: how the program names
// its connection to the server, so the administrator and the change history see who
// is connected. The server keeps the name in ASCII only, so the role is given in Latin letters.
QString connectionName(const QString& roleName = {});

// Puts the program's build stamp into the journal window's BuildDate and BuildTime.
BuildStampNumbers setBuildStamp();

// Compares the program's build stamp with the newest one that has run against the
// database: a newer program raises the stored stamp, an older one says so and ends
// (the login window's timer ends it after 5 seconds even if nobody answers).
// Also reads the decimal separator of the data module.
void CheckVersion();
