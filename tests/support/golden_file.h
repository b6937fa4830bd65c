#pragma once

#include <QString>
#include <QStringList>

// Checks lines (a report's prepared pages, one line per primitive) against the golden file
// at path and fails the running test with a unified diff of what differs.
// TABEL_WRITE_REFERENCE=1 writes the golden file afresh instead, after a change of a layout.
void expectGoldenFile(const QStringList& lines, const QString& path);
