#pragma once

#include "document/InventoryExportDocument.h"
#include "localization/AppLanguage.h"
#include "localization/PreferencesStore.h"

#include <QString>
#include <memory>
#include <optional>

namespace tallybrook::test {

/// A row with the fields the labels read; everything else left at its default.
inline InventoryExportRow labelRow(std::optional<QString> barcode,
                                   std::optional<QString> inventoryCode = std::nullopt,
                                   std::optional<QString> sku = std::nullopt,
                                   std::optional<QString> itemName = QStringLiteral("Item"),
                                   std::optional<QString> variantName = std::nullopt) {
    InventoryExportRow row;
    row.sessionId = QStringLiteral("5D3C9A52-0B5E-4B69-8E0B-3C1F6C0C2A11");
    row.localItemId =
        QStringLiteral("item-") + barcode.value_or(inventoryCode.value_or(sku.value_or(QString())));
    row.barcode = std::move(barcode);
    row.inventoryCode = std::move(inventoryCode);
    row.sku = std::move(sku);
    row.itemName = std::move(itemName);
    row.variantName = std::move(variantName);
    row.status = InventoryExportRowStatus::counted;
    return row;
}

/// Installs a fresh in-memory preferences store with `language` forced; restores on exit.
class ScopedLanguage {
public:
    explicit ScopedLanguage(AppLanguage language) {
        auto store = std::make_shared<InMemoryPreferencesStore>();
        store->setString(QStringLiteral("com.tallybrook.control.language"), rawValue(language));
        PreferencesStore::setStandard(store);
    }
    ~ScopedLanguage() { PreferencesStore::setStandard(nullptr); }
    ScopedLanguage(const ScopedLanguage&) = delete;
    ScopedLanguage& operator=(const ScopedLanguage&) = delete;
};

} // namespace tallybrook::test
