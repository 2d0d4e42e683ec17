#pragma once

#include "localization/AppLanguage.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QUuid>

#include <array>
#include <optional>

namespace tallybrook {

/// The instant that stands for a missing required date of a document (0001-01-01T00:00:00Z).
QDateTime distantPast();

/// Status of a document row, read from and written as its raw text.
enum class InventoryExportRowStatus { counted, notCounted, difference, unknownCode, temporaryItem, error };

inline constexpr std::array<InventoryExportRowStatus, 6> allInventoryExportRowStatuses{
    InventoryExportRowStatus::counted,       InventoryExportRowStatus::notCounted,
    InventoryExportRowStatus::difference,    InventoryExportRowStatus::unknownCode,
    InventoryExportRowStatus::temporaryItem, InventoryExportRowStatus::error};

/// "counted", "not_counted", "difference", "unknown_code", "temporary_item", "error".
QString rawValue(InventoryExportRowStatus status);
/// Exact, case-sensitive match of the six raw values.
std::optional<InventoryExportRowStatus> inventoryExportRowStatusFromRawValue(QStringView raw);
/// The status label in `language`, or in the current language when none.
QString label(InventoryExportRowStatus status, std::optional<AppLanguage> language = std::nullopt);

/// Origin of the session's items: kind, name and stock location.
struct InventoryExportSource {
    QString type;
    QString displayName;
    std::optional<QString> locationId;
    std::optional<QString> locationName;

    /// Stands in when the document has no source: type "unknown", "Source inconnue", no location.
    static InventoryExportSource unknown();
    bool operator==(const InventoryExportSource&) const = default;
};

struct InventoryExportSession {
    QString id;
    QString name = QStringLiteral("Inventaire");
    QString status = QStringLiteral("unknown");
    QDateTime createdAt = distantPast();
    std::optional<QDateTime> startedAt;
    std::optional<QDateTime> closedAt;
    QDateTime inventoryDate = distantPast();
    std::optional<QDateTime> stockReferenceDate;

    /// `id` read as UUID text (canonical 8-4-4-4-12 form, either case); none otherwise.
    std::optional<QUuid> uuid() const;
    bool operator==(const InventoryExportSession&) const = default;
};

/// Counts computed by the exporting app (never used for analysis).
struct InventoryExportSummary {
    qint64 totalRows = 0;
    qint64 countedRows = 0;
    qint64 notCountedRows = 0;
    qint64 differenceRows = 0;
    qint64 unknownCodeRows = 0;
    qint64 temporaryItemRows = 0;
    qint64 errorRows = 0;
    qint64 totalCountedQuantity = 0;
    qint64 unknownCodesCount = 0;
    qint64 temporaryItemsCount = 0;
    qint64 scanAliasesCreatedCount = 0;

    static InventoryExportSummary empty() { return {}; }
    bool operator==(const InventoryExportSummary&) const = default;
};

struct InventoryExportRow {
    std::optional<QString> sessionId;
    QString sessionName;
    QDateTime inventoryDate = distantPast();
    QString source = QStringLiteral("unknown");
    std::optional<QString> externalProductId;
    std::optional<QString> externalVariantId;
    std::optional<QString> localItemId;
    std::optional<QString> itemName;
    std::optional<QString> variantName;
    std::optional<QString> sku;
    std::optional<QString> barcode;
    std::optional<QString> inventoryCode;
    std::optional<QString> category;
    std::optional<QString> location;
    std::optional<qint64> referenceQuantity;
    std::optional<qint64> countedQuantity;
    std::optional<qint64> difference;
    InventoryExportRowStatus status = InventoryExportRowStatus::error;
    std::optional<QString> note;
    std::optional<QDateTime> lastScannedAt;

    /// sessionId, localItemId, barcode, inventoryCode (empty when absent) and the status raw
    /// value joined with ":".
    QString id() const;
    bool operator==(const InventoryExportRow&) const = default;
};

struct InventoryExportUnknownCode {
    std::optional<QString> sessionId;
    QString code;
    qint64 quantity = 0;
    std::optional<QString> location;
    std::optional<QString> note;
    std::optional<QDateTime> lastScannedAt;

    const QString& id() const { return code; }
    bool operator==(const InventoryExportUnknownCode&) const = default;
};

struct InventoryExportTemporaryItem {
    QString id; ///< a fresh upper-case UUID text when the file has none
    std::optional<QString> sessionId;
    std::optional<QString> scannedCode;
    QString provisionalName = QStringLiteral("Article provisoire");
    qint64 quantity = 0;
    std::optional<QString> location;
    std::optional<QString> note;
    std::optional<QString> photoLocalPath;
    QDateTime createdAt = distantPast();
    QString status = QStringLiteral("pending");

    /// The status as shown: known workflow words translated, blank as "unknown status",
    /// anything else exactly as stored. Current language when none is given.
    QString displayStatus(std::optional<AppLanguage> language = std::nullopt) const;
    bool operator==(const InventoryExportTemporaryItem&) const = default;
};

struct InventoryExportScanAlias {
    QString id; ///< a fresh upper-case UUID text when the file has none
    QString code;
    QString itemLocalId;
    std::optional<QString> itemName;
    QString source = QStringLiteral("unknown");
    QDateTime createdAt = distantPast();

    bool operator==(const InventoryExportScanAlias&) const = default;
};

/// A decoded `.tallybrook` file. Immutable after import; shared, never copied per call.
struct InventoryExportDocument {
    QString format;
    qint64 formatVersion = 0;
    QDateTime exportedAt = distantPast();
    QString appName = QStringLiteral("Tallybrook");
    std::optional<QString> appVersion;
    std::optional<QString> deviceName;
    InventoryExportSource source = InventoryExportSource::unknown();
    InventoryExportSession session;
    InventoryExportSummary summary;
    QList<InventoryExportRow> rows;
    QList<InventoryExportUnknownCode> unknownCodes;
    QList<InventoryExportTemporaryItem> temporaryItems;
    QList<InventoryExportScanAlias> scanAliasesCreated;

    static const QStringList& acceptedFormats();
    static const QList<qint64>& supportedFormatVersions();
    bool operator==(const InventoryExportDocument&) const = default;
};

} // namespace tallybrook
