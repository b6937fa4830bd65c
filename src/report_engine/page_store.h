#pragma once

#include "prepared_report.h"

#include <QByteArray>
#include <QHash>
#include <vector>

namespace report {

// Prepared pages kept small while a long report is shown: each page packed into bytes,
// positions as single floats, and every text, font, pen and fill colour kept once for all
// pages (a name or an operation repeats on every page), as is the left edge, width and
// height of each box (an item's box differs from row to row only in its top). A page is
// unpacked again to be drawn; the unpacked page stays valid until the next one is asked for.
class PageStore {
public:
    void add(const PreparedPage& page);
    size_t size() const { return pages_.size(); }
    const PreparedPage& page(size_t index) const;

private:
    // A box's left edge, width and height.
    struct Shape {
        float left;
        float width;
        float height;
        bool operator==(const Shape&) const = default;
        friend size_t qHash(const Shape& shape, size_t seed = 0) { return qHashMulti(seed, shape.left, shape.width, shape.height); }
    };

    template <typename T>
    static quint32 indexOf(std::vector<T>& values, const T& value);
    template <typename T>
    static quint32 indexOf(std::vector<T>& values, QHash<T, quint32>& indexes, const T& value);

    std::vector<QByteArray> pages_;
    std::vector<QString> texts_;
    QHash<QString, quint32> textIndexes_;
    std::vector<Shape> shapes_;
    QHash<Shape, quint32> shapeIndexes_;
    std::vector<Font> fonts_;
    std::vector<Pen> pens_;
    std::vector<QColor> fills_;
    std::vector<Qt::Alignment> alignments_;
    mutable PreparedPage unpacked_;
    mutable size_t unpackedIndex_ = size_t(-1);
};

}  // namespace report
