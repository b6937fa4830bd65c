#pragma once

#include "page_source.h"
#include "prepared_report.h"

#include <QFont>
#include <QString>
#include <functional>

class QPaintDevice;
class QPainter;
class QPrinter;

namespace report {

// The family the machine draws for a family a layout names: Arial, MS Sans Serif and
// Microsoft Sans Serif become Liberation Sans (same widths, with Cyrillic); any other
// stays as named.
QString printedFamily(const QString& family);
// The font as drawn on a device of that resolution.
QFont deviceFont(const Font& font, const QPaintDevice* device);

// The one renderer: draws a prepared page on a painter whose origin is the paper's
// top-left corner, scaled by the resolution of the painter's device.
void drawPage(QPainter& painter, const PreparedPage& page);

// The report's title fit for a file name: characters file systems refuse become "_", and
// a closing full stop goes, since the extension follows ("… 2026 г." → "… 2026 г").
QString documentName(const QString& title);

// Pages handed over one at a time; a page given stays valid until the next is asked for.
using PageAt = std::function<const PreparedPage&(size_t index)>;

// Sets the printer to the report's paper, orientation and full-page drawing; the
// document is named after the title (the print dialog's file name follows it).
void setUpPrinter(QPrinter& printer, const QString& title, const PageSetup& page);
// Draws `count` pages onto a printer set up for the report: all of them, or the range the
// user chose in the print dialog.
void printPages(QPrinter& printer, size_t count, const PageAt& pageAt);

// Writes the pages as a PDF of the report's paper; false when the file cannot be written.
bool writePdf(const PreparedReport& report, const QString& path);
// The same for every page of the source, made to the end on the way: a thread of its own
// writes the pages already made while the next are made here, so that a long report's file
// takes about as long as the slower of the two instead of both, one after the other.
bool writePdf(PageSource& source, const QString& path);

}  // namespace report
