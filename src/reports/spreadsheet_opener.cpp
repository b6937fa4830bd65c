#include "spreadsheet_opener.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>
#include <optional>

namespace seams {

namespace {

// A command that opens a workbook: the program, and the arguments put before the file.
struct OpenerCommand {
    QString program;
    QStringList arguments;
    bool desktopDefault = false;  // the desktop's own choice of application
};

std::optional<OpenerCommand> commandFromEnvironment()
{
    const QString setting = qEnvironmentVariable("TABEL_SPREADSHEET_COMMAND").trimmed();
    if (setting.isEmpty())
        return std::nullopt;
    QStringList words = QProcess::splitCommand(setting);
    if (words.isEmpty())
        return std::nullopt;
    const QString program = words.takeFirst();
    return OpenerCommand{program, words};
}

std::optional<OpenerCommand> installedCommand()
{
    // "-n" opens the file as a template: the user gets an untitled workbook to save
    // wherever they like, while the temporary file stays untouched.
    for (const QString& office : {QStringLiteral("libreoffice"), QStringLiteral("soffice")}) {
        const QString program = QStandardPaths::findExecutable(office);
        if (!program.isEmpty())
            return OpenerCommand{program, {QStringLiteral("--calc"), QStringLiteral("-n")}};
    }
    if (!QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty())
        return OpenerCommand{{}, {}, true};
    return std::nullopt;
}

// A command named by the setting must exist; it is never silently replaced by another.
std::optional<OpenerCommand> spreadsheetCommand()
{
    if (auto named = commandFromEnvironment()) {
        named->program = QStandardPaths::findExecutable(named->program);
        if (named->program.isEmpty())
            return std::nullopt;
        return named;
    }
    return installedCommand();
}

class DesktopSpreadsheetOpener : public SpreadsheetOpener {
public:
    bool available() override { return spreadsheetCommand().has_value(); }

    bool open(const QString& path) override
    {
        const auto command = spreadsheetCommand();
        if (!command)
            return false;
        if (command->desktopDefault)
            return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
        return QProcess::startDetached(command->program, command->arguments + QStringList{path});
    }
};

SpreadsheetOpener*& currentOpener()
{
    static SpreadsheetOpener* opener = nullptr;
    return opener;
}

}  // namespace

SpreadsheetOpener& spreadsheetOpener()
{
    static DesktopSpreadsheetOpener real;
    return currentOpener() ? *currentOpener() : real;
}

void setSpreadsheetOpener(SpreadsheetOpener* opener) { currentOpener() = opener; }

}  // namespace seams
