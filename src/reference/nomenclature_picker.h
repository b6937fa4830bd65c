#pragma once

#include "list_window.h"

class QPushButton;

// The nomenclature picker "Номенклатура (26)": the level-2 entries of the item classifier,
// for the household-work editor. It writes nothing to the database.
class TForm26 : public SearchListWindow {
    Q_OBJECT
public:
    explicit TForm26(QWidget* parent = nullptr);

    Dataset* item;         // the level-2 classifier entries, in the server's order
    QPushButton* Button1;  // "Выбрать"

    // The editor that picks entries here takes the entry's id and its name as stored.
    using EntryReceiver = std::function<void(qint64 entryId, const QString& caption)>;
    void setReceiver(EntryReceiver receiver) { receiver_ = std::move(receiver); }

    // The household-work editor's nomenclature "..." button.
    void showAsPicker();

    void Button1Click();
    void DBGrid1DblClick() override;

private:
    EntryReceiver receiver_;
};

extern TForm26* Form26;
