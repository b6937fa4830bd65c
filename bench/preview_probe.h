#pragma once

#include <QString>
#include <functional>

class Dataset;

// The real print preview as a user meets it, timed from the click that opens it. Once the
// preview is up, its first page is drawn (the time to it taken), and, when a path is
// given, every page written to that PDF (that time taken too); then it is closed. When the
// report's query is given, the time its records took to read in the same click is taken
// as well: the server's time of one run varies by more than the preview's own.
struct PreviewTimes {
    double queryMs = 0;   // from the click until the query's records were read, when asked
    double firstPageMs = 0;
    double pdfMs = 0;     // from the click, with the first page's time in it
    int pagesAtFirst = 0; // pages prepared when the first one was on screen
    int pages = 0;        // all of them, when written to PDF
    double firstPageMb = 0;  // resident memory beyond that before the click, the query read and page 1 shown
    double peakMb = 0;    // the process's peak resident memory while the preview was open
    double keptMb = 0;    // resident memory after the preview closed, beyond that before
};

// The pages and the memory of a timing, as a benchmark's label: the pages prepared at the
// first page, or all of them when written to PDF.
QString previewLabel(const PreviewTimes& times, bool toPdf);

PreviewTimes timePreview(const std::function<void()>& click, const QString& pdfPath = QString(),
                         const Dataset* query = nullptr);
