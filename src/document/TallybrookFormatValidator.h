#pragma once

#include "document/InventoryExportDocument.h"
#include "document/TallybrookImportError.h"
#include "document/TallybrookValidationResult.h"

namespace tallybrook {

/// Checks the identity of a decoded document: format identifier, version, session id, and that
/// every row and unknown code belongs to the session. Temporary items of no session or of
/// another session become warnings. Stateless; safe from any thread.
class TallybrookFormatValidator {
public:
    /// The warnings of an acceptable document, in file order.
    /// Throws TallybrookImportError for the first check that fails, in this order: format,
    /// version, session id, rows, unknown codes.
    TallybrookValidationResult validate(const InventoryExportDocument& document) const;
};

} // namespace tallybrook
