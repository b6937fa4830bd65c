#pragma once

#include "page_source.h"
#include "page_store.h"
#include "pay_statement.h"
#include "report.h"

#include <vector>

// The printed pay statements: one worker after another, each from a new page, the pages
// of each numbered "Лист k из N" of that worker and, after the first, headed with the
// worker's name, so that a loose sheet still tells whose it is. A worker's pages are
// made when the preview asks for them, the first worker's before the preview shows.
class PayStatementPages : public report::PageSource {
public:
    PayStatementPages(std::vector<pay_statement::Statement> statements, const QDate& from, const QDate& to);

    void makePages(int count) override;
    void finish() override;
    bool finished() const override;
    size_t completePages() const override;
    const report::PreparedPage& page(size_t index) const override;
    const QString& title() const override;
    const report::PageSetup& pageSetup() const override;

    // The layout of one worker's statement, for the golden prepared pages.
    static report::ReportDefinition layout();

private:
    void addStatement(const pay_statement::Statement& statement);

    std::vector<pay_statement::Statement> statements_;
    size_t next_ = 0;
    QString head_;
    report::Report layout_;
    report::PageStore store_;
    QString title_;
};
