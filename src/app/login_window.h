#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QTimer;

// The login window and the application's main window: it asks for the access code,
// sets the role's restrictions and shows the journal; when it closes the program ends.
class TForm23 : public QDialog {
    Q_OBJECT
public:
    explicit TForm23(QWidget* parent = nullptr);

    QLineEdit* Edit1;
    QPushButton* Button1;  // "Вход", default
    QPushButton* Button2;  // "Отмена", cancel
    QTimer* Timer1;        // ends the program 5 seconds after a version mismatch

    void FormActivate();
    void Button1Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;  // Escape

private:
    void fitCaption();

    // Room the title bar keeps for its icon and buttons beside the caption.
    static constexpr int kTitleBarButtons = 120;
    bool activated_ = false;
};

extern TForm23* Form23;
