#pragma once

#include <QStringList>

// Creates the data module and every window in their fixed order, connects to the
// database named by the command line (program, database, server) and shows the login
// window. On a failed connection shows the one message and returns false; the program
// then ends.
bool createApplicationWindows(const QStringList& arguments);

// Qt's own texts (the buttons of message boxes, the calendar) in Russian from Qt's
// translation, and Russian number and date formats whatever the shell's locale is. Runs
// before any window is made; false when Qt's Russian translation is not installed.
bool useRussianInterface();

// Releases the windows and the data module, the login window last.
void destroyApplicationWindows();

// The whole program: start-up, the event loop, the end.
int runTabel(int argc, char* argv[]);
