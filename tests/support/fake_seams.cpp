#include "fake_seams.h"

#include "report_preview.h"

#include <QDialog>

void FakeMessageBoxes::error(QWidget*, const QString& text, const QString& caption)
{
    shown.push_back({ShownMessage::Kind::Error, text, caption});
}

QStringList FakeMessageBoxes::texts() const
{
    QStringList texts;
    for (const ShownMessage& m : shown)
        texts << m.caption + QStringLiteral(": ") + m.text;
    return texts;
}

bool FakeMessageBoxes::confirm(QWidget*, const QString& text, const QString& caption)
{
    shown.push_back({ShownMessage::Kind::Question, text, caption});
    if (answers.empty())
        return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

FakeSeams::FakeSeams()
{
    seams::setMessageBoxes(&messages);
    seams::setModalShower([this](QDialog& dialog) {
        modalShown.push_back(dialog.objectName());
        if (modalActions.empty())
            return int(QDialog::Rejected);
        ModalAction action = std::move(modalActions.front());
        modalActions.pop_front();
        return action(dialog);
    });
    seams::setClock([this] { return clock; });
    seams::setBuildStamp(defaultStamp());
    seams::setProgramEnd([this] { ++programEndRequests; });
    report::setPreviewShower([this](const report::PreparedReport& pages, QWidget*) { previews.push_back(pages); });
}

FakeSeams::~FakeSeams()
{
    seams::setMessageBoxes(nullptr);
    seams::setModalShower({});
    seams::setClock({});
    seams::setProgramEnd({});
    report::setPreviewShower({});
}
