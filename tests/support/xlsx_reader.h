#pragma once

#include <QString>
#include <QStringList>
#include <map>

// What an .xlsx file holds on its first worksheet, read back from the file's XML parts
// (through `unzip -p`) so that tests check what a spreadsheet application would load.
struct XlsxCell {
    enum class Type { Number, SharedString, InlineString, Other };
    Type type = Type::Other;
    QString value;         // the number as written in the file, or the string
    bool bold = false;
    QString numberFormat;  // "General", "@", or the format code
};

class XlsxFile {
public:
    // Fails the running test when the file cannot be read.
    explicit XlsxFile(const QString& path);

    QStringList sheetNames;
    std::map<QString, XlsxCell> cells;   // by reference, "A1"
    std::map<int, double> columnWidths;  // 1-based column → width, where one is set
    QString sheetXml;                    // the first worksheet as stored

    // The cell at a 1-based row and column; a default cell (Type::Other, empty) when absent.
    XlsxCell cell(int row, int column) const;
    static QString reference(int row, int column);
};
