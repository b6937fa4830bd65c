#include "login_window.h"

#include "access_roles.h"
#include "controls.h"
#include "data_module.h"
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
    Button1 = makeButton(this, "Button1", QStringLiteral("Вход"));
    Button1->setDefault(true);
    Button2 = makeButton(this, "Button2", QStringLiteral("Отмена"));

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(makeLabel(this, "Label1", QStringLiteral("Код доступа"), Edit1));
    layout->addWidget(Edit1, 1);
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

void TForm23::FormActivate()
{
    CheckVersion();
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
    Form1->UserCode = Edit1->text().trimmed();
    const std::optional<Role> role = roleForCode(Form1->UserCode);
    if (!role) {
        showError(this, QStringLiteral("Введены неверные данные."));
        return;
    }
    applyRole(*role);
    DataModule6->ADO_DB.setApplicationName(connectionName(roleName(*role)));
    hide();
    seams::showModal(*Form1);
    QDialog::accept();  // the main window closes: the program ends
}

void TForm23::Button2Click() { QDialog::reject(); }
