#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string_view>

namespace tallybrook {

/// Appends the search folding of `text` to `out`: canonical decomposition, non-spacing and
/// enclosing marks dropped, case-folded, lower-cased. The text is not trimmed.
void appendFoldedSearchText(QString& out, QStringView text);

/// `text` trimmed (white space and line breaks at both ends), then folded for search: the one
/// normalisation every search of the application applies to queries and haystacks alike.
QString foldedSearchText(QStringView text);

/// Appends the bytes that search matching works on: UTF-8, with an unpaired surrogate kept as
/// its own three-byte sequence so that nothing is lost or merged. Searching these bytes finds
/// exactly what searching the UTF-16 text finds, for any word typed as text.
void appendSearchBytes(QByteArray& out, QStringView text);
QByteArray searchBytes(QStringView text);

/// One field of a search haystack; none for an absent field (skipped, not joined).
using SearchField = std::optional<QStringView>;

inline SearchField searchField(const std::optional<QString>& value) {
    return value ? SearchField(QStringView(*value)) : std::nullopt;
}

/// Appends the unfolded haystack text (present fields joined with single spaces, a present
/// empty field still counting) to `out`.
void appendJoinedSearchFields(QString& out, std::initializer_list<SearchField> fields);

/// The present fields joined with single spaces, then trimmed and folded: the haystack a
/// query's words are looked for in.
QString foldedSearchHaystack(std::initializer_list<SearchField> fields);

/// A search as typed: trimmed, folded and split at spaces into words (empty words dropped).
/// It matches a folded haystack when every word is a substring of it, in any order; an empty
/// query matches everything. Build it once per search, not per row; copies share their state.
class SearchQuery {
public:
    explicit SearchQuery(QStringView searchText);

    bool isEmpty() const { return words_.isEmpty(); }
    /// The folded words, in the order typed.
    const QStringList& words() const { return words_; }

    /// `foldedHaystack` must already be folded (foldedSearchHaystack).
    bool matches(QStringView foldedHaystack) const;
    /// The same test on the search bytes of a folded haystack (appendSearchBytes).
    bool matchesBytes(std::string_view haystack) const;

    /// For many haystacks laid end to end in one buffer: the first position at or after `from`
    /// where the longest word occurs, or npos. A non-empty query only.
    std::size_t findLongestWord(std::string_view text, std::size_t from) const;
    std::size_t longestWordSize() const;
    /// Whether every word but the longest occurs in `haystack` (search bytes).
    bool matchesOtherWords(std::string_view haystack) const;

private:
    struct Matcher;

    QStringList words_;
    std::shared_ptr<const Matcher> matcher_;
};

} // namespace tallybrook
