#include "startup.h"

#include "connection_settings.h"
#include "data_module.h"
#include "database_error.h"
#include "error_box.h"
#include "household/household_editor.h"
#include "household/household_window.h"
#include "reference/item_editor.h"
#include "reference/items_window.h"
#include "journal_window.h"
#include "reference/kind_editor.h"
#include "reference/kinds_window.h"
#include "login_window.h"
#include "access_roles.h"
#include "reference/nomenclature_picker.h"
#include "reference/norms_window.h"
#include "reference/operation_editor.h"
#include "reference/operations_window.h"
#include "reports/period_reports.h"
#include "journal/brigade_window.h"
#include "journal/history_window.h"
#include "journal/record_editor.h"
#include "reports/report_chooser.h"
#include "seams.h"
#include "timesheet/timesheet_layout.h"
#include "timesheet/timesheet_window.h"
#include "version_check.h"
#include "reference/worker_editor.h"
#include "reference/workers_window.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QTranslator>

namespace {

void reportError(const QString& message)
{
    showError(QApplication::activeWindow(), message);
}

template <typename Window>
void destroyWindow(Window*& window)
{
    delete window;
    window = nullptr;
}

void receiveForRecordEditor(const PickedOperation& picked)
{
    Form11->ItemId = picked.itemId;
    Form11->OperId = picked.operationId;
    Form11->ProductKind = picked.productKind;
    Form11->BasePrice = picked.basePrice;
    Form11->Price = picked.price;
    Form11->Edit2->setText(picked.text);
}

// The brigade window picks from the same lists; the operations list hands its pick to the
// record editor again once the brigade's pick is made.
void connectBrigadePickers()
{
    Form27->pickWorker = [] {
        std::optional<BrigadeWorker> picked;
        Form5->setReceiver(27, [&picked](const QString& fio, int workerId) { picked = BrigadeWorker{workerId, fio}; });
        Form5->showAsPicker(27);
        Form5->setReceiver(27, {});
        return picked;
    };
    Form27->pickOperation = [](int operationId, bool dayOff, int shift) {
        std::optional<BrigadeOperation> picked;
        // The list stands on the picked operation while it hands it back.
        Form4->setReceiver([&picked](const PickedOperation& p) {
            const Dataset& oper = DataModule6->Oper;
            picked = BrigadeOperation{p.itemId, p.operationId, p.basePrice,
                                      oper.fieldByName(QStringLiteral("marka")).asString().trimmed(),
                                      oper.fieldByName(QStringLiteral("vid")).asString().trimmed() + QStringLiteral("; ")
                                          + oper.fieldByName(QStringLiteral("nmn")).asString().trimmed()};
        });
        Form4->showAsPicker(operationId, dayOff, shift);
        Form4->setReceiver(receiveForRecordEditor);
        return picked;
    };
}

// The editors choose from the reference lists; a list shown as a picker writes the
// choice into the editor's fields and closes.
void connectPickers()
{
    Form5->setReceiver(1, [](const QString& fio, int workerId) {
        Form11->Edit1->setText(fio);
        Form11->WorkerId = workerId;
    });
    Form11->pickWorker = [] { Form5->showAsPicker(1); };
    Form5->setReceiver(24, [](const QString& fio, int workerId) {
        Form24->Edit1->setText(fio);
        Form24->WorkerId = workerId;
    });
    Form24->pickWorker = [] { Form5->showAsPicker(24); };
    Form5->setReceiver(18, [](const QString&, int workerId) { Form18->StatementWorkerId = workerId; });
    Form18->pickWorker = [] { Form5->showAsPicker(18); };

    Form26->setReceiver([](qint64 entryId, const QString& caption) {
        Form24->NomId = entryId;
        Form24->Edit2->setText(caption);
    });
    Form24->pickNomenclature = [] { Form26->showAsPicker(); };

    Form4->setReceiver(receiveForRecordEditor);
    // The editor has put Oper on the operation to start from.
    Form11->pickOperation = [](bool dayOff, int shift) {
        Dataset& oper = DataModule6->Oper;
        Form4->showAsPicker(oper.isEmpty() ? 0 : oper.fieldByName(QStringLiteral("id")).asInteger(), dayOff, shift);
    };
    connectBrigadePickers();
}

}  // namespace

bool useRussianInterface()
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    static QTranslator qtTexts;
    if (qtTexts.isEmpty()
        && !qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(&qtTexts);
}

namespace {

enum class Login { ByCode, AsPerson, Impossible };

// Connects with the settings and tells which login follows: a server that refused the
// settings' built-in user lets a person log in with name and password; a database with
// the group roles asks for the person too.
Login connectAtStart(const connection_settings::Parameters& settings)
{
    Connection& db = DataModule6->ADO_DB;
    try {
        db.setApplicationName(connectionName());
        db.open(settings);
        DataModule6->DetectDatabaseFeatures();
        return hasGroupRoles(db) ? Login::AsPerson : Login::ByCode;
    } catch (const AuthenticationRefusedError&) {
        db.close();
        return connection_settings::usesBuiltInUser(settings) ? Login::AsPerson : Login::Impossible;
    } catch (const DatabaseError&) {
        return Login::Impossible;
    }
}

}  // namespace

bool createApplicationWindows(const QStringList& arguments)
{
    DataModule6 = new TDataModule6(reportError);
    Form1 = new TForm1;
    DataModule6->ADO_DB.close();
    const connection_settings::Parameters settings = connection_settings::startupParameters(arguments);
    const Login login = connectAtStart(settings);
    if (login == Login::Impossible) {
        seams::messageBoxes().error(nullptr, QStringLiteral("Подключение к БД отсутсвует!!!"), QStringLiteral("Ошибка!"));
        destroyApplicationWindows();
        return false;
    }
    Form23 = new TForm23;
    if (login == Login::AsPerson)
        Form23->askForPerson(settings);
    Form23->show();
    // The remaining windows, once each, in their fixed order.
    Form2 = new TForm2;
    Form3 = new TForm3;
    Form4 = new TForm4;
    Form5 = new TForm5;
    Form7 = new TForm7;
    Form8 = new TForm8;
    Form9 = new TForm9;
    Form10 = new TForm10;
    Form11 = new TForm11;
    Form18 = new TForm18;
    Form19 = new TForm19;
    Form21 = new TForm21;
    ChangesReport = new TChangesReport;
    Form15 = new TForm15;
    Form16 = new TForm16;
    Form17 = new TForm17;
    Form20 = new TForm20;
    Form22 = new TForm22;
    Form24 = new TForm24;
    Form25 = new TForm25;
    Form26 = new TForm26;
    Form27 = new TForm27;
    Form28 = new TForm28;
    connectPickers();
    return true;
}

void destroyApplicationWindows()
{
    destroyWindow(Form28);
    destroyWindow(Form27);
    destroyWindow(Form26);
    destroyWindow(Form25);
    destroyWindow(Form24);
    destroyWindow(Form22);
    destroyWindow(Form20);
    destroyWindow(Form17);
    destroyWindow(Form16);
    destroyWindow(Form15);
    destroyWindow(ChangesReport);
    destroyWindow(Form21);
    destroyWindow(Form19);
    destroyWindow(Form18);
    destroyWindow(Form11);
    destroyWindow(Form10);
    destroyWindow(Form9);
    destroyWindow(Form8);
    destroyWindow(Form7);
    destroyWindow(Form5);
    destroyWindow(Form4);
    destroyWindow(Form3);
    destroyWindow(Form2);
    destroyWindow(Form1);
    destroyWindow(Form23);
    destroyWindow(DataModule6);
}

int runTabel(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Табель"));
    if (!useRussianInterface())
        qWarning("Qt's Russian translation (qtbase_ru.qm, Debian's qt6-translations-l10n) is missing; "
                 "standard buttons stay in English");
    try {
        if (!createApplicationWindows(QApplication::arguments()))
            return 1;
        const int code = QApplication::exec();
        destroyApplicationWindows();
        return code;
    } catch (const std::exception& error) {
        showError(nullptr, QString::fromUtf8(error.what()));
        destroyApplicationWindows();
        return 1;
    }
}
