#include "startup.h"

#include "connection_string.h"
#include "data_module.h"
#include "database_error.h"
#include "journal_window.h"
#include "login_window.h"
#include "seams.h"
#include "item_editor.h"
#include "items_window.h"
#include "kind_editor.h"
#include "kinds_window.h"
#include "nomenclature_picker.h"
#include "norms_window.h"
#include "operation_editor.h"
#include "operations_window.h"
#include "worker_editor.h"
#include "workers_window.h"

#include <QApplication>
#include <QIcon>

namespace {

void reportError(const QString& message)
{
    seams::messageBoxes().error(QApplication::activeWindow(), message, QStringLiteral("Ошибка"));
}

template <typename Window>
void destroyWindow(Window*& window)
{
    delete window;
    window = nullptr;
}

}  // namespace

bool createApplicationWindows(const QStringList& arguments)
{
    DataModule6 = new TDataModule6(reportError);
    Form1 = new TForm1;
    try {
        DataModule6->ADO_DB.close();
        DataModule6->ADO_DB.open(connection_string::fromArguments(arguments));
    } catch (const DatabaseError&) {
        seams::messageBoxes().error(nullptr, QStringLiteral("Подключение к БД отсутсвует!!!"), QStringLiteral("Ошибка!"));
        destroyApplicationWindows();
        return false;
    }
    Form23 = new TForm23;
    Form23->show();
    Form2 = new TForm2;
    Form3 = new TForm3;
    Form4 = new TForm4;
    Form5 = new TForm5;
    Form7 = new TForm7;
    Form8 = new TForm8;
    Form9 = new TForm9;
    Form10 = new TForm10;
    Form22 = new TForm22;
    Form26 = new TForm26;
    return true;
}

void destroyApplicationWindows()
{
    destroyWindow(Form26);
    destroyWindow(Form22);
    destroyWindow(Form10);
    destroyWindow(Form9);
    destroyWindow(Form8);
    destroyWindow(Form7);
    destroyWindow(Form5);
    destroyWindow(Form4);
    destroyWindow(Form3);
    destroyWindow(Form2);
    delete Form1;
    Form1 = nullptr;
    delete Form23;
    Form23 = nullptr;
    delete DataModule6;
    DataModule6 = nullptr;
}

int runTabel(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Табель"));
    try {
        if (!createApplicationWindows(QApplication::arguments()))
            return 1;
        const int code = QApplication::exec();
        destroyApplicationWindows();
        return code;
    } catch (const std::exception& error) {
        seams::messageBoxes().error(nullptr, QString::fromUtf8(error.what()), QStringLiteral("Ошибка"));
        destroyApplicationWindows();
        return 1;
    }
}
