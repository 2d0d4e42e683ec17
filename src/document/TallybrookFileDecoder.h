#pragma once

#include "document/InventoryExportDocument.h"
#include "document/TallybrookDecodedInventory.h"
#include "document/TallybrookFormatValidator.h"
#include "document/TallybrookImportError.h"

#include <QByteArray>
#include <cstddef>

namespace tallybrook {

/// Turns the bytes of a `.tallybrook` file into a validated document with its warnings.
///
/// Reading is tolerant about content (snake_case or camelCase keys, alias keys for codes,
/// defaults for absent and null keys, dates with or without fractional seconds) and strict
/// about types: integers must be whole JSON numbers, texts JSON strings, row statuses one of
/// the six raw values. When a key appears twice in one object (also after snake_case
/// conversion, as with "session_id" and "sessionId"), the last occurrence wins.
///
/// Every failure is one TallybrookImportError; nothing is partially decoded. Stateless apart
/// from its validator; every call uses its own parser, so it is safe from any thread.
class TallybrookFileDecoder {
public:
    TallybrookFileDecoder() = default;
    explicit TallybrookFileDecoder(TallybrookFormatValidator validator)
        : validator_(validator) {}

    /// Decodes and validates. Throws TallybrookImportError.
    TallybrookDecodedInventory decodeInventoryDocumentWithValidation(const QByteArray& bytes) const;
    /// Decodes and validates, dropping the warnings. Throws TallybrookImportError.
    InventoryExportDocument decodeInventoryDocument(const QByteArray& bytes) const;

    /// Applies the reading rules only, without the identity checks of the validator (the
    /// format, version and session id are not looked at). Throws TallybrookImportError for a
    /// file that cannot be read, and `missingSession` when it has no session object.
    static InventoryExportDocument readDocument(const QByteArray& bytes);

    /// Whether the parser may read `bytes` where they are: it reads a little past the end of
    /// its input, so that needs spare room allocated after the end. Other bytes are copied.
    static bool isReadableInPlace(const QByteArray& bytes);
    /// The room after the end that isReadableInPlace asks for: a reader that allocates this much
    /// more than a file's size spares the decoder a copy of the whole file.
    static constexpr qsizetype roomAfterEndForReadingInPlace = 64;

    /// Deepest nesting of arrays and objects a file may have.
    static constexpr std::size_t maximumNesting = 1024;

private:
    TallybrookFormatValidator validator_;
};

} // namespace tallybrook
