#include "editor_dialog.h"

#include "controls.h"
#include "dataset.h"
#include "handler_guard.h"
#include "seams.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

EditorDialog::EditorDialog(const char* objectName, const QString& groupTitle, QWidget* parent) : QDialog(parent)
{
    setObjectName(QLatin1String(objectName));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    GroupBox1 = new QGroupBox(groupTitle, this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    fields_ = new QFormLayout(GroupBox1);

    Button1 = makeButton(this, "Button1", QStringLiteral("Записать"));
    Button1->setDefault(true);
    Button2 = makeButton(this, "Button2", QStringLiteral("Отмена"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addLayout(rightAlignedRow({Button1, Button2}));

    refocusOnReturn(this, [this] { takeFocus(); });

    connect(Button1, &QPushButton::clicked, this, [this] { runHandler([this] { Button1Click(); }, this); });
    connectHandler(Button2, &QPushButton::clicked, this, &EditorDialog::Button2Click);
}

void EditorDialog::Button2Click() { reject(); }

void EditorDialog::addField(const QString& label, QWidget* field) { fields_->addRow(label, field); }

void EditorDialog::refuse(const QString& message)
{
    seams::messageBoxes().error(this, message, QStringLiteral("Ошибка"));
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
    takeFocus();
}

void EditorDialog::takeFocus()
{
    if (focusOnShow_)
        focusOnShow_->setFocus();
}
