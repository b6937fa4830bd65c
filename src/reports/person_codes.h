#pragma once

#include <QString>

class DatabaseError;

// The worker reports find a worker's name through the ERP person whose code s_code,
// read as an integer, is the worker key. A code that is not an integer makes the server
// refuse the whole query.

// True for the server's refusal to read a text as an integer (not a number, or out of range).
bool isIntegerCastFailure(const DatabaseError& error);

// The message for a worker report the server refused that way: which person codes are
// integers of the server's integer range (the first few), or the server's own text when
// none can be found.
QString personCodeFailureText(const DatabaseError& error);
