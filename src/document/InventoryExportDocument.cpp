#include "document/InventoryExportDocument.h"

#include "core/TextRules.h"
#include "localization/AppText.h"

namespace tallybrook {

QDateTime distantPast() {
    static const QDateTime value(QDate(1, 1, 1), QTime(0, 0), Qt::UTC);
    return value;
}

QString rawValue(InventoryExportRowStatus status) {
    switch (status) {
    case InventoryExportRowStatus::counted:
        return QStringLiteral("counted");
    case InventoryExportRowStatus::notCounted:
        return QStringLiteral("not_counted");
    case InventoryExportRowStatus::difference:
        return QStringLiteral("difference");
    case InventoryExportRowStatus::unknownCode:
        return QStringLiteral("unknown_code");
    case InventoryExportRowStatus::temporaryItem:
        return QStringLiteral("temporary_item");
    case InventoryExportRowStatus::error:
        break;
    }
    return QStringLiteral("error");
}

std::optional<InventoryExportRowStatus> inventoryExportRowStatusFromRawValue(QStringView raw) {
    for (const InventoryExportRowStatus status : allInventoryExportRowStatuses) {
        if (raw == rawValue(status)) {
            return status;
        }
    }
    return std::nullopt;
}

QString label(InventoryExportRowStatus status, std::optional<AppLanguage> language) {
    const auto key = [status]() -> QStringView {
        switch (status) {
        case InventoryExportRowStatus::counted:
            return u"rowStatus.counted";
        case InventoryExportRowStatus::notCounted:
            return u"rowStatus.notCounted";
        case InventoryExportRowStatus::difference:
            return u"rowStatus.difference";
        case InventoryExportRowStatus::unknownCode:
            return u"rowStatus.unknownCode";
        case InventoryExportRowStatus::temporaryItem:
            return u"rowStatus.temporaryItem";
        case InventoryExportRowStatus::error:
            break;
        }
        return u"rowStatus.error";
    }();
    return AppText::localized(key, language);
}

InventoryExportSource InventoryExportSource::unknown() {
    return InventoryExportSource{QStringLiteral("unknown"), QStringLiteral("Source inconnue"), std::nullopt,
                                 std::nullopt};
}

std::optional<QUuid> InventoryExportSession::uuid() const {
    // Validation accepts an id with white space around valid UUID text, so the same id must
    // also give a UUID here.
    return parseUuidText(trimmedText(id));
}

QString InventoryExportRow::id() const {
    const QChar separator = u':';
    return sessionId.value_or(QString()) + separator + localItemId.value_or(QString()) + separator +
           barcode.value_or(QString()) + separator + inventoryCode.value_or(QString()) + separator +
           rawValue(status);
}

QString InventoryExportTemporaryItem::displayStatus(std::optional<AppLanguage> language) const {
    const QString normalized = trimmedText(status).toLower();
    const auto key = [&normalized]() -> QStringView {
        if (normalized.isEmpty()) {
            return u"temporaryStatus.unknown";
        }
        if (normalized == u"pending") {
            return u"temporaryStatus.pending";
        }
        if (normalized == u"matched") {
            return u"temporaryStatus.matched";
        }
        if (normalized == u"resolved") {
            return u"temporaryStatus.resolved";
        }
        if (normalized == u"ignored") {
            return u"temporaryStatus.ignored";
        }
        if (normalized == u"cancelled" || normalized == u"canceled") {
            return u"temporaryStatus.cancelled";
        }
        if (normalized == u"in_progress" || normalized == u"processing") {
            return u"temporaryStatus.inProgress";
        }
        if (normalized == u"completed" || normalized == u"done") {
            return u"temporaryStatus.completed";
        }
        if (normalized == u"created") {
            return u"temporaryStatus.created";
        }
        return {};
    }();
    if (key.isEmpty()) {
        return status;
    }
    return AppText::localized(key, language);
}

const QStringList& InventoryExportDocument::acceptedFormats() {
    static const QStringList formats{QStringLiteral("com.tallybrook.inventory-session"),
                                     QStringLiteral("com.tallybrook.inventory-export")};
    return formats;
}

const QList<qint64>& InventoryExportDocument::supportedFormatVersions() {
    static const QList<qint64> versions{1};
    return versions;
}

} // namespace tallybrook
