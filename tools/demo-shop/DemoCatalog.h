#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

namespace tallybrook {

struct InventoryExportDocument;

/// Who keeps the stock of a demo item, as WooCommerce's "manage_stock" says it.
enum class DemoStockManagement {
    managed,    ///< true: the item's own stock_quantity
    notManaged, ///< false: stock_quantity is null
    parent      ///< "parent" (variations only): the parent product's stock_quantity; answered as
                ///< not managed (false, null) while the parent keeps no stock, as WooCommerce does
};

/// One variation of a demo product.
struct DemoVariation {
    qint64 id = 0;
    QString sku;
    DemoStockManagement management = DemoStockManagement::managed;
    std::optional<qint64> stockQuantity; ///< own stock; used while managed
    QString attributeOption;             ///< value of the product's "Variante" attribute
    QDateTime modifiedAt;                ///< UTC

    bool operator==(const DemoVariation&) const = default;
};

/// One demo product; variable when it has variations.
struct DemoProduct {
    qint64 id = 0;
    QString name;
    QString sku;
    QString category;
    DemoStockManagement management = DemoStockManagement::managed;
    std::optional<qint64> stockQuantity;
    QList<DemoVariation> variations;
    QDateTime modifiedAt; ///< UTC

    bool operator==(const DemoProduct&) const = default;
};

/// How a catalogue seeded from an inventory file departs from the file's reference stock.
struct DemoSeedOptions {
    /// Every N-th item (in file order) gets a store stock different from its reference; 0: none.
    int driftEvery = 0;
    /// Every N-th item has no managed stock: a simple product with stock not managed, a
    /// variation whose stock is managed by its parent product; 0: none.
    int unmanagedEvery = 0;
};

/// The demo shop's products. Loaded from a catalogue JSON file or seeded from an inventory.
///
/// Catalogue JSON: `{"products": [{"id": 12, "name": "...", "sku": "...", "category": "...",
/// "manage_stock": true, "stock_quantity": 5, "variations": [{"id": 34, "sku": "...",
/// "manage_stock": true | false | "parent", "stock_quantity": 3, "option": "M"}]}]}`;
/// every key but "id" is optional.
struct DemoCatalog {
    QList<DemoProduct> products;

    /// Throws std::runtime_error with the reason when the text is not such a catalogue.
    static DemoCatalog fromJson(const QByteArray& json);
    /// One product per numeric product identifier of the rows, one variation per numeric
    /// variation identifier; store stock = the row's reference quantity (0 when none).
    static DemoCatalog fromDocument(const InventoryExportDocument& document,
                                    const DemoSeedOptions& options = {});
    QByteArray toJson() const;

    bool operator==(const DemoCatalog&) const = default;
};

} // namespace tallybrook
