#include "bench_seams.h"

#include <QFile>
#include <cstdio>
#include <cstdlib>

void FailingMessages::error(QWidget*, const QString& text, const QString& caption)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
    std::exit(1);
}

bool FailingMessages::confirm(QWidget* parent, const QString& text, const QString& caption)
{
    error(parent, text, caption);
    return false;
}

bool DiscardingOpener::open(const QString& path) { return QFile::remove(path); }

StandInSeams::StandInSeams()
{
    seams::setMessageBoxes(&messages_);
    seams::setSpreadsheetOpener(&opener_);
}

StandInSeams::~StandInSeams()
{
    seams::setSpreadsheetOpener(nullptr);
    seams::setMessageBoxes(nullptr);
}
