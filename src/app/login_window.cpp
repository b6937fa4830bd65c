#include "login_window.h"

#include "access_roles.h"
#include "controls.h"
#include "data_module.h"
#include "database_error.h"
#include "error_box.h"
#include "handler_guard.h"
#include "journal_window.h"
#include "seams.h"
#include "version_check.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QTimer>

TForm23* Form23 = nullptr;

namespace {

// The code box shows a star for every character typed, whatever the desktop style uses.
class StarMaskStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

TForm23::TForm23(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form23"));
    setWindowTitle(QStringLiteral("Авторизация"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setEchoMode(QLineEdit::Password);
    auto* mask = new StarMaskStyle;
    mask->setParent(this);  // made after Edit1, so released after it
    Edit1->setStyle(mask);
    UserName = new QLineEdit(this);
    UserName->setObjectName(QStringLiteral("UserName"));
    Password = new QLineEdit(this);
    Password->setObjectName(QStringLiteral("Password"));
    Password->setEchoMode(QLineEdit::Password);
    Button1 = makeButton(this, "Button1", QStringLiteral("Вход"));
    Button1->setDefault(true);
    Button2 = makeButton(this, "Button2", QStringLiteral("Отмена"));

    auto* layout = new QHBoxLayout(this);
    codeLabel_ = makeLabel(this, "Label1", QStringLiteral("Код доступа"), Edit1);
    layout->addWidget(codeLabel_);
    layout->addWidget(Edit1, 1);
    layout->addWidget(UserName, 1);
    layout->addWidget(Password, 1);
    UserName->hide();
    Password->hide();
    layout->addWidget(Button1);
    layout->addWidget(Button2);
    resize(330, 44);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(5000);
    connect(Timer1, &QTimer::timeout, this, [] { seams::requestProgramEnd(); });

    connectHandler(Button1, &QPushButton::clicked, this, &TForm23::Button1Click);
    connectHandler(Button2, &QPushButton::clicked, this, &TForm23::Button2Click);
}

void TForm23::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (activated_)
        return;
    activated_ = true;
    // Once the window is on screen, so that a version message stands in front of it.
    QTimer::singleShot(0, this, [this] { runHandler([this] { FormActivate(); }, this); });
}

void TForm23::reject() { Button2->click(); }

void TForm23::askForPerson(const connection_settings::Parameters& settings)
{
    personLogin_ = true;
    settings_ = settings;
    // The person's boxes get their labels only here: the code login shows the code's alone.
    auto* layout = static_cast<QHBoxLayout*>(this->layout());
    layout->insertWidget(layout->indexOf(UserName), makeLabel(this, "Label2", QStringLiteral("Пользователь"), UserName));
    layout->insertWidget(layout->indexOf(Password), makeLabel(this, "Label3", QStringLiteral("Пароль"), Password));
    codeLabel_->hide();
    Edit1->hide();
    UserName->show();
    Password->show();
    if (connectedAsSettingsPerson())
        UserName->setText(connectedUser(DataModule6->ADO_DB));
    (UserName->text().isEmpty() ? UserName : Password)->setFocus();
}

void TForm23::FormActivate()
{
    // A person's login connects first; the check then follows the connection.
    if (DataModule6->ADO_DB.raw())
        CheckVersion();
    else
        setBuildStamp();
    setWindowTitle(QStringLiteral("Авторизация (build: %1.%2)").arg(Form1->BuildDate).arg(Form1->BuildTime));
    fitCaption();
}

// The title bar shows the whole caption beside its buttons.
void TForm23::fitCaption()
{
    QFont titleFont = font();
    titleFont.setBold(true);
    const int needed = QFontMetrics(titleFont).horizontalAdvance(windowTitle()) + kTitleBarButtons;
    if (width() < needed)
        resize(needed, height());
}

void TForm23::Button1Click()
{
    Form1->CurrentShift = 1;
    if (personLogin_)
        logInAsPerson();
    else
        logInByCode();
}

void TForm23::logInByCode()
{
    Form1->UserCode = Edit1->text().trimmed();
    const std::optional<Role> role = roleForCode(Form1->UserCode);
    if (!role) {
        showError(this, QStringLiteral("Введены неверные данные."));
        return;
    }
    enter(*role);
}

void TForm23::logInAsPerson()
{
    const QString user = UserName->text().trimmed();
    if (user.isEmpty()) {
        showError(this, QStringLiteral("Введите имя пользователя."));
        return;
    }
    const bool connectedAtStart = connectedAsSettingsPerson() && connectedUser(DataModule6->ADO_DB) == user;
    if (!connectedAtStart && !connectAsPerson(user))
        return;
    const std::optional<Role> role = roleOfConnectedUser(DataModule6->ADO_DB);
    if (!role) {
        showError(this, QStringLiteral("Пользователю «%1» не назначена роль в Табеле. Обратитесь к администратору.").arg(user));
        return;
    }
    // The check at start ran on the connection start-up made; the person's is new.
    if (!connectedAtStart) {
        CheckVersion();
        if (Timer1->isActive())
            return;  // an older program ends instead
    }
    enter(*role);
}

// Connected at start as the person the settings name (PGUSER, the service file), without
// typing where the server trusts the operating-system login or the password file answers.
bool TForm23::connectedAsSettingsPerson() const
{
    return DataModule6->ADO_DB.raw() && !connection_settings::usesBuiltInUser(settings_);
}

// The password goes to the server and nowhere else.
bool TForm23::connectAsPerson(const QString& user)
{
    const QString password = Password->text();
    Password->clear();
    try {
        DataModule6->ADO_DB.open(connection_settings::asPerson(settings_, user, password));
        DataModule6->DetectDatabaseFeatures();
    } catch (const AuthenticationRefusedError&) {
        showError(this, QStringLiteral("Неверное имя пользователя или пароль."));
        return false;
    } catch (const DatabaseError&) {
        showError(this, QStringLiteral("Подключение к БД отсутсвует!!!"));
        return false;
    }
    return true;
}

void TForm23::enter(Role role)
{
    Form1->UserRole = role;
    applyRole(role);
    DataModule6->ADO_DB.setApplicationName(connectionName(roleName(role)));
    hide();
    seams::showModal(*Form1);
    QDialog::accept();  // the main window closes: the program ends
}

void TForm23::Button2Click() { QDialog::reject(); }
