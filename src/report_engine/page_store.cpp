#include "page_store.h"

#include <cstring>

namespace report {

namespace {

enum class Tag : quint8 { Box, Line, Text };

class Packer {
public:
    explicit Packer(QByteArray& bytes) : bytes_(bytes) {}

    template <typename T>
    void put(T value)
    {
        bytes_.append(reinterpret_cast<const char*>(&value), sizeof value);
    }
    void put(const QLineF& l) { putFour(l.x1(), l.y1(), l.x2(), l.y2()); }
    // Seven bits a byte, the lowest first: the index of a font or a shape mostly takes one.
    void putIndex(quint32 value)
    {
        for (; value >= 0x80; value >>= 7)
            put(quint8(value | 0x80));
        put(quint8(value));
    }

private:
    void putFour(double a, double b, double c, double d)
    {
        put(float(a));
        put(float(b));
        put(float(c));
        put(float(d));
    }

    QByteArray& bytes_;
};

class Unpacker {
public:
    explicit Unpacker(const QByteArray& bytes) : at_(bytes.constData()), end_(bytes.constData() + bytes.size()) {}

    bool atEnd() const { return at_ >= end_; }

    template <typename T>
    T get()
    {
        T value;
        std::memcpy(&value, at_, sizeof value);
        at_ += sizeof value;
        return value;
    }
    quint32 index()
    {
        quint32 value = 0;
        for (int shift = 0;; shift += 7) {
            const auto byte = get<quint8>();
            value |= quint32(byte & 0x7f) << shift;
            if (!(byte & 0x80))
                return value;
        }
    }
    QLineF line()
    {
        const float x1 = get<float>(), y1 = get<float>(), x2 = get<float>(), y2 = get<float>();
        return {x1, y1, x2, y2};
    }

private:
    const char* at_;
    const char* end_;
};

}  // namespace

// Fonts, pens, fills and alignments are a handful per report: a look along the list does.
template <typename T>
quint32 PageStore::indexOf(std::vector<T>& values, const T& value)
{
    for (size_t i = 0; i < values.size(); ++i)
        if (values[i] == value)
            return quint32(i);
    values.push_back(value);
    return quint32(values.size() - 1);
}

template <typename T>
quint32 PageStore::indexOf(std::vector<T>& values, QHash<T, quint32>& indexes, const T& value)
{
    const auto found = indexes.constFind(value);
    if (found != indexes.cend())
        return *found;
    const auto index = quint32(values.size());
    values.push_back(value);
    indexes.insert(value, index);
    return index;
}

void PageStore::add(const PreparedPage& page)
{
    QByteArray bytes;
    Packer packer(bytes);
    const auto putRect = [&](const QRectF& r) {
        packer.put(float(r.y()));
        packer.putIndex(indexOf(shapes_, shapeIndexes_, Shape{float(r.x()), float(r.width()), float(r.height())}));
    };
    for (const Primitive& primitive : page.primitives) {
        if (const auto* box = std::get_if<Box>(&primitive)) {
            packer.put(Tag::Box);
            putRect(box->rectMm);
            packer.putIndex(indexOf(fills_, box->fill));
        } else if (const auto* line = std::get_if<Line>(&primitive)) {
            packer.put(Tag::Line);
            packer.put(line->lineMm);
            packer.putIndex(indexOf(pens_, line->pen));
        } else if (const auto* text = std::get_if<TextBox>(&primitive)) {
            packer.put(Tag::Text);
            putRect(text->rectMm);
            packer.putIndex(indexOf(fonts_, text->font));
            packer.putIndex(indexOf(alignments_, text->alignment));
            packer.putIndex(indexOf(texts_, textIndexes_, text->text));
        }
    }
    bytes.squeeze();
    pages_.push_back(std::move(bytes));
}

const PreparedPage& PageStore::page(size_t index) const
{
    if (index == unpackedIndex_)
        return unpacked_;
    unpacked_.primitives.clear();
    Unpacker unpacker(pages_[index]);
    const auto rect = [&] {
        const float top = unpacker.get<float>();
        const Shape& shape = shapes_[unpacker.index()];
        return QRectF(shape.left, top, shape.width, shape.height);
    };
    while (!unpacker.atEnd()) {
        switch (unpacker.get<Tag>()) {
        case Tag::Box: {
            const QRectF r = rect();
            unpacked_.primitives.push_back(Box{r, fills_[unpacker.index()]});
            break;
        }
        case Tag::Line: {
            const QLineF line = unpacker.line();
            unpacked_.primitives.push_back(Line{line, pens_[unpacker.index()]});
            break;
        }
        case Tag::Text: {
            const QRectF r = rect();
            const Font& font = fonts_[unpacker.index()];
            const Qt::Alignment alignment = alignments_[unpacker.index()];
            unpacked_.primitives.push_back(TextBox{r, texts_[unpacker.index()], font, alignment});
            break;
        }
        }
    }
    unpackedIndex_ = index;
    return unpacked_;
}

}  // namespace report
