#pragma once

#include <QString>

#include <optional>
#include <string_view>

namespace tallybrook {

/// Where and why a text is not valid JSON.
struct JsonSyntaxError {
    qsizetype offset = 0; ///< byte offset of the fault in the text
    qsizetype line = 1;   ///< 1-based line of the fault
    qsizetype column = 1; ///< 1-based column, counted in characters
    QString path;         ///< the enclosing keys and indices ("rows[2].status"), empty at top level
    QString reason;       ///< what was wrong, e.g. "expected ',' or '}'"

    /// "line 3, column 17 (byte 45), in rows[2].status: expected ',' or '}'".
    QString description() const;
};

/// The first syntax fault of `text` read as one JSON value, or none when it is valid.
///
/// The fast parser says only that a document is invalid, not where; this slower scanner is run
/// on the failure path to point the user at the place. It follows RFC 8259 and, like the fast
/// parser, rejects invalid UTF-8, nesting deeper than `maxDepth`, and integers that do not fit
/// in 64 bits. Iterative, so hostile nesting cannot exhaust the stack.
std::optional<JsonSyntaxError> locateJsonSyntaxError(std::string_view text, size_t maxDepth);

} // namespace tallybrook
