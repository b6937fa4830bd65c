#pragma once

#include "list_window.h"

#include <map>

// The workers list "Список рабочих": maintained from the main menu (Tag 0), the worker
// picker of the shift record editor (Tag 1) and of the household-work editor (Tag 24).
class TForm5 : public ReferenceListWindow {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);

    // An editor that picks workers here takes the trimmed name and the worker's id.
    using WorkerReceiver = std::function<void(const QString& fio, int workerId)>;
    // Registers the editor that a picker showing with this Tag hands back into.
    void setReceiver(int tag, WorkerReceiver receiver) { receivers_[tag] = std::move(receiver); }

    // An editor's "..." button: shows the list as a picker and closes Workers afterwards.
    void showAsPicker(int tag);

protected:
    void addRow() override;
    void changeRow() override;
    void deleteRow() override;
    void handBack() override;

private:
    std::map<int, WorkerReceiver> receivers_;
};

extern TForm5* Form5;
