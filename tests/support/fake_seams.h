#pragma once

#include "fake_spreadsheet_opener.h"
#include "prepared_report.h"
#include "seams.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

class QDialog;

// Stand-ins for the seams, installed for one test and removed afterwards.
struct ShownMessage {
    enum class Kind { Error, Question } kind;
    QString text;
    QString caption;
};

class FakeMessageBoxes : public seams::MessageBoxes {
public:
    void error(QWidget* parent, const QString& text, const QString& caption) override;
    bool confirm(QWidget* parent, const QString& text, const QString& caption) override;

    std::vector<ShownMessage> shown;
    // The messages shown so far, as "caption: text".
    QStringList texts() const;
    std::deque<bool> answers;  // the answers to questions, in order; Yes when none is left
};

// What happens when a window is shown modally: the test acts on it and returns the result.
using ModalAction = std::function<int(QDialog&)>;

class FakeSeams {
public:
    FakeSeams();
    ~FakeSeams();

    FakeMessageBoxes messages;
    FakeSpreadsheetOpener spreadsheets;
    std::deque<ModalAction> modalActions;  // taken in order; without one the window just closes
    std::vector<QString> modalShown;       // objectNames of the windows shown modally
    std::vector<report::PreparedReport> previews;  // the reports shown in the print preview
    QDateTime clock{QDate(2026, 12, 10), QTime(10, 0)};
    int programEndRequests = 0;

    // A build made on 12 February 2024 at 16:25:28: 20240212, 59128.
    static seams::BuildStamp defaultStamp() { return {QStringLiteral("Feb 12 2024"), QStringLiteral("16:25:28")}; }
};
