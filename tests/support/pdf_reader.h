#pragma once

#include <QString>

// What a PDF file holds, read back with poppler's tools as a reader of the file would.
struct PdfContents {
    QString text;      // pdftotext -layout
    QString pageSize;  // pdfinfo's "Page size", e.g. "842 x 595 pts (A4)"
    double widthPts = 0;   // of the first page, as it lies
    double heightPts = 0;
    int pages = 0;
};

// Fails the running test when the tools cannot read the file.
PdfContents readPdf(const QString& path);
