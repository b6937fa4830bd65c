#include "seams.h"

#include "controls.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMessageBox>
#include <QPointer>
#include <vector>

namespace seams {

namespace {

class RealMessageBoxes : public MessageBoxes {
public:
    void error(QWidget* parent, const QString& text, const QString& caption) override
    {
        QMessageBox::critical(parent, caption, text, QMessageBox::Ok);
    }
    bool confirm(QWidget* parent, const QString& text, const QString& caption) override
    {
        return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No)
            == QMessageBox::Yes;
    }
};

MessageBoxes*& currentBoxes()
{
    static MessageBoxes* boxes = nullptr;
    return boxes;
}

ModalShower& currentShower()
{
    static ModalShower shower;
    return shower;
}

std::function<QDateTime()>& currentClock()
{
    static std::function<QDateTime()> clock;
    return clock;
}

BuildStamp& currentStamp()
{
    static BuildStamp stamp;
    return stamp;
}

std::function<void()>& currentEnd()
{
    static std::function<void()> end;
    return end;
}

}  // namespace

MessageBoxes& messageBoxes()
{
    static RealMessageBoxes real;
    return currentBoxes() ? *currentBoxes() : real;
}

void setMessageBoxes(MessageBoxes* boxes) { currentBoxes() = boxes; }

namespace {

// The dialogs shown modally now, innermost last: the last one is the window a new dialog
// is shown over (the one whose handler shows it).
std::vector<QPointer<QDialog>>& shownDialogs()
{
    static std::vector<QPointer<QDialog>> dialogs;
    return dialogs;
}

// Places a dialog whenever it is shown, when its size is known (controls.h).
class CentredShowing : public QObject {
public:
    explicit CentredShowing(QDialog& dialog) : dialog_(dialog)
    {
        if (!shownDialogs().empty())
            owner_ = shownDialogs().back();
        shownDialogs().emplace_back(&dialog);
        dialog.installEventFilter(this);
    }
    ~CentredShowing() override
    {
        dialog_.removeEventFilter(this);
        shownDialogs().pop_back();
    }
    CentredShowing(const CentredShowing&) = delete;
    CentredShowing& operator=(const CentredShowing&) = delete;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &dialog_ && event->type() == QEvent::Show && !event->spontaneous())
            centreForShowing(dialog_, owner_);
        return false;
    }

private:
    QDialog& dialog_;
    QPointer<QDialog> owner_;
};

}  // namespace

int showModal(QDialog& dialog)
{
    const CentredShowing centred(dialog);
    return currentShower() ? currentShower()(dialog) : dialog.exec();
}

void setModalShower(ModalShower shower) { currentShower() = std::move(shower); }

QDateTime now() { return currentClock() ? currentClock()() : QDateTime::currentDateTime(); }

QDate today() { return now().date(); }

void setClock(std::function<QDateTime()> clock) { currentClock() = std::move(clock); }

BuildStamp buildStamp() { return currentStamp(); }

bool setBuildStamp(const BuildStamp& stamp)
{
    currentStamp() = stamp;
    return true;
}

void requestProgramEnd()
{
    if (currentEnd())
        currentEnd()();
    else
        QCoreApplication::exit(0);  // leaves every running event loop, modal ones too
}

void setProgramEnd(std::function<void()> end) { currentEnd() = std::move(end); }

}  // namespace seams
