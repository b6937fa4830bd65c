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
    void put(const QRectF& r) { putFour(r.x(), r.y(), r.width(), r.height()); }
    void put(const QLineF& l) { putFour(l.x1(), l.y1(), l.x2(), l.y2()); }

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
    QRectF rect()
    {
        const float x = get<float>(), y = get<float>(), w = get<float>(), h = get<float>();
        return {x, y, w, h};
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

quint32 PageStore::textIndex(const QString& text)
{
    const auto found = textIndexes_.constFind(text);
    if (found != textIndexes_.cend())
        return *found;
    const auto index = quint32(texts_.size());
    texts_.push_back(text);
    textIndexes_.insert(text, index);
    return index;
}

void PageStore::add(const PreparedPage& page)
{
    QByteArray bytes;
    Packer packer(bytes);
    for (const Primitive& primitive : page.primitives) {
        if (const auto* box = std::get_if<Box>(&primitive)) {
            packer.put(Tag::Box);
            packer.put(box->rectMm);
            packer.put(indexOf(fills_, box->fill));
        } else if (const auto* line = std::get_if<Line>(&primitive)) {
            packer.put(Tag::Line);
            packer.put(line->lineMm);
            packer.put(indexOf(pens_, line->pen));
        } else if (const auto* text = std::get_if<TextBox>(&primitive)) {
            packer.put(Tag::Text);
            packer.put(text->rectMm);
            packer.put(indexOf(fonts_, text->font));
            packer.put(indexOf(alignments_, text->alignment));
            packer.put(textIndex(text->text));
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
    while (!unpacker.atEnd()) {
        switch (unpacker.get<Tag>()) {
        case Tag::Box: {
            const QRectF rect = unpacker.rect();
            unpacked_.primitives.push_back(Box{rect, fills_[unpacker.get<quint32>()]});
            break;
        }
        case Tag::Line: {
            const QLineF line = unpacker.line();
            unpacked_.primitives.push_back(Line{line, pens_[unpacker.get<quint32>()]});
            break;
        }
        case Tag::Text: {
            const QRectF rect = unpacker.rect();
            const Font& font = fonts_[unpacker.get<quint32>()];
            const Qt::Alignment alignment = alignments_[unpacker.get<quint32>()];
            unpacked_.primitives.push_back(TextBox{rect, texts_[unpacker.get<quint32>()], font, alignment});
            break;
        }
        }
    }
    unpackedIndex_ = index;
    return unpacked_;
}

}  // namespace report
