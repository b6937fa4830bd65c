#pragma once

#include "prepared_report.h"

#include <QString>

namespace report {

// Pages made a few at a time, as the preview, the printer and the PDF read them: a
// report prepared from its rows (PageMaker), or a document put together from several.
class PageSource {
public:
    virtual ~PageSource() = default;

    // Goes on until `count` more pages are complete or there are no more.
    virtual void makePages(int count) = 0;
    virtual void finish() = 0;
    virtual bool finished() const = 0;
    virtual size_t completePages() const = 0;
    // A complete page (index below completePages()), valid until the next one is asked for.
    virtual const PreparedPage& page(size_t index) const = 0;
    virtual const QString& title() const = 0;
    virtual const PageSetup& pageSetup() const = 0;
};

// Every page of the source, made to the end.
PreparedReport allPages(PageSource& source);

}  // namespace report
