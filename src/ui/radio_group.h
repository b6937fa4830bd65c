#pragma once

#include <QGroupBox>
#include <QStringList>
#include <vector>

class QRadioButton;

// A framed group of radio buttons, one of which is chosen; the choice is read and set by
// its 0-based index. The buttons are named after the group ("RadioGroup1_0", …).
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(QWidget* parent, const char* name, const QString& caption, const QStringList& items);

    int itemIndex() const;
    void setItemIndex(int index);
    QRadioButton* button(int index) const { return buttons_.at(size_t(index)); }

private:
    std::vector<QRadioButton*> buttons_;
};
