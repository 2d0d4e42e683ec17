#include "analysis/SearchText.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace tallybrook {

namespace {

// Non-spacing and enclosing marks are what accents, cedillas and the like decompose into;
// spacing marks carry vowels in several scripts and stay.
bool isDroppedMark(char32_t c) {
    const QChar::Category category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing;
}

void appendCodePoint(QString& out, char32_t c) {
    if (QChar::requiresSurrogates(c)) {
        out.append(QChar(QChar::highSurrogate(c)));
        out.append(QChar(QChar::lowSurrogate(c)));
    } else {
        out.append(QChar(char16_t(c)));
    }
}

// The general path: decompose the run, then fold it code point by code point. Unpaired
// surrogates are kept as they are (they never match typed text, and both sides keep them).
void appendFoldedRun(QString& out, QStringView run) {
    const QString decomposed = run.toString().normalized(QString::NormalizationForm_D);
    const qsizetype size = decomposed.size();
    const QChar* data = decomposed.constData();
    for (qsizetype i = 0; i < size; ++i) {
        char32_t c = data[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < size && data[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(data[i].unicode(), data[i + 1].unicode());
            ++i;
        } else if (QChar::isSurrogate(c)) {
            out.append(data[i]);
            continue;
        }
        if (!isDroppedMark(c)) {
            appendCodePoint(out, QChar::toLower(QChar::toCaseFolded(c)));
        }
    }
}

// Latin-1 and the Latin Extended blocks (below U+0250) are starters whose decomposition is one
// letter followed by non-spacing marks, so each folds to one code unit on its own and can be
// looked up. Folding them one by one gives the text that decomposing the whole string gives:
// canonical reordering never moves a mark across a starter, and the marks they decompose
// into are dropped anyway.
constexpr char16_t tableStart = 0x80;
constexpr char16_t tableEnd = 0x250;

const std::array<char16_t, tableEnd - tableStart>& latinFoldTable() {
    static const std::array<char16_t, tableEnd - tableStart> table = [] {
        std::array<char16_t, tableEnd - tableStart> result{};
        for (char16_t c = tableStart; c < tableEnd; ++c) {
            QString folded;
            const QChar single(c);
            appendFoldedRun(folded, QStringView(&single, 1));
            // 0 sends the character down the general path (none is expected here).
            result[c - tableStart] = folded.size() == 1 ? folded.at(0).unicode() : char16_t(0);
        }
        return result;
    }();
    return table;
}

// Folds a character of the fast path into `folded`; false when it needs the general path.
inline bool foldFast(char16_t c, const std::array<char16_t, tableEnd - tableStart>& table, char16_t& folded) {
    if (c < tableStart) {
        folded = (c >= u'A' && c <= u'Z') ? char16_t(c + (u'a' - u'A')) : c;
        return true;
    }
    folded = c < tableEnd ? table[c - tableStart] : char16_t(0);
    return folded != 0;
}

} // namespace

void appendFoldedSearchText(QString& out, QStringView text) {
    const auto& table = latinFoldTable();
    const qsizetype size = text.size();
    const char16_t* source = text.utf16();
    qsizetype i = 0;
    while (i < size) {
        // Fast stretch, written straight into the output (one unit per unit at most).
        const qsizetype start = out.size();
        out.resize(start + (size - i));
        char16_t* const first = reinterpret_cast<char16_t*>(out.data()) + start;
        char16_t* cursor = first;
        char16_t folded = 0;
        for (; i < size && foldFast(source[i], table, folded); ++i) {
            *cursor++ = folded;
        }
        out.resize(start + (cursor - first));
        if (i == size) {
            break;
        }
        // Every character of the fast path is a starter: the general run ends at the next one.
        const qsizetype runStart = i;
        char16_t ignored = 0;
        while (i < size && !foldFast(source[i], table, ignored)) {
            ++i;
        }
        appendFoldedRun(out, text.sliced(runStart, i - runStart));
    }
}

QString foldedSearchText(QStringView text) {
    const QStringView trimmed = text.trimmed(); // same rule as trimmedText (QChar::isSpace)
    QString out;
    out.reserve(trimmed.size());
    appendFoldedSearchText(out, trimmed);
    return out;
}

void appendSearchBytes(QByteArray& out, QStringView text) {
    const qsizetype start = out.size();
    out.resize(start + text.size() * 3);
    char* const first = out.data() + start;
    char* cursor = first;
    const qsizetype size = text.size();
    const char16_t* source = text.utf16();
    for (qsizetype i = 0; i < size; ++i) {
        char32_t c = source[i];
        if (c < 0x80) {
            *cursor++ = char(c);
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < size && QChar::isLowSurrogate(source[i + 1])) {
            c = QChar::surrogateToUcs4(char16_t(c), source[i + 1]);
            ++i;
            *cursor++ = char(0xF0 | (c >> 18));
            *cursor++ = char(0x80 | ((c >> 12) & 0x3F));
            *cursor++ = char(0x80 | ((c >> 6) & 0x3F));
            *cursor++ = char(0x80 | (c & 0x3F));
        } else if (c < 0x800) {
            *cursor++ = char(0xC0 | (c >> 6));
            *cursor++ = char(0x80 | (c & 0x3F));
        } else {
            // Also an unpaired surrogate, as the three bytes its value would take.
            *cursor++ = char(0xE0 | (c >> 12));
            *cursor++ = char(0x80 | ((c >> 6) & 0x3F));
            *cursor++ = char(0x80 | (c & 0x3F));
        }
    }
    out.resize(start + (cursor - first));
}

QByteArray searchBytes(QStringView text) {
    QByteArray out;
    appendSearchBytes(out, text);
    return out;
}

void appendJoinedSearchFields(QString& out, std::initializer_list<SearchField> fields) {
    bool first = true;
    for (const SearchField& field : fields) {
        if (!field) {
            continue;
        }
        if (!first) {
            out.append(u' ');
        }
        out.append(*field);
        first = false;
    }
}

QString foldedSearchHaystack(std::initializer_list<SearchField> fields) {
    QString joined;
    appendJoinedSearchFields(joined, fields);
    return foldedSearchText(joined);
}

namespace {

// 0x80 in every byte of `v` that is zero, 0 elsewhere (exact, no false positives).
inline std::uint64_t zeroBytes(std::uint64_t v) {
    constexpr std::uint64_t low7 = 0x7F7F7F7F7F7F7F7FULL;
    return ~(((v & low7) + low7) | v | low7);
}

// The first occurrence of `word` (two bytes or more) in `text` at or after `from`. Eight
// positions at a time are screened on the word's first and last bytes with plain 64-bit
// arithmetic, so the speed does not depend on the word's length and needs no tables;
// candidates are confirmed byte by byte.
std::size_t findWord(std::string_view text, std::string_view word, std::size_t from) {
    const std::size_t m = word.size();
    const std::size_t n = text.size();
    if (from > n || n - from < m) {
        return std::string_view::npos;
    }
    const char* data = text.data();
    std::size_t i = from;
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t ones = 0x0101010101010101ULL;
        const std::uint64_t first = ones * std::uint8_t(word.front());
        const std::uint64_t last = ones * std::uint8_t(word.back());
        for (; i + m - 1 + 8 <= n; i += 8) {
            std::uint64_t head = 0;
            std::uint64_t tail = 0;
            std::memcpy(&head, data + i, 8);
            std::memcpy(&tail, data + i + m - 1, 8);
            for (std::uint64_t candidates = zeroBytes((head ^ first) | (tail ^ last)); candidates != 0;
                 candidates &= candidates - 1) {
                const std::size_t position = i + std::size_t(std::countr_zero(candidates)) / 8;
                if (std::memcmp(data + position + 1, word.data() + 1, m - 2) == 0) {
                    return position;
                }
            }
        }
    }
    for (; i + m <= n; ++i) {
        if (std::memcmp(data + i, word.data(), m) == 0) {
            return i;
        }
    }
    return std::string_view::npos;
}

} // namespace

// The words as search bytes.
struct SearchQuery::Matcher {
    std::vector<std::string> words;
    std::size_t longest = 0;

    std::size_t find(std::size_t word, std::string_view text, std::size_t from) const {
        const std::string& bytes = words[word];
        if (bytes.size() == 1) {
            return text.find(bytes.front(), from); // memchr
        }
        return findWord(text, bytes, from);
    }
};

SearchQuery::SearchQuery(QStringView searchText) {
    const QString folded = foldedSearchText(searchText);
    auto matcher = std::make_shared<Matcher>();
    for (const QStringView word : QStringView(folded).split(u' ', Qt::SkipEmptyParts)) {
        words_.append(word.toString());
        matcher->words.push_back(searchBytes(word).toStdString());
        if (matcher->words.back().size() > matcher->words[matcher->longest].size()) {
            matcher->longest = matcher->words.size() - 1;
        }
    }
    matcher_ = std::move(matcher);
}

bool SearchQuery::matches(QStringView foldedHaystack) const {
    if (isEmpty()) {
        return true;
    }
    const QByteArray bytes = searchBytes(foldedHaystack);
    return matchesBytes(std::string_view(bytes.constData(), size_t(bytes.size())));
}

bool SearchQuery::matchesBytes(std::string_view haystack) const {
    for (std::size_t i = 0; i < matcher_->words.size(); ++i) {
        if (matcher_->find(i, haystack, 0) == std::string_view::npos) {
            return false;
        }
    }
    return true;
}

std::size_t SearchQuery::findLongestWord(std::string_view text, std::size_t from) const {
    return matcher_->find(matcher_->longest, text, from);
}

std::size_t SearchQuery::longestWordSize() const {
    return matcher_->words[matcher_->longest].size();
}

bool SearchQuery::matchesOtherWords(std::string_view haystack) const {
    for (std::size_t i = 0; i < matcher_->words.size(); ++i) {
        if (i != matcher_->longest && matcher_->find(i, haystack, 0) == std::string_view::npos) {
            return false;
        }
    }
    return true;
}

} // namespace tallybrook
