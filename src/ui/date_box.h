#pragma once

#include <QDateEdit>

// The box where a user types or picks a date (the journal's date, a record's date): the
// day, the month and the year, "dd.MM.yyyy", from 01.01.2000 to 31 December of next year,
// with the calendar drop-down.
//
// It is one Tab stop: Tab and Shift+Tab leave it. Digits go into the section shown
// selected: entering by Tab or a click selects a section (the day, from Shift+Tab the
// year, on a click the section clicked), and a section once full (two digits, four for the
// year; "." or "," ends it early) hands over to the next, which is then shown selected.
// Letters are not taken. A typed date that does not exist or lies outside the range is
// never replaced by another: when the user leaves the box or presses Enter it is refused in
// the error box, and the box shows its last valid date again.
class DateBox : public QDateEdit {
    Q_OBJECT
public:
    explicit DateBox(QWidget* parent, const char* name);

    static QDate firstDate();
    static QDate lastDate();  // 31 December of next year

    // Takes what was typed: true when the box holds a valid date; otherwise says why in the
    // error box, shows the last valid date again and returns false.
    bool acceptTyped();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // A typed text is a date of the range or still being typed; it is never fixed up.
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

private:
    enum Section { Day, Month, Year, SectionCount };

    bool typingPending() const;
    void startTyping();
    void typeDigit(QChar digit);
    bool sectionFull(QChar digit) const;
    void endSection();
    void backspace();
    void selectSection(int section);
    void showSections();
    int sectionStart(int section) const;
    int sectionAt(int position);
    void refuse(const QString& typed);

    int section_ = Day;
    QString typing_;                  // digits typed into the current section so far
    QString sections_[SectionCount];  // the sections as shown while the user types
    bool handedOver_ = false;         // the last digit filled its section
};
