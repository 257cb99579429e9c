// SPDX-License-Identifier: GPL-3.0-or-later
#include "itemlistfilter.h"

#include "itemlistmodel.h"
#include "itemlisttext.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <string_view>
#include <utility>

namespace {

// Each character of text, those outside the first plane whole.
template<class Visit>
void forEachCharacter(QStringView text, Visit visit)
{
    for (qsizetype i = 0, size = text.size(); i < size; ++i) {
        const char16_t unit = text[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < size && text[i + 1].isLowSurrogate())
            visit(QChar::surrogateToUcs4(unit, text[++i].unicode()));
        else
            visit(char32_t(unit));
    }
}

// Letters that keep no mark to drop once decomposed, as a reader types them without a mark.
QStringView spelledOut(char32_t c)
{
    static constexpr std::pair<char32_t, const char16_t *> spellings[] = {
            {U'ß', u"ss"}, {U'æ', u"ae"}, {U'œ', u"oe"}, {U'ø', u"o"}, {U'ð', u"d"}, {U'đ', u"d"},
            {U'ħ', u"h"},  {U'ı', u"i"},  {U'ł', u"l"},  {U'ŧ', u"t"}, {U'þ', u"th"}};
    const auto *found
            = std::ranges::find(spellings, c, &std::pair<char32_t, const char16_t *>::first);
    return found != std::end(spellings) ? QStringView(found->second) : QStringView();
}

// Calls put with each character that c folds to (see the class comment), white space included.
template<class Put>
void foldCharacter(char32_t c, Put put)
{
    if (c < 0x80) {
        put(c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c);
        return;
    }
    if (QChar::decompositionTag(c) != QChar::NoDecomposition) {
        forEachCharacter(QChar::decomposition(c),
                         [&put](char32_t part) { foldCharacter(part, put); });
        return;
    }
    // The accents that letters decompose into: they belong to the letter before.
    if (c >= 0x300 && c <= 0x36f)
        return;
    const char32_t folded = QChar::toCaseFolded(c);
    const QStringView spelled = spelledOut(folded);
    if (spelled.isEmpty())
        put(folded);
    else
        forEachCharacter(spelled, put);
}

// The folded forms of the characters below U+0800, the Latin, Greek and Cyrillic letters among
// them, worked out once: a name full of accents then folds nearly as fast as a plain one. None
// folds to more than three characters.
constexpr char32_t TableEnd = 0x800;
struct TableEntry
{
    std::array<char16_t, 3> text{};
    quint8 size = 0;
};
const std::array<TableEntry, TableEnd> &foldTable()
{
    static const auto table = [] {
        std::array<TableEntry, TableEnd> built;
        for (char32_t c = 0; c < TableEnd; ++c) {
            TableEntry &entry = built.at(c);
            foldCharacter(c, [&entry](char32_t folded) {
                Q_ASSERT(entry.size < entry.text.size() && !QChar::requiresSurrogates(folded));
                entry.text.at(entry.size++) = char16_t(folded);
            });
        }
        return built;
    }();
    return table;
}

// Writes the folded form of a text (see the class comment) into a buffer kept from name to name,
// and gives the part written. Every name is folded at every keystroke, so ASCII, nearly every
// name's whole text, takes a short way of its own.
class Folder
{
public:
    explicit Folder(std::u16string &buffer)
        : m_buffer(buffer)
        , m_table(foldTable())
    { }

    QStringView fold(QStringView text)
    {
        // Room for each character folded from the table, at most three, and the blank before
        // them; a character beyond the table makes room for what it folds to.
        if (m_buffer.size() < std::size_t(4 * text.size()))
            m_buffer.resize(4 * text.size());
        m_size = 0;
        m_blank = false;
        for (qsizetype i = 0, size = text.size(); i < size; ++i) {
            const char16_t unit = text[i].unicode();
            if (unit < 0x80)
                putAscii(unit);
            else if (QChar::isHighSurrogate(unit) && i + 1 < size && text[i + 1].isLowSurrogate())
                foldOther(QChar::surrogateToUcs4(unit, text[++i].unicode()));
            else
                foldOther(unit);
        }
        return QStringView(m_buffer.data(), qsizetype(m_size));
    }

private:
    void putAscii(char16_t c)
    {
        if (c == u' ' || (c >= u'\t' && c <= u'\r')) {
            m_blank = m_size > 0;
            return;
        }
        if (m_blank) {
            m_buffer[m_size++] = u' ';
            m_blank = false;
        }
        m_buffer[m_size++] = c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
    }

    void foldOther(char32_t c)
    {
        if (c < TableEnd) {
            const TableEntry &entry = m_table[c];
            for (quint8 i = 0; i < entry.size; ++i)
                put(entry.text[i]);
            return;
        }
        foldCharacter(c, [this](char32_t folded) {
            if (m_buffer.size() < m_size + 3) // the blank before, and two for a surrogate pair
                m_buffer.resize(2 * m_buffer.size() + 3);
            put(folded);
        });
    }

    void put(char32_t c)
    {
        if (c < 0x80) {
            putAscii(char16_t(c));
            return;
        }
        if (QChar::isSpace(c)) {
            m_blank = m_size > 0;
            return;
        }
        if (m_blank) {
            m_buffer[m_size++] = u' ';
            m_blank = false;
        }
        if (QChar::requiresSurrogates(c)) {
            m_buffer[m_size++] = QChar::highSurrogate(c);
            m_buffer[m_size++] = QChar::lowSurrogate(c);
        } else {
            m_buffer[m_size++] = char16_t(c);
        }
    }

    std::u16string &m_buffer;
    const std::array<TableEntry, TableEnd> &m_table;
    std::size_t m_size = 0;
    bool m_blank = false; // white space met since the last character put
};

QStringView fold(QStringView text, std::u16string &buffer)
{
    return Folder(buffer).fold(text);
}

} // namespace

ItemListFilter::ItemListFilter(const ItemListModel *entries, QObject *parent)
    : QAbstractListModel(parent)
    , m_entries(entries)
{
    // The list is filled once, before it is first opened; should it change anyway, the rows
    // shown are worked out afresh rather than patched.
    const auto changed = [this] {
        beginResetModel();
        refilter(false);
        endResetModel();
    };
    connect(entries, &QAbstractItemModel::rowsInserted, this, changed);
    connect(entries, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(entries, &QAbstractItemModel::modelReset, this, changed);
    connect(entries, &QAbstractItemModel::dataChanged, this, changed);
}

int ItemListFilter::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return showsAll() ? m_entries->rowCount() : int(m_shown.size());
}

QVariant ItemListFilter::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    const int shown = entry(index.row());
    if (role == Qt::DisplayRole)
        return shownName(m_entries->name(shown));
    return m_entries->data(m_entries->index(shown), role);
}

Qt::ItemFlags ItemListFilter::flags(const QModelIndex &index) const
{
    return m_entries->flags(m_entries->index(entry(index.row())));
}

void ItemListFilter::setText(const QString &text)
{
    if (text == m_text)
        return;
    QString folded = fold(text, m_key).toString();
    QStringList words = folded.split(u' ', Qt::SkipEmptyParts);
    // Typing on narrows what is shown: where each word typed before lies within a word typed
    // now, a name that holds the new words holds the old ones too, so only the rows already
    // shown need a look.
    const bool narrowing
            = !m_words.isEmpty() && std::ranges::all_of(m_words, [&](const QString &old) {
                  return std::ranges::any_of(
                          words, [&](const QString &word) { return word.contains(old); });
              });
    beginResetModel();
    m_text = text;
    m_folded = std::move(folded);
    m_words = std::move(words);
    refilter(narrowing);
    endResetModel();
}

int ItemListFilter::entry(int row) const
{
    if (row < 0 || row >= rowCount())
        return -1;
    return showsAll() ? row : m_shown.at(row);
}

int ItemListFilter::row(int entry) const
{
    if (entry < 0 || entry >= m_entries->rowCount())
        return -1;
    if (showsAll())
        return entry;
    // A search through the rows shown; the list asks only while every entry is shown.
    const auto it = std::ranges::find(m_shown, entry);
    return it != m_shown.cend() ? int(it - m_shown.cbegin()) : -1;
}

void ItemListFilter::refilter(bool withinShown)
{
    if (showsAll()) {
        // The memory goes back, a long name's folded form with it.
        m_shown = QList<int>();
        m_key = std::u16string();
        m_exactEnd = m_startEnd = 0;
        return;
    }
    std::array<QList<int>, None> groups;
    const auto consider = [&](int entry) {
        const Rank r = rank(entry);
        if (r != None)
            groups.at(r).append(entry);
    };
    if (withinShown) {
        // The rows shown before, their groups merged back into the list's order.
        const auto exact = m_shown.cbegin() + m_exactEnd;
        const auto start = m_shown.cbegin() + m_startEnd;
        QList<int> firstTwo;
        QList<int> candidates;
        std::merge(m_shown.cbegin(), exact, exact, start, std::back_inserter(firstTwo));
        std::merge(firstTwo.cbegin(), firstTwo.cend(), start, m_shown.cend(),
                   std::back_inserter(candidates));
        for (int entry : std::as_const(candidates))
            consider(entry);
    } else {
        for (int entry = 0, count = m_entries->rowCount(); entry < count; ++entry)
            consider(entry);
    }
    m_exactEnd = groups[Exact].size();
    m_startEnd = m_exactEnd + groups[Start].size();
    m_shown = std::move(groups[Exact]);
    m_shown += groups[Start];
    m_shown += groups[Within];
}

ItemListFilter::Rank ItemListFilter::rank(int entry)
{
    const QStringView key = fold(m_entries->name(entry), m_key);
    // The standard library's search rather than the toolkit's, which takes longer to set out on
    // a short name: every name is searched at every keystroke.
    const std::u16string_view name(key.utf16(), key.size());
    for (const QStringView word : std::as_const(m_words)) {
        if (name.find(std::u16string_view(word.utf16(), word.size())) == std::u16string_view::npos)
            return None;
    }
    if (key == m_folded)
        return Exact;
    return key.startsWith(m_folded) ? Start : Within;
}
