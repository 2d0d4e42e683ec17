#include "analysis/InventoryRowFilter.h"

#include "localization/AppText.h"

namespace tallybrook {

namespace {

QStringView rawText(InventoryRowFilter filter) {
    switch (filter) {
    case InventoryRowFilter::all:
        return u"all";
    case InventoryRowFilter::differencesOnly:
        return u"differencesOnly";
    case InventoryRowFilter::missingStock:
        return u"missingStock";
    case InventoryRowFilter::extraStock:
        return u"extraStock";
    case InventoryRowFilter::notCounted:
        return u"notCounted";
    case InventoryRowFilter::withoutReferenceStock:
        break;
    }
    return u"withoutReferenceStock";
}

} // namespace

QString rawValue(InventoryRowFilter filter) {
    return rawText(filter).toString();
}

std::optional<InventoryRowFilter> inventoryRowFilterFromRawValue(QStringView raw) {
    for (const InventoryRowFilter filter : allInventoryRowFilters) {
        if (raw == rawText(filter)) {
            return filter;
        }
    }
    return std::nullopt;
}

QString label(InventoryRowFilter filter, std::optional<AppLanguage> language) {
    const QString key = QStringLiteral("rowFilter.") + rawText(filter);
    return AppText::localized(key, language);
}

} // namespace tallybrook
