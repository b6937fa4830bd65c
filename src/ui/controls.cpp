#include "controls.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace {

// Without auto-default a focused button lets Enter go on to the dialog, whose default
// button would take it; here the focused button takes it itself.
class FocusedEnterButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat()) {
            click();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};

}  // namespace

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = new FocusedEnterButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

QLineEdit* makeEdit(QWidget* parent, const char* name, bool readOnly)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setReadOnly(readOnly);
    if (readOnly)
        edit->setFocusPolicy(Qt::NoFocus);
    return edit;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, QWidget* buddy)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setBuddy(buddy);
    return label;
}

QHBoxLayout* rightAlignedRow(std::initializer_list<QWidget*> controls)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QWidget* control : controls)
        row->addWidget(control);
    return row;
}

// A window's position is that of its frame; its title bar is known once it has been shown.
void centreOn(QWidget& window, const QWidget& over)
{
    const QRect frame = window.frameGeometry();
    window.move(over.frameGeometry().center() - (frame.center() - frame.topLeft()));
}

namespace {

const char* const kCentredOnDesktop = "centredOnDesktop";

void moveToDesktopCentre(QWidget& window)
{
    if (const QScreen* screen = window.screen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

}  // namespace

void centreOnDesktop(QWidget& window)
{
    window.setProperty(kCentredOnDesktop, true);
    moveToDesktopCentre(window);
}

void centreForShowing(QWidget& window, const QWidget* owner)
{
    if (window.property(kCentredOnDesktop).toBool())
        moveToDesktopCentre(window);
    else if (owner)
        centreOn(window, *owner);
}

QWidget* fieldRow(QWidget* parent, std::initializer_list<QWidget*> controls)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    int stretch = 1;
    for (QWidget* control : controls) {
        layout->addWidget(control, stretch);
        stretch = 0;
    }
    return row;
}

namespace {

class ReturnFocus : public QObject {
public:
    ReturnFocus(QWidget* window, std::function<void()> focus) : QObject(window), window_(window), focus_(std::move(focus)) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == window_ && event->type() == QEvent::ActivationChange) {
            if (!window_->isActiveWindow())
                leftForOwnWindow_ = QApplication::activeWindow() != nullptr;
            else if (leftForOwnWindow_)
                focus_();
        }
        return false;
    }

private:
    QWidget* window_;
    std::function<void()> focus_;
    bool leftForOwnWindow_ = false;
};

}  // namespace

void refocusOnReturn(QWidget* window, std::function<void()> focus)
{
    window->installEventFilter(new ReturnFocus(window, std::move(focus)));
}

DisabledWhileBusy::DisabledWhileBusy(std::initializer_list<QWidget*> controls)
{
    // A control already disabled (by the role, a closed month) stays so afterwards.
    for (QWidget* control : controls) {
        if (!control->isEnabled())
            continue;
        control->setEnabled(false);
        controls_.emplace_back(control);
    }
}

DisabledWhileBusy::~DisabledWhileBusy()
{
    for (const QPointer<QWidget>& control : controls_)
        if (control)
            control->setEnabled(true);
}

namespace {

// A click places the cursor after the focus came in: the text is selected once the click
// is over, unless the user dragged a selection of his own.
class SelectOnFocus : public QObject {
public:
    explicit SelectOnFocus(QLineEdit* box) : QObject(box), box_(box) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != box_)
            return false;
        if (event->type() == QEvent::FocusIn) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            // Back from a message or a pop-up the user goes on where he was.
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                box_->selectAll();
            clickPending_ = reason == Qt::MouseFocusReason;
        } else if (event->type() == QEvent::MouseButtonRelease && clickPending_) {
            clickPending_ = false;
            if (!box_->hasSelectedText())
                box_->selectAll();
        }
        return false;
    }

private:
    QLineEdit* box_;
    bool clickPending_ = false;
};

}  // namespace

void selectTextOnFocus(QLineEdit* box) { box->installEventFilter(new SelectOnFocus(box)); }
