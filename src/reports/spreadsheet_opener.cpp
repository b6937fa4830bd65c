#include "spreadsheet_opener.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <optional>

namespace seams {

namespace {

// A command that opens a workbook: the program, and the arguments put before the file.
struct OpenerCommand {
    QString program;
    QStringList arguments;
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

// LibreOffice Calc, then the desktop's own choice of application through xdg-open or gio.
std::optional<OpenerCommand> installedCommand()
{
    // "-n" opens the file as a template: the user gets an untitled workbook to save
    // wherever they like, while the temporary file stays untouched.
    const OpenerCommand candidates[] = {
        {QStringLiteral("libreoffice"), {QStringLiteral("--calc"), QStringLiteral("-n")}},
        {QStringLiteral("soffice"), {QStringLiteral("--calc"), QStringLiteral("-n")}},
        {QStringLiteral("xdg-open"), {}},
        {QStringLiteral("gio"), {QStringLiteral("open")}},
    };
    for (const OpenerCommand& candidate : candidates) {
        const QString program = QStandardPaths::findExecutable(candidate.program);
        if (!program.isEmpty())
            return OpenerCommand{program, candidate.arguments};
    }
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
        return command && QProcess::startDetached(command->program, command->arguments + QStringList{path});
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
