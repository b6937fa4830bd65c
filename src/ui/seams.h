#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <functional>

class QDialog;
class QWidget;

// The places where the program meets the person and the machine: message boxes,
// modal showing, the clock, the build stamp and the end of the program. Each is real
// by default; tests replace one with a stand-in and put it back afterwards.
namespace seams {

// ---- message boxes ----
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // An error box: OK button, error icon.
    virtual void error(QWidget* parent, const QString& text, const QString& caption) = 0;
    // A Yes/No question with a question icon; true for Yes.
    virtual bool confirm(QWidget* parent, const QString& text, const QString& caption) = 0;
};
MessageBoxes& messageBoxes();
void setMessageBoxes(MessageBoxes* boxes);  // nullptr: the real ones again

// ---- modal showing ----
// Shows a dialog modally and returns its result code. A dialog shown over another one
// shown this way is centred on it every time it is shown.
using ModalShower = std::function<int(QDialog& dialog)>;
int showModal(QDialog& dialog);
void setModalShower(ModalShower shower);  // empty: QDialog::exec again

// ---- the clock ----
QDate today();
QDateTime now();
void setClock(std::function<QDateTime()> clock);  // empty: the system clock again

// ---- the build stamp ----
// The compiler's date ("Feb 12 2024") and time ("16:25:28") of the program's build.
struct BuildStamp {
    QString date;
    QString time;
};
BuildStamp buildStamp();
bool setBuildStamp(const BuildStamp& stamp);

// ---- the end of the program ----
void requestProgramEnd();
void setProgramEnd(std::function<void()> end);  // empty: quit the application again

}  // namespace seams
