#pragma once

#include <QString>
#include <optional>

namespace tallybrook {

/// A location made fit for a file name: split at / : \ ? % * | " < >, at line breaks and at
/// other control characters, the pieces joined with "-", white space trimmed at both ends,
/// and kept to at most 100 characters.
QString safeLabelFileLocation(const QString& location);

/// The file name offered for a label sheet: "tallybrook-etiquettes", then "-" and the safe
/// location when a location is selected (and something of it remains), then ".pdf".
QString labelSheetDefaultFileName(const std::optional<QString>& selectedLocation);

} // namespace tallybrook
