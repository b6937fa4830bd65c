#include "radio_group.h"

#include <QRadioButton>
#include <QVBoxLayout>

RadioGroup::RadioGroup(QWidget* parent, const char* name, const QString& caption, const QStringList& items)
    : QGroupBox(caption, parent)
{
    setObjectName(QLatin1String(name));
    auto* layout = new QVBoxLayout(this);
    for (const QString& item : items) {
        auto* button = new QRadioButton(item, this);
        button->setObjectName(QStringLiteral("%1_%2").arg(objectName()).arg(buttons_.size()));
        layout->addWidget(button);
        buttons_.push_back(button);
    }
}

int RadioGroup::itemIndex() const
{
    for (size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i]->isChecked())
            return int(i);
    return -1;
}

void RadioGroup::setItemIndex(int index) { buttons_.at(size_t(index))->setChecked(true); }
