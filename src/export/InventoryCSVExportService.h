#pragma once

#include "corrections/CorrectionRecords.h"
#include "document/InventoryExportDocument.h"
#include "export/InventoryCSVDialect.h"
#include "export/InventoryCSVExportError.h"

#include <QByteArray>
#include <QChar>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

namespace tallybrook {

/// Turns the differences of a document, prepared corrections or a send report into the bytes
/// of a CSV file in one of the two dialects. Stateless; no file is touched here (saving is the
/// job of the file-save service).
///
/// Cells: texts as they stand, absent values empty, integers in plain decimal, booleans 1/0,
/// dates as ISO 8601 UTC with seconds and "Z". Lines are joined with the dialect's line end,
/// with none after the last line. Every export throws InventoryCSVExportError::encodingFailed
/// when a text holds an unpaired surrogate (it cannot be written as UTF-8 without loss).
/// Status names of the French dialect are worded in the current language.
class InventoryCSVExportService {
public:
    /// The rows of InventoryDifferenceAnalyzer::differences for an empty search and `location`
    /// (none: all locations), in that order.
    static QByteArray exportDifferencesCSV(const InventoryExportDocument& document,
                                           const std::optional<QString>& location,
                                           InventoryCSVDialect dialect);
    /// One line per preview, in the order given.
    static QByteArray exportCorrectionsCSV(const QList<WooCorrectionPreview>& corrections,
                                           InventoryCSVDialect dialect);
    /// One line per result line, in the order given.
    static QByteArray exportUpdateReportCSV(const QList<WooUpdateResultLine>& results,
                                            InventoryCSVDialect dialect);

    /// The cell as written: double quotes doubled, and the whole between double quotes when it
    /// holds the separator, a double quote, LF or CR. Nothing else is changed.
    static QString escape(QStringView text, QChar separator);

    /// "2024-05-01T10:15:30Z": the instant in UTC to the second (milliseconds dropped).
    static QString iso8601Text(const QDateTime& instant);
};

} // namespace tallybrook
