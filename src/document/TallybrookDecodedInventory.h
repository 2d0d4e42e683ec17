#pragma once

#include "document/InventoryExportDocument.h"
#include "document/TallybrookValidationResult.h"

namespace tallybrook {

/// The result of a successful import: the document, unchanged by validation, and its warnings.
struct TallybrookDecodedInventory {
    InventoryExportDocument document;
    TallybrookValidationResult validation;

    bool operator==(const TallybrookDecodedInventory&) const = default;
};

} // namespace tallybrook
