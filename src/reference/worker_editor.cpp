#include "worker_editor.h"

#include "data_module.h"
#include "input_rules.h"
#include "lookup_combo_box.h"
#include "write_statements.h"

#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QWheelEvent>

TForm2* Form2 = nullptr;

namespace {

const InputRule kName = InputRule::text(QStringLiteral("ФИО"), 254);  // fio varchar(254)

}  // namespace

TForm2::TForm2(QWidget* parent)
    : EditorDialog("Form2", QStringLiteral("Данные о работнике"), parent),
      cmd_person(DataModule6->ADO_DB),
      department(DataModule6->ADO_DB, QStringLiteral("select * from cmn_department.department order by s_caption")),
      staffpos(DataModule6->ADO_DB, QStringLiteral("select * from hrms_staffpos.staffpos order by s_caption")),
      roles(DataModule6->ADO_DB, QStringLiteral("select * from adm_role.roles order by s_caption"))
{
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    const QString id = QStringLiteral("id");
    const QString caption = QStringLiteral("s_caption");
    LCB_department = new LookupComboBox(department, id, caption, this);
    LCB_department->setObjectName(QStringLiteral("LCB_department"));
    LCB_staffpos = new LookupComboBox(staffpos, id, caption, this);
    LCB_staffpos->setObjectName(QStringLiteral("LCB_staffpos"));
    LCB_roles = new LookupComboBox(roles, id, caption, this);
    LCB_roles->setObjectName(QStringLiteral("LCB_roles"));
    addField(QStringLiteral("ФИО"), Edit1);
    addField(QStringLiteral("Подразделение"), LCB_department);
    addField(QStringLiteral("Должность"), LCB_staffpos);
    addField(QStringLiteral("Роль"), LCB_roles);
    setFocusOnShow(Edit1);
    setMinimumWidth(420);

    // The wheel steps whichever lookup has the focus, wherever the mouse stands.
    for (QWidget* control : std::initializer_list<QWidget*>{this, Edit1, LCB_department, LCB_staffpos, LCB_roles, GroupBox1})
        control->installEventFilter(this);
}

void TForm2::rereadLookups()
{
    const std::pair<Dataset*, LookupComboBox*> lookups[] = {
        {&staffpos, LCB_staffpos}, {&roles, LCB_roles}, {&department, LCB_department}};
    for (const auto& [table, box] : lookups) {
        table->close();
        table->open();
        box->fill();
    }
}

bool TForm2::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Wheel)
        return EditorDialog::eventFilter(watched, event);
    auto* focused = qobject_cast<LookupComboBox*>(focusWidget());
    if (focused) {
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        if (delta != 0)
            focused->step(delta < 0 ? 1 : -1);
    }
    return true;
}

void TForm2::showStoredPosition(const QString& stored)
{
    storedPosition_ = stored;
    LCB_staffpos->setCurrentIndex(LCB_staffpos->findText(stored.trimmed()));
}

// The position stored with a worker is the one chosen in the position lookup; a change
// with nothing chosen there keeps what the worker had.
QString TForm2::position() const
{
    if (LCB_staffpos->currentIndex() >= 0)
        return LCB_staffpos->currentText();
    return adding() ? QString() : storedPosition_;
}

void TForm2::prepareStatement(const QString& fio)
{
    if (adding()) {
        cmd_person.setSql(person_sql::insert());
    } else {
        cmd_person.setSql(person_sql::update());
        cmd_person.setParam(QStringLiteral("id"), PersonId);
    }
    cmd_person.setParam(QStringLiteral("fio"), fio);
    // No position is written as an empty text, as before, not as no value.
    const QString position = this->position();
    cmd_person.setParam(QStringLiteral("s_staffpos_hl"), position.isNull() ? QStringLiteral("") : position);
}

void TForm2::Button1Click()
{
    const QString fio = Edit1->text().trimmed();
    if (fio.isEmpty()) {
        refuse(QStringLiteral("ФИО нужно заполнить!"));
        return;
    }
    kName.valueOf(Edit1);
    prepareStatement(fio);
    cmd_person.execute();
    accept();
}
