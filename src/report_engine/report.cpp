#include "report.h"

#include <QHash>
#include <QRegularExpression>
#include <utility>

namespace report {

namespace {

constexpr double kEpsilonMm = 1e-6;

// Every field the layout names gets a number of its own; preparation finds each in the
// source once and reads the record into a row of values by those numbers.
class FieldTable : public FieldResolver {
public:
    struct Entry {
        QString name;
        QStringList qualifiers;  // as written before the dot, where one was
    };

    int resolve(const QString& qualifier, const QString& name) override
    {
        const QString key = name.toLower();
        auto found = numbers_.constFind(key);
        const int number = found != numbers_.cend() ? *found : int(entries.size());
        if (found == numbers_.cend()) {
            numbers_.insert(key, number);
            entries.push_back({name, {}});
        }
        if (!qualifier.isEmpty())
            entries[size_t(number)].qualifiers << qualifier;
        return number;
    }

    std::vector<Entry> entries;

private:
    QHash<QString, int> numbers_;
};

struct CompiledItem {
    Item::Kind kind = Item::Kind::Text;
    QString text;
    Expression expression;
    std::optional<NumberMask> mask;
    QRectF rectMm;  // x from the paper's left edge, y from the top of the band
    Font font;
    Qt::Alignment alignment;
    QColor fill;
    Frame frame;
    QString name;
    bool pageDependent = false;
};

struct CompiledBand {
    double heightMm = 0;
    std::vector<CompiledItem> items;
    QColor fill;
    Frame frame;
    std::vector<CompiledBand> children;
};

struct CompiledGroup {
    Expression key;
    std::optional<CompiledBand> header;
    std::optional<CompiledBand> footer;
    bool keepTogether = false;
};

template <typename Visit>
void forEachItem(CompiledBand& band, Visit&& visit)
{
    for (CompiledItem& item : band.items)
        visit(item);
    for (CompiledBand& child : band.children)
        forEachItem(child, visit);
}

template <typename Visit>
void forEachItem(const CompiledBand& band, Visit&& visit)
{
    for (const CompiledItem& item : band.items)
        visit(item);
    for (const CompiledBand& child : band.children)
        forEachItem(child, visit);
}

// The sums a band prints, by slot.
std::vector<int> sumSlots(const CompiledBand& band)
{
    std::vector<int> resets;
    forEachItem(band, [&](const CompiledItem& item) {
        for (const auto& [slot, argument] : item.expression.aggregates())
            resets.push_back(slot);
    });
    return resets;
}

bool isFieldName(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^[\\p{L}_][\\p{L}\\p{N}_]*(\\.[\\p{L}_][\\p{L}\\p{N}_]*)?$"));
    return pattern.match(name).hasMatch();
}

}  // namespace

struct Report::Compiled {
    ReportDefinition definition;
    std::optional<CompiledBand> reportHeader;
    std::optional<CompiledBand> reportFooter;
    std::optional<CompiledBand> pageHeader;
    std::optional<CompiledBand> pageFooter;
    std::optional<CompiledBand> detail;
    std::vector<CompiledGroup> groups;
    std::vector<std::vector<int>> footerSums;  // per group: the sums reset after its footer
    FieldTable fields;
    int sumCount = 0;
    std::vector<std::pair<int, const Expression::Node*>> sums;  // slot and what it adds up

    explicit Compiled(ReportDefinition d) : definition(std::move(d)) { compile(); }

    void compile()
    {
        const Font& base = definition.baseFont;
        reportHeader = compileBand(definition.reportHeader, base, QStringLiteral("заголовок отчета"));
        pageHeader = compileBand(definition.pageHeader, base, QStringLiteral("заголовок страницы"));
        for (size_t g = 0; g < definition.groups.size(); ++g)
            groups.push_back(compileGroup(definition.groups[g], int(g) + 1));
        detail = compileBand(definition.detail, base, QStringLiteral("данные"));
        reportFooter = compileBand(definition.reportFooter, base, QStringLiteral("итог отчета"));
        pageFooter = compileBand(definition.pageFooter, base, QStringLiteral("низ страницы"));
        for (const CompiledGroup& group : groups)
            footerSums.push_back(group.footer ? sumSlots(*group.footer) : std::vector<int>{});
        collectSums();
    }

    CompiledGroup compileGroup(const Group& group, int number)
    {
        const QString where = QStringLiteral("группа %1").arg(number);
        CompiledGroup compiled;
        compiled.key = parsed(group.expression, where);
        compiled.key.bind(fields);
        compiled.header = compileBand(group.header, definition.baseFont, where + QStringLiteral(", заголовок"));
        compiled.footer = compileBand(group.footer, definition.baseFont, where + QStringLiteral(", итог"));
        compiled.keepTogether = group.keepTogether;
        return compiled;
    }

    std::optional<CompiledBand> compileBand(const std::optional<Band>& band, const Font& inherited, const QString& where)
    {
        if (!band)
            return std::nullopt;
        return compileBand(*band, inherited, where);
    }

    CompiledBand compileBand(const Band& band, const Font& inherited, const QString& where)
    {
        CompiledBand compiled;
        compiled.heightMm = band.heightMm;
        compiled.fill = band.fill;
        compiled.frame = band.frame;
        const Font font = band.font.appliedTo(inherited);
        for (size_t i = 0; i < band.items.size(); ++i)
            compiled.items.push_back(compileItem(band.items[i], band, font, QStringLiteral("%1, элемент %2").arg(where).arg(i + 1)));
        for (size_t i = 0; i < band.children.size(); ++i)
            compiled.children.push_back(compileBand(band.children[i], font, QStringLiteral("%1, дочерняя полоса %2").arg(where).arg(i + 1)));
        return compiled;
    }

    CompiledItem compileItem(const Item& item, const Band& band, const Font& bandFont, const QString& where)
    {
        CompiledItem compiled;
        compiled.kind = item.kind;
        compiled.text = item.text;
        compiled.name = item.name;
        compiled.font = item.font.appliedTo(bandFont);
        compiled.alignment = item.alignment;
        if (!(compiled.alignment & Qt::AlignVertical_Mask))
            compiled.alignment |= Qt::AlignVCenter;
        compiled.fill = item.fill;
        compiled.frame = item.frame;
        const PageSetup& page = definition.page;
        const double width = item.widthMm > 0 ? item.widthMm : page.printableWidthMm() - item.leftMm;
        const double height = item.heightMm > 0 ? item.heightMm : band.heightMm - item.topMm;
        compiled.rectMm = QRectF(page.leftMm + item.leftMm, item.topMm, width, height);
        switch (item.kind) {
        case Item::Kind::Text:
            break;
        case Item::Kind::Field:
            if (!isFieldName(item.text))
                throw DefinitionError(QStringLiteral("%1: «%2» не имя поля").arg(where, item.text));
            compiled.expression = parsed(item.text, where);
            break;
        case Item::Kind::Expression:
            compiled.expression = parsed(item.text, where);
            break;
        case Item::Kind::PageNumber:
            compiled.expression = parsed(QStringLiteral("PAGENUMBER"), where);
            break;
        }
        if (!item.mask.isEmpty())
            compiled.mask = parsedMask(item.mask, where);
        compiled.expression.bind(fields);
        sumCount = compiled.expression.numberAggregates(sumCount);
        compiled.pageDependent = compiled.expression.usesPageNumber();
        return compiled;
    }

    static Expression parsed(const QString& source, const QString& where)
    {
        try {
            return Expression::parse(source);
        } catch (const DefinitionError& error) {
            throw DefinitionError(QStringLiteral("%1: %2").arg(where, error.message()));
        }
    }

    static NumberMask parsedMask(const QString& mask, const QString& where)
    {
        try {
            return NumberMask::parse(mask);
        } catch (const DefinitionError& error) {
            throw DefinitionError(QStringLiteral("%1: %2").arg(where, error.message()));
        }
    }

    void collectSums()
    {
        forEachBand([&](const CompiledBand& band) {
            forEachItem(band, [&](const CompiledItem& item) {
                for (const auto& sum : item.expression.aggregates())
                    sums.push_back(sum);
            });
        });
    }

    template <typename Visit>
    void forEachBand(Visit&& visit)
    {
        for (auto* band : {&reportHeader, &pageHeader, &detail, &reportFooter, &pageFooter})
            if (*band)
                visit(**band);
        for (CompiledGroup& group : groups) {
            if (group.header)
                visit(*group.header);
            if (group.footer)
                visit(*group.footer);
        }
    }

    std::vector<CompiledItem*> textItemsNamed(const QString& name)
    {
        std::vector<CompiledItem*> found;
        forEachBand([&](CompiledBand& band) {
            forEachItem(band, [&](CompiledItem& item) {
                if (item.kind == Item::Kind::Text && item.name == name)
                    found.push_back(&item);
            });
        });
        return found;
    }
};

namespace {

// The values a band printed later is evaluated with: those of the record it belongs to.
struct Snapshot {
    std::vector<Value> row;
    std::vector<double> sums;
};

class SnapshotContext : public EvaluationContext {
public:
    SnapshotContext(const Snapshot& snapshot, int page) : snapshot_(snapshot), page_(page) {}
    Value fieldValue(int field) const override { return snapshot_.row[size_t(field)]; }
    double aggregate(int slot) const override { return snapshot_.sums[size_t(slot)]; }
    int pageNumber() const override { return page_; }

private:
    const Snapshot& snapshot_;
    int page_;
};

// An item whose text waits for its page number.
struct Deferred {
    const CompiledItem* item;
    size_t primitive;
    std::shared_ptr<const Snapshot> snapshot;
};

struct BandInstance {
    double heightMm = 0;
    std::vector<Primitive> primitives;  // y from the top of the band
    std::vector<Deferred> deferred;
    bool keepWithNext = false;  // goes on the page of the band after it
};

struct KeepRange {
    size_t begin;
    size_t end;
};

void moveDown(Primitive& primitive, double dy)
{
    std::visit(
        [dy](auto& p) {
            using P = std::decay_t<decltype(p)>;
            if constexpr (std::is_same_v<P, Line>)
                p.lineMm.translate(0, dy);
            else
                p.rectMm.translate(0, dy);
        },
        primitive);
}

void addFrame(std::vector<Primitive>& primitives, const QRectF& r, const Frame& frame)
{
    if (frame.left)
        primitives.push_back(Line{QLineF(r.topLeft(), r.bottomLeft()), frame.pen});
    if (frame.top)
        primitives.push_back(Line{QLineF(r.topLeft(), r.topRight()), frame.pen});
    if (frame.right)
        primitives.push_back(Line{QLineF(r.topRight(), r.bottomRight()), frame.pen});
    if (frame.bottom)
        primitives.push_back(Line{QLineF(r.bottomLeft(), r.bottomRight()), frame.pen});
}

bool sameKey(const Value& a, const Value& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    if (a.type == Value::Type::Text || b.type == Value::Type::Text)
        return a.asText() == b.asText();
    return a.number == b.number;
}

}  // namespace

class Preparation : public EvaluationContext {
public:
    Preparation(const Report::Compiled& compiled, RowSource& rows)
        : c_(compiled), rows_(rows), page_(compiled.definition.page)
    {
        prepared_.title = compiled.definition.title;
        prepared_.page = page_;
        const QSizeF paper = page_.paperSizeMm();
        bodyTop_ = page_.topMm + (c_.pageHeader ? c_.pageHeader->heightMm : 0);
        bodyBottom_ = paper.height() - page_.bottomMm - (c_.pageFooter ? c_.pageFooter->heightMm : 0);
        sums_.assign(size_t(c_.sumCount), 0.0);
        findFields();
    }

    // One record at a time, so that the pages made so far can be shown meanwhile.
    void step()
    {
        if (!started_) {
            started_ = true;
            if (!rows_.atEnd())
                beginRecords();
            else
                finish();
            return;
        }
        printRecord();
    }

    bool finished() const { return finished_; }
    const PreparedReport& prepared() const { return prepared_; }
    PreparedReport take() { return std::move(prepared_); }
    // A complete page handed over; its place stays, empty, for the page count.
    PreparedPage takePage(size_t index) { return std::exchange(prepared_.pages[index], PreparedPage{}); }

    Value fieldValue(int field) const override { return (*values_)[size_t(field)]; }
    double aggregate(int slot) const override { return sums_[size_t(slot)]; }
    int pageNumber() const override { return int(prepared_.pages.size()); }

private:
    void findFields()
    {
        const QString source = rows_.sourceName();
        for (const FieldTable::Entry& entry : c_.fields.entries) {
            for (const QString& qualifier : entry.qualifiers)
                if (qualifier.compare(source, Qt::CaseInsensitive) != 0)
                    throw DefinitionError(QStringLiteral("Поле «%1.%2»: отчет строится по «%3»").arg(qualifier, entry.name, source));
            const int index = rows_.fieldIndex(entry.name);
            if (index < 0)
                throw DefinitionError(QStringLiteral("В «%1» нет поля «%2»").arg(source, entry.name));
            sourceIndex_.push_back(index);
        }
        row_.resize(sourceIndex_.size());
        previous_.resize(sourceIndex_.size());
        empty_.resize(sourceIndex_.size());
    }

    void readRecord()
    {
        for (size_t f = 0; f < sourceIndex_.size(); ++f)
            row_[f] = rows_.value(sourceIndex_[f]);
    }

    // ---- records, groups and bands ----

    void beginRecords()
    {
        readRecord();
        values_ = &row_;
        print(c_.reportHeader);
        keys_.resize(c_.groups.size());
        openGroups(0);
    }

    void printRecord()
    {
        addToSums();
        print(c_.detail);
        rows_.next();
        if (rows_.atEnd()) {
            closeGroups(0);
            print(c_.reportFooter);
            finish();
            return;
        }
        std::swap(previous_, row_);
        readRecord();
        const size_t changed = firstChangedGroup();
        if (changed < c_.groups.size()) {
            values_ = &previous_;
            closeGroups(changed);
            values_ = &row_;
            openGroups(changed);
        }
    }

    void finish()
    {
        if (prepared_.pages.empty() && c_.definition.printWhenEmpty)
            newPage();
        closePage();
        finished_ = true;
    }

    size_t firstChangedGroup() const
    {
        for (size_t g = 0; g < c_.groups.size(); ++g)
            if (!sameKey(keys_[g], c_.groups[g].key.evaluate(*this)))
                return g;
        return c_.groups.size();
    }

    // Headers from `from` in to the innermost group. A header goes on the page of what
    // follows it: the next header in, or the group's first record.
    void openGroups(size_t from)
    {
        holding_ = !c_.groups.empty();
        for (size_t g = from; g < c_.groups.size(); ++g) {
            const CompiledGroup& group = c_.groups[g];
            keys_[g] = group.key.evaluate(*this);
            if (group.keepTogether)
                keepStarts_.push_back(held_.size());
            print(group.header, true);
        }
    }

    // Footers from the innermost group out to `to`, each followed by the reset of its sums.
    // A footer goes on the page of what it closes: the last footer in, or the last record.
    // Once the outermost group is closed its bands are placed on pages.
    void closeGroups(size_t to)
    {
        for (size_t g = c_.groups.size(); g-- > to;) {
            const CompiledGroup& group = c_.groups[g];
            if (group.footer && !held_.empty())
                held_.back().keepWithNext = true;
            print(group.footer);
            for (int slot : c_.footerSums[g])
                sums_[size_t(slot)] = 0;
            if (group.keepTogether) {
                keeps_.push_back({keepStarts_.back(), held_.size()});
                keepStarts_.pop_back();
            }
        }
        if (to == 0)
            placeHeld();
    }

    void addToSums()
    {
        for (const auto& [slot, argument] : c_.sums)
            sums_[size_t(slot)] += Expression::evaluate(*argument, *this).asNumber();
    }

    void print(const std::optional<CompiledBand>& band, bool keepWithNext = false)
    {
        if (band)
            print(*band, keepWithNext);
    }

    // A band's children go on its page.
    void print(const CompiledBand& band, bool keepWithNext = false)
    {
        BandInstance made = instance(band, false);
        made.keepWithNext = keepWithNext || !band.children.empty();
        add(std::move(made));
        for (size_t c = 0; c < band.children.size(); ++c)
            print(band.children[c], keepWithNext || c + 1 < band.children.size());
    }

    BandInstance instance(const CompiledBand& band, bool pageKnown)
    {
        BandInstance made;
        made.heightMm = band.heightMm;
        made.primitives.reserve(band.items.size() * 2 + 3);
        const QRectF bandRect(page_.leftMm, 0, page_.printableWidthMm(), band.heightMm);
        if (band.fill.isValid())
            made.primitives.push_back(Box{bandRect, band.fill});
        std::shared_ptr<const Snapshot> snapshot;
        for (const CompiledItem& item : band.items) {
            if (item.fill.isValid())
                made.primitives.push_back(Box{item.rectMm, item.fill});
            if (item.pageDependent && !pageKnown) {
                if (!snapshot)
                    snapshot = std::make_shared<const Snapshot>(Snapshot{*values_, sums_});
                made.deferred.push_back({&item, made.primitives.size(), snapshot});
                made.primitives.push_back(TextBox{item.rectMm, {}, item.font, item.alignment});
            } else if (QString text = itemText(item, *this); !text.isEmpty()) {
                made.primitives.push_back(TextBox{item.rectMm, std::move(text), item.font, item.alignment});
            }
            addFrame(made.primitives, item.rectMm, item.frame);
        }
        addFrame(made.primitives, bandRect, band.frame);
        return made;
    }

    static QString itemText(const CompiledItem& item, const EvaluationContext& context)
    {
        if (item.kind == Item::Kind::Text)
            return item.text;
        return printedText(item.expression.evaluate(context), item.mask ? &*item.mask : nullptr);
    }

    // ---- pagination ----

    // Bands of an open group wait until the outermost group is closed: only then is it
    // known what each must share a page with.
    void add(BandInstance band)
    {
        if (holding_)
            held_.push_back(std::move(band));
        else
            place(band);
    }

    // Each band goes with its block: the bands kept with it (a header with what follows,
    // the band before a footer with the footer) and every kept group that begins among
    // them, as long as the block fits on a page. A block that does not fit the rest of
    // the page starts a new one. One taller than a page runs over pages, but the bands
    // kept with one another still share a page.
    void placeHeld()
    {
        holding_ = false;
        openFirstPage();
        measureHeld();
        for (size_t i = 0; i < held_.size();) {
            const bool keptWithPrevious = i > 0 && held_[i - 1].keepWithNext;
            const size_t end = keptWithPrevious ? i + 1 : blockEnd(i);
            const size_t kept = heightOf(i, end) <= fullBody() + kEpsilonMm ? end : chainEnd(i);
            const double height = heightOf(i, kept);
            if (!keptWithPrevious && height <= fullBody() + kEpsilonMm && height > remaining() + kEpsilonMm && pageHasBody())
                newPage();
            for (const size_t next = end == kept ? end : i + 1; i < next; ++i)
                place(held_[i]);
        }
        held_.clear();
        keeps_.clear();
    }

    // Band tops within the held bands, and for each band the end of the longest kept group
    // that begins with it and fits on a page.
    void measureHeld()
    {
        tops_.assign(held_.size() + 1, 0);
        for (size_t i = 0; i < held_.size(); ++i)
            tops_[i + 1] = tops_[i] + held_[i].heightMm;
        fittingKeepEnd_.assign(held_.size(), 0);
        for (const KeepRange& keep : keeps_)
            if (heightOf(keep.begin, keep.end) <= fullBody() + kEpsilonMm)
                fittingKeepEnd_[keep.begin] = std::max(fittingKeepEnd_[keep.begin], keep.end);
    }

    double heightOf(size_t begin, size_t end) const { return tops_[end] - tops_[begin]; }

    size_t chainEnd(size_t begin) const
    {
        size_t end = begin + 1;
        while (end < held_.size() && held_[end - 1].keepWithNext)
            ++end;
        return end;
    }

    size_t blockEnd(size_t begin) const
    {
        size_t end = begin + 1;
        for (size_t i = begin; i < end; ++i) {
            end = std::max(end, fittingKeepEnd_[i]);
            if (held_[i].keepWithNext && i + 1 == end && end < held_.size())
                ++end;
        }
        return end;
    }

    double fullBody() const { return bodyBottom_ - bodyTop_; }
    double remaining() const { return bodyBottom_ - y_; }
    bool pageHasBody() const { return y_ > bodyTop_ + kEpsilonMm; }

    void openFirstPage()
    {
        if (prepared_.pages.empty())
            newPage();
    }

    void place(BandInstance& band)
    {
        openFirstPage();
        if (band.heightMm > remaining() + kEpsilonMm && pageHasBody())
            newPage();
        putOnPage(band, y_);
        y_ += band.heightMm;
    }

    void putOnPage(BandInstance& band, double top)
    {
        for (const Deferred& d : band.deferred) {
            const SnapshotContext context(*d.snapshot, pageNumber());
            std::get<TextBox>(band.primitives[d.primitive]).text = itemText(*d.item, context);
        }
        auto& primitives = prepared_.pages.back().primitives;
        for (Primitive& primitive : band.primitives) {
            moveDown(primitive, top);
            primitives.push_back(std::move(primitive));
        }
    }

    void newPage()
    {
        closePage();
        // A page mostly holds as many primitives as the one before it.
        const size_t expected = prepared_.pages.empty() ? 256 : prepared_.pages.back().primitives.size();
        prepared_.pages.emplace_back();
        prepared_.pages.back().primitives.reserve(expected);
        y_ = bodyTop_;
        if (c_.pageHeader)
            putPageBand(*c_.pageHeader, page_.topMm);
    }

    void closePage()
    {
        if (!prepared_.pages.empty() && c_.pageFooter)
            putPageBand(*c_.pageFooter, bodyBottom_);
    }

    // Page headers and footers belong to no record: their fields read null.
    void putPageBand(const CompiledBand& band, double top)
    {
        const std::vector<Value>* saved = values_;
        values_ = &empty_;
        BandInstance made = instance(band, true);
        values_ = saved;
        putOnPage(made, top);
    }

    const Report::Compiled& c_;
    RowSource& rows_;
    const PageSetup& page_;
    PreparedReport prepared_;

    std::vector<int> sourceIndex_;
    std::vector<Value> row_, previous_, empty_;
    const std::vector<Value>* values_ = &empty_;
    std::vector<double> sums_;
    std::vector<Value> keys_;

    double bodyTop_ = 0;
    double bodyBottom_ = 0;
    double y_ = 0;
    bool holding_ = false;
    std::vector<BandInstance> held_;  // bands of an unfinished outermost group
    std::vector<size_t> keepStarts_;  // where the kept groups still open began
    std::vector<KeepRange> keeps_;    // kept groups among the held bands
    std::vector<double> tops_;
    std::vector<size_t> fittingKeepEnd_;
    bool started_ = false;
    bool finished_ = false;
};

Report::Report(ReportDefinition definition) : compiled_(std::make_unique<Compiled>(std::move(definition))) {}

Report::~Report() = default;
Report::Report(Report&&) noexcept = default;
Report& Report::operator=(Report&&) noexcept = default;

const ReportDefinition& Report::definition() const { return compiled_->definition; }

void Report::setTitle(const QString& title) { compiled_->definition.title = title; }

void Report::setText(const QString& itemName, const QString& text)
{
    const auto items = compiled_->textItemsNamed(itemName);
    if (items.empty())
        throw DefinitionError(QStringLiteral("В отчете нет текста «%1»").arg(itemName));
    for (CompiledItem* item : items)
        item->text = text;
}

QString Report::text(const QString& itemName) const
{
    const auto items = compiled_->textItemsNamed(itemName);
    if (items.empty())
        throw DefinitionError(QStringLiteral("В отчете нет текста «%1»").arg(itemName));
    return items.front()->text;
}

PreparedReport Report::prepare(RowSource& rows) const
{
    Preparation preparation(*compiled_, rows);
    while (!preparation.finished())
        preparation.step();
    return preparation.take();
}

PageMaker::PageMaker(const Report& report, RowSource& rows)
    : preparation_(std::make_unique<Preparation>(*report.compiled_, rows))
{
}

PageMaker::~PageMaker() = default;

void PageMaker::makePages(int count)
{
    const size_t wanted = completePages() + size_t(count);
    while (!finished() && completePages() < wanted)
        step();
}

void PageMaker::finish()
{
    while (!finished())
        step();
}

void PageMaker::step()
{
    preparation_->step();
    const size_t made = preparation_->prepared().pages.size();
    // The last page takes bands until the next one begins.
    const size_t complete = finished() || made == 0 ? made : made - 1;
    while (store_.size() < complete)
        store_.add(preparation_->takePage(store_.size()));
}

bool PageMaker::finished() const { return preparation_->finished(); }

size_t PageMaker::completePages() const { return store_.size(); }

const PreparedPage& PageMaker::page(size_t index) const { return store_.page(index); }

const QString& PageMaker::title() const { return preparation_->prepared().title; }

const PageSetup& PageMaker::pageSetup() const { return preparation_->prepared().page; }

PreparedReport allPages(PageSource& source)
{
    source.finish();
    PreparedReport all{source.title(), source.pageSetup(), {}};
    all.pages.reserve(source.completePages());
    for (size_t p = 0; p < source.completePages(); ++p)
        all.pages.push_back(source.page(p));
    return all;
}

}  // namespace report
