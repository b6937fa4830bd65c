#pragma once

#include "row_source.h"

#include <QStringList>
#include <vector>

// Records held in memory, for reports prepared without a database.
class TableRows : public report::RowSource {
public:
    using Record = std::vector<report::Value>;

    TableRows(QString name, QStringList columns, std::vector<Record> records)
        : name_(std::move(name)), columns_(std::move(columns)), records_(std::move(records))
    {
    }

    QString sourceName() const override { return name_; }
    int fieldIndex(const QString& name) const override
    {
        for (int i = 0; i < columns_.size(); ++i)
            if (columns_[i].compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }
    report::Value value(int field) const override { return records_[current_][size_t(field)]; }
    bool atEnd() const override { return current_ >= records_.size(); }
    void next() override { ++current_; }

private:
    QString name_;
    QStringList columns_;
    std::vector<Record> records_;
    size_t current_ = 0;
};

inline report::Value num(double n) { return report::Value::of(n); }
inline report::Value txt(const QString& t) { return report::Value::of(t); }
inline report::Value null() { return report::Value::null(); }
