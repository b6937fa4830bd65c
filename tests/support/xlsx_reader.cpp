#include "xlsx_reader.h"

#include <QProcess>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <vector>

namespace {

// One part of the zip archive; empty when the archive has no such part.
QByteArray part(const QString& path, const QString& name, bool required)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, name});
    if (!unzip.waitForFinished(30000) || unzip.exitCode() != 0) {
        if (required)
            ADD_FAILURE() << "cannot read " << name.toStdString() << " of " << path.toStdString() << ": "
                          << unzip.readAllStandardError().toStdString();
        return {};
    }
    return unzip.readAllStandardOutput();
}

// Every start element in document order, with a callback per element name.
template <typename OnElement>
void walk(const QByteArray& text, OnElement&& onElement)
{
    if (text.isEmpty())
        return;
    QXmlStreamReader xml(text);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement)
            onElement(xml);
    }
    if (xml.hasError())
        ADD_FAILURE() << "malformed XML: " << xml.errorString().toStdString();
}

QStringList readSheetNames(const QByteArray& workbook)
{
    QStringList names;
    walk(workbook, [&](QXmlStreamReader& xml) {
        if (xml.name() == u"sheet")
            names << xml.attributes().value(QLatin1String("name")).toString();
    });
    return names;
}

QStringList sharedStrings(const QByteArray& text)
{
    QStringList strings;
    walk(text, [&](QXmlStreamReader& xml) {
        if (xml.name() == u"si")
            strings << QString();
        else if (xml.name() == u"t")
            strings.last() += xml.readElementText();
    });
    return strings;
}

// The bold flag and number format of each cell style, by style index.
struct Style {
    bool bold = false;
    QString numberFormat;
};

QString builtinFormat(int id)
{
    switch (id) {
    case 0: return QStringLiteral("General");
    case 49: return QStringLiteral("@");
    default: return QStringLiteral("builtin %1").arg(id);
    }
}

std::vector<Style> styles(const QByteArray& text)
{
    std::map<int, QString> customFormats;
    std::vector<bool> boldFonts;
    std::vector<Style> cellStyles;
    QString section;
    walk(text, [&](QXmlStreamReader& xml) {
        const auto name = xml.name();
        const auto attributes = xml.attributes();
        if (name == u"fonts" || name == u"cellXfs" || name == u"cellStyleXfs")
            section = name.toString();
        else if (name == u"numFmt")
            customFormats[attributes.value(QLatin1String("numFmtId")).toInt()] = attributes.value(QLatin1String("formatCode")).toString();
        else if (name == u"font" && section == u"fonts")
            boldFonts.push_back(false);
        else if (name == u"b" && section == u"fonts")
            boldFonts.back() = true;
        else if (name == u"xf" && section == u"cellXfs") {
            const int format = attributes.value(QLatin1String("numFmtId")).toInt();
            const int font = attributes.value(QLatin1String("fontId")).toInt();
            cellStyles.push_back({font < int(boldFonts.size()) && boldFonts[font],
                                  customFormats.count(format) ? customFormats[format] : builtinFormat(format)});
        }
    });
    return cellStyles;
}

XlsxCell::Type cellType(const QStringView type)
{
    if (type.isEmpty() || type == u"n")
        return XlsxCell::Type::Number;
    if (type == u"s")
        return XlsxCell::Type::SharedString;
    if (type == u"inlineStr")
        return XlsxCell::Type::InlineString;
    return XlsxCell::Type::Other;
}

}  // namespace

XlsxFile::XlsxFile(const QString& path)
{
    sheetNames = readSheetNames(part(path, QStringLiteral("xl/workbook.xml"), true));
    const QStringList strings = sharedStrings(part(path, QStringLiteral("xl/sharedStrings.xml"), false));
    const std::vector<Style> cellStyles = styles(part(path, QStringLiteral("xl/styles.xml"), true));
    const QByteArray sheet = part(path, QStringLiteral("xl/worksheets/sheet1.xml"), true);
    sheetXml = QString::fromUtf8(sheet);

    XlsxCell* current = nullptr;
    walk(sheet, [&](QXmlStreamReader& xml) {
        const auto attributes = xml.attributes();
        if (xml.name() == u"col") {
            for (int c = attributes.value(QLatin1String("min")).toInt(); c <= attributes.value(QLatin1String("max")).toInt(); ++c)
                columnWidths[c] = attributes.value(QLatin1String("width")).toDouble();
        } else if (xml.name() == u"c") {
            current = &cells[attributes.value(QLatin1String("r")).toString()];
            current->type = cellType(attributes.value(QLatin1String("t")));
            const int style = attributes.value(QLatin1String("s")).toInt();
            if (style < int(cellStyles.size())) {
                current->bold = cellStyles[style].bold;
                current->numberFormat = cellStyles[style].numberFormat;
            }
        } else if (xml.name() == u"v" && current) {
            const QString v = xml.readElementText();
            current->value = current->type == XlsxCell::Type::SharedString ? strings.value(v.toInt()) : v;
        } else if (xml.name() == u"t" && current) {
            current->value += xml.readElementText();
        }
    });
}

XlsxCell XlsxFile::cell(int row, int column) const
{
    const auto found = cells.find(reference(row, column));
    return found == cells.end() ? XlsxCell{} : found->second;
}

QString XlsxFile::reference(int row, int column)
{
    QString letters;
    for (int c = column; c > 0; c = (c - 1) / 26)
        letters.prepend(QChar('A' + (c - 1) % 26));
    return letters + QString::number(row);
}
