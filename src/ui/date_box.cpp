#include "date_box.h"

#include "error_box.h"
#include "seams.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <algorithm>
#include <utility>

namespace {

const QString kFormat = QStringLiteral("dd.MM.yyyy");

int sectionWidth(int section) { return section == 2 ? 4 : 2; }

bool endsSection(const QString& text)
{
    return text == QStringLiteral(".") || text == QStringLiteral(",") || text == QStringLiteral("/")
        || text == QStringLiteral("-") || text == QStringLiteral(" ");
}

}  // namespace

DateBox::DateBox(QWidget* parent, const char* name) : QDateEdit(parent)
{
    setObjectName(QLatin1String(name));
    setCalendarPopup(true);
    setDisplayFormat(kFormat);
    setDateRange(firstDate(), lastDate());
    // The date held changes when the typing is taken, not with every digit.
    setKeyboardTracking(false);
    lineEdit()->installEventFilter(this);
}

QDate DateBox::firstDate() { return QDate(2000, 1, 1); }

QDate DateBox::lastDate() { return QDate(seams::today().year() + 1, 12, 31); }

bool DateBox::typingPending() const { return lineEdit()->text() != date().toString(kFormat); }

void DateBox::startTyping()
{
    if (typingPending())
        return;
    const QDate held = date();
    typing_.clear();
    sections_[Day] = held.toString(QStringLiteral("dd"));
    sections_[Month] = held.toString(QStringLiteral("MM"));
    sections_[Year] = held.toString(QStringLiteral("yyyy"));
}

bool DateBox::acceptTyped()
{
    if (!typingPending()) {
        typing_.clear();
        return true;
    }
    const int section = section_;
    endSection();
    showSections();
    const QString typed = lineEdit()->text();
    const QDate date = QDate::fromString(typed, kFormat);
    if (!date.isValid() || date < firstDate() || date > lastDate()) {
        refuse(typed);
        return false;
    }
    setDateRange(firstDate(), lastDate());
    setDate(date);
    selectSection(section);
    return true;
}

// The last valid date is shown again before the message, so that the message box taking
// the focus away finds nothing left to refuse.
void DateBox::refuse(const QString& typed)
{
    const QString kept = date().toString(kFormat);
    typing_.clear();
    {
        const QSignalBlocker quiet(lineEdit());
        lineEdit()->setText(kept);
    }
    selectSection(Day);
    const QDate parsed = QDate::fromString(typed, kFormat);
    const QString problem = parsed.isValid() ? QStringLiteral("только с %1 по %2 (введено %3)")
                                                   .arg(firstDate().toString(kFormat), lastDate().toString(kFormat), typed)
                                             : QStringLiteral("такой даты нет (%1)").arg(typed);
    showError(this, QStringLiteral("Дата: ") + problem + QStringLiteral(", оставлена прежняя ") + kept);
}

void DateBox::typeDigit(QChar digit)
{
    startTyping();
    typing_ += digit;
    sections_[section_] = typing_;
    const bool full = sectionFull(digit);
    if (full)
        endSection();
    showSections();
    handedOver_ = full;
}

// Day and month take two digits, unless the first digit can begin no other number
// (a day from 4, a month from 2); the year takes four.
bool DateBox::sectionFull(QChar digit) const
{
    if (typing_.size() >= sectionWidth(section_))
        return true;
    if (typing_.size() != 1)
        return false;
    return (section_ == Day && digit > QLatin1Char('3')) || (section_ == Month && digit > QLatin1Char('1'));
}

// The digits typed so far complete the section (a day or month "5" is 05); the next
// section takes the following digits.
void DateBox::endSection()
{
    if (typing_.isEmpty())
        return;
    if (section_ != Year)
        sections_[section_] = typing_.rightJustified(2, QLatin1Char('0'));
    typing_.clear();
    if (section_ != Year)
        ++section_;
}

void DateBox::backspace()
{
    if (typing_.isEmpty())
        return;
    typing_.chop(1);
    sections_[section_] = typing_;
    showSections();
}

// The box's own reading of the text (which fixes up an impossible date) stays out of the
// typing: it sees the text once the typing is taken.
void DateBox::showSections()
{
    const QSignalBlocker quiet(lineEdit());
    lineEdit()->setText(sections_[Day] + QLatin1Char('.') + sections_[Month] + QLatin1Char('.') + sections_[Year]);
    if (typing_.isEmpty())
        lineEdit()->setSelection(sectionStart(section_), int(sections_[section_].size()));
    else
        lineEdit()->setCursorPosition(sectionStart(section_) + int(typing_.size()));
}

void DateBox::selectSection(int section)
{
    startTyping();
    endSection();
    section_ = section;
    showSections();
}

int DateBox::sectionStart(int section) const
{
    int start = 0;
    for (int s = 0; s < section; ++s)
        start += int(sections_[s].size()) + 1;
    return start;
}

int DateBox::sectionAt(int position)
{
    startTyping();
    for (int s = Year; s > Day; --s)
        if (position >= sectionStart(s))
            return s;
    return Day;
}

bool DateBox::event(QEvent* event)
{
    // One Tab stop: Tab leaves the box instead of walking through its sections.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (plain && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)) {
            const bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
            QWidget::focusNextPrevChild(forward);
            return true;
        }
    }
    return QDateEdit::event(event);
}

bool DateBox::eventFilter(QObject* watched, QEvent* event)
{
    // A click selects the section clicked, so the digits typed next go there.
    const bool press = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    if (watched == lineEdit() && press && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (!hasFocus())
            setFocus(Qt::MouseFocusReason);
        selectSection(sectionAt(lineEdit()->cursorPositionAt(static_cast<QMouseEvent*>(event)->position().toPoint())));
        return true;
    }
    return QDateEdit::eventFilter(watched, event);
}

void DateBox::focusInEvent(QFocusEvent* event)
{
    QDateEdit::focusInEvent(event);
    if (event->reason() == Qt::TabFocusReason)
        selectSection(Day);
    else if (event->reason() == Qt::BacktabFocusReason)
        selectSection(Year);
}

void DateBox::focusOutEvent(QFocusEvent* event)
{
    acceptTyped();
    QDateEdit::focusOutEvent(event);
}

void DateBox::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    const bool handedOver = std::exchange(handedOver_, false);
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!acceptTyped())
            return;  // refused: the dialog's default button does not take this Enter
        QDateEdit::keyPressEvent(event);
        return;
    case Qt::Key_Backspace:
        backspace();
        return;
    case Qt::Key_Delete:
        return;
    case Qt::Key_Home:
        selectSection(Day);
        return;
    case Qt::Key_End:
        selectSection(Year);
        return;
    case Qt::Key_Left:
        selectSection(std::max(section_ - 1, int(Day)));
        return;
    case Qt::Key_Right:
        selectSection(std::min(section_ + 1, int(Year)));
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        if (!acceptTyped())
            return;
        setCurrentSectionIndex(section_);
        QDateEdit::keyPressEvent(event);
        selectSection(section_);
        return;
    default:
        break;
    }
    if (plain && text.size() == 1 && text.at(0).isDigit()) {
        typeDigit(text.at(0));
        return;
    }
    if (plain && endsSection(text)) {
        // "5." : the day was full at the 5 already, so the full stop moves on no further.
        if (handedOver)
            return;
        if (typing_.isEmpty())
            selectSection(std::min(section_ + 1, int(Year)));
        else {
            endSection();
            showSections();
        }
        return;
    }
    // Letters and other characters are no part of a date and are not taken.
    if (plain && !text.isEmpty() && text.at(0).isPrint())
        return;
    QDateEdit::keyPressEvent(event);
}

QValidator::State DateBox::validate(QString& input, int& /*pos*/) const
{
    const QDate date = QDate::fromString(input, kFormat);
    return date.isValid() && date >= minimumDate() && date <= maximumDate() ? QValidator::Acceptable
                                                                            : QValidator::Intermediate;
}

void DateBox::fixup(QString& /*input*/) const {}
