#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPointer>

class Dataset;
class QFormLayout;
class QGroupBox;
class QPushButton;

// An editor dialog of one row: a group box of fields, "Записать" (the default button) and
// a cancel button (Escape), which closes without saving. Tag 1 adds, 2 changes, unless a
// dialog reads its Tag otherwise (adding()).
class EditorDialog : public QDialog {
    Q_OBJECT
public:
    // The cancel button as a dialog names it.
    struct CancelButton {
        const char* name = "Button2";
        QString caption = QStringLiteral("Отмена");
    };

    EditorDialog(const char* objectName, const QString& groupTitle, QWidget* parent = nullptr);
    EditorDialog(const char* objectName, const QString& groupTitle, const CancelButton& cancel, QWidget* parent = nullptr);

    int Tag = 1;
    QGroupBox* GroupBox1;
    QPushButton* Button1;  // "Записать"
    QPushButton* Button2;  // the cancel button: "Отмена" unless the dialog names it otherwise

    virtual bool adding() const { return Tag == 1; }
    virtual void Button1Click() = 0;
    void Button2Click();

protected:
    // Adds a labelled field to the group box.
    void addField(const QString& label, QWidget* field);
    // The control that takes the focus whenever the dialog is shown or activated again.
    void setFocusOnShow(QWidget* control) { focusOnShow_ = control; }
    // Shows an input error in the error box; the dialog stays open.
    void refuse(const QString& message);
    // The dataset this editor writes its row through: a row left pending by a refused
    // save is dropped when the dialog closes without saving.
    void writesThrough(Dataset& dataset) { writesThrough_ = &dataset; }

    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void save();
    void takeFocus();

    QFormLayout* fields_;
    QWidget* focusOnShow_ = nullptr;
    QPointer<QLineEdit> refusedBox_;  // the box of the last refused value, while the dialog is shown
    Dataset* writesThrough_ = nullptr;
};
