#pragma once

#include "document/InventoryExportDocument.h"

#include <QByteArray>

namespace tallybrook {

/// Writes a document back as canonical JSON: camel-case keys (the first key of each alias
/// list), absent optional values left out, dates as ISO 8601 UTC with "Z" (with milliseconds
/// when they are not zero), keys sorted, indented. Reading the output gives an equal document.
/// The product never writes documents; this serves tests, fixtures and tools.
class TallybrookDocumentWriter {
public:
    QByteArray write(const InventoryExportDocument& document) const;
};

} // namespace tallybrook
