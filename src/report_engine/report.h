#pragma once

#include "prepared_report.h"
#include "report_definition.h"
#include "row_source.h"

#include <QString>
#include <memory>

namespace report {

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
    std::unique_ptr<Compiled> compiled_;
};

}  // namespace report
