#pragma once

#include "page_source.h"
#include "page_store.h"
#include "prepared_report.h"
#include "report_definition.h"
#include "row_source.h"

#include <QString>
#include <memory>

namespace report {

class Preparation;

// A layout ready to be prepared: its definition checked, its expressions and masks
// parsed once. Building one throws DefinitionError naming the band and the item at fault.
class Report {
public:
    explicit Report(ReportDefinition definition);
    ~Report();
    Report(Report&&) noexcept;
    Report& operator=(Report&&) noexcept;

    const ReportDefinition& definition() const;

    // The document's name in the preview, the PDF and the default file name.
    void setTitle(const QString& title);

    // The text of the text item of that name (the title label); throws DefinitionError
    // when there is none.
    void setText(const QString& itemName, const QString& text);
    QString text(const QString& itemName) const;

    // Every page, from the source's current record to its end. Fields are looked up in
    // the source first: one it has not throws DefinitionError before any record is read.
    PreparedReport prepare(RowSource& rows) const;

    struct Compiled;  // the checked definition; report.cpp

private:
    friend class PageMaker;
    std::unique_ptr<Compiled> compiled_;
};

// Preparation a few pages at a time, so that the first pages can be shown while the rest
// are made. A page is handed out once it is complete, and kept packed small meanwhile (a
// year's report runs to thousands of pages). The report and the source must outlive the
// maker; fields are looked up as in Report::prepare.
class PageMaker : public PageSource {
public:
    PageMaker(const Report& report, RowSource& rows);
    ~PageMaker() override;
    PageMaker(const PageMaker&) = delete;
    PageMaker& operator=(const PageMaker&) = delete;

    // Goes on until `count` more pages are complete or the records end.
    void makePages(int count) override;
    void finish() override;
    bool finished() const override;
    size_t completePages() const override;
    const PreparedPage& page(size_t index) const override;
    const QString& title() const override;
    const PageSetup& pageSetup() const override;

private:
    void step();

    std::unique_ptr<Preparation> preparation_;
    PageStore store_;
};

}  // namespace report
