#include "fake_spreadsheet_opener.h"

#include <QFile>

FakeSpreadsheetOpener::FakeSpreadsheetOpener() { seams::setSpreadsheetOpener(this); }

FakeSpreadsheetOpener::~FakeSpreadsheetOpener()
{
    seams::setSpreadsheetOpener(nullptr);
    for (const QString& path : opened)
        QFile::remove(path);
}

bool FakeSpreadsheetOpener::open(const QString& path)
{
    opened.push_back(path);
    return startSucceeds;
}
