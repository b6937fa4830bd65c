#include "editor_dialog.h"

#include "controls.h"
#include "dataset.h"
#include "error_box.h"
#include "handler_guard.h"
#include "input_rules.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

EditorDialog::EditorDialog(const char* objectName, const QString& groupTitle, QWidget* parent)
    : EditorDialog(objectName, groupTitle, CancelButton{}, parent)
{
}

EditorDialog::EditorDialog(const char* objectName, const QString& groupTitle, const CancelButton& cancel, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QLatin1String(objectName));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    GroupBox1 = new QGroupBox(groupTitle, this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    fields_ = new QFormLayout(GroupBox1);

    Button1 = makeButton(this, "Button1", QStringLiteral("Записать"));
    Button1->setDefault(true);
    Button2 = makeButton(this, cancel.name, cancel.caption);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addLayout(rightAlignedRow({Button1, Button2}));

    refocusOnReturn(this, [this] { takeFocus(); });

    connect(Button1, &QPushButton::clicked, this, [this] { runHandler([this] { save(); }, this); });
    connectHandler(Button2, &QPushButton::clicked, this, &EditorDialog::Button2Click);
}

void EditorDialog::Button2Click() { reject(); }

// After a refused value the user goes on in the box the message names, also once the
// message box has closed.
void EditorDialog::save()
{
    refusedBox_ = nullptr;
    try {
        Button1Click();
    } catch (const InputRefused& refused) {
        for (QLineEdit* box : findChildren<QLineEdit*>())
            if (box == refused.box())
                refusedBox_ = box;
        takeFocus();
        throw;
    }
}

void EditorDialog::addField(const QString& label, QWidget* field) { fields_->addRow(label, field); }

void EditorDialog::refuse(const QString& message)
{
    showError(this, message);
}

void EditorDialog::done(int result)
{
    if (result != Accepted && writesThrough_)
        writesThrough_->cancel();
    QDialog::done(result);
}

void EditorDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    refusedBox_ = nullptr;
    takeFocus();
}

void EditorDialog::takeFocus()
{
    if (refusedBox_ && refusedBox_->isVisible())
        refusedBox_->setFocus();
    else if (focusOnShow_)
        focusOnShow_->setFocus();
}
