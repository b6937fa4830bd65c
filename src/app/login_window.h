#pragma once

#include "access_roles.h"
#include "connection_settings.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

// The login window and the application's main window: it asks for the access code (or,
// where the database has the group roles, for the person's user name and password),
// sets the role's restrictions and shows the journal; when it closes the program ends.
class TForm23 : public QDialog {
    Q_OBJECT
public:
    explicit TForm23(QWidget* parent = nullptr);

    QLineEdit* Edit1;
    QLineEdit* UserName;  // per-person login
    QLineEdit* Password;
    QPushButton* Button1;  // "Вход", default
    QPushButton* Button2;  // "Отмена", cancel
    QTimer* Timer1;        // ends the program 5 seconds after a version mismatch

    // Per-person login instead of the access code, with the settings start-up connected
    // with (or failed to, for want of a user): the person's name and password replace the
    // settings' own user. A user already connected is offered as the name.
    void askForPerson(const connection_settings::Parameters& settings);

    void FormActivate();
    void Button1Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;  // Escape

private:
    void fitCaption();
    void logInByCode();
    void logInAsPerson();
    bool connectedAsSettingsPerson() const;
    bool connectAsPerson(const QString& user);
    void enter(Role role);

    QLabel* codeLabel_;
    bool personLogin_ = false;
    connection_settings::Parameters settings_;

    // Room the title bar keeps for its icon and buttons beside the caption.
    static constexpr int kTitleBarButtons = 120;
    bool activated_ = false;
};

extern TForm23* Form23;
