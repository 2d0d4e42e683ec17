#pragma once

#include "DemoCatalog.h"

#include <QDateTime>
#include <QHash>
#include <QJsonObject>
#include <optional>

namespace tallybrook {

/// A product, or a variation with its parent, as one entry of a listing.
struct DemoListedItem {
    const DemoProduct* product = nullptr;     ///< the product, or the variation's parent
    const DemoVariation* variation = nullptr; ///< none for a product

    qint64 id() const { return variation ? variation->id : product->id; }
    const QDateTime& modifiedAt() const { return variation ? variation->modifiedAt : product->modifiedAt; }
};

/// What a write asks of an item's stock; what is not set stays as it is.
struct DemoStockWrite {
    std::optional<DemoStockManagement> management;
    std::optional<qint64> quantity;
};

/// The outcome of a sale: whether the item exists, and its stock afterwards (none when not managed).
struct DemoSale {
    bool found = false;
    std::optional<qint64> stock;
};

/// The shop's products and variations in memory: lookups, stock reads and writes, and their
/// JSON as WooCommerce answers it. Not thread-safe: the shop holds its catalogue lock around
/// every use, and pointers it hands out live only as long as that lock.
class DemoStock {
public:
    void load(const DemoCatalog& catalog);
    DemoCatalog catalog() const;

    DemoProduct* product(qint64 id);
    const DemoProduct* product(qint64 id) const;
    /// The product a variation belongs to; none for an id no product has as a variation.
    std::optional<qint64> parentOf(qint64 variationId) const;
    /// The variation `variationId` of product `productId`; null when that product has no such variation.
    DemoVariation* variation(qint64 productId, qint64 variationId);

    /// Every product, in catalogue order (which stands for creation order).
    QList<DemoListedItem> products() const;
    QList<DemoListedItem> variations(const DemoProduct& parent) const;

    /// `siteUrl` starts the product's permalink.
    QJsonObject productJson(const DemoProduct& product, const QString& siteUrl) const;
    QJsonObject variationJson(const DemoProduct& parent, const DemoVariation& variation) const;
    /// A variation read through the product route, where WooCommerce answers it as a product of
    /// type "variation" named after its parent.
    QJsonObject variationAsProductJson(const DemoProduct& parent, const DemoVariation& variation) const;
    QJsonObject json(const DemoListedItem& item, const QString& siteUrl) const;

    /// The stock_quantity the shop answers; none when not managed or unknown.
    std::optional<qint64> stock(qint64 productId, std::optional<qint64> variationId) const;
    bool setStock(qint64 productId, std::optional<qint64> variationId, std::optional<qint64> quantity,
                  DemoStockManagement management);

    /// A REST write of a product: the quantity counts only while the stock is managed (after the
    /// write's own "manage_stock"), and the date moves even when nothing else does.
    void write(DemoProduct& product, const DemoStockWrite& change, const QDateTime& now);
    /// The same for a variation; its parent's date moves with it.
    void write(DemoProduct& parent, DemoVariation& variation, const DemoStockWrite& change,
               const QDateTime& now);
    /// An order of `quantity` of a product or variation, as checkout records it: the stock goes
    /// down (below zero if need be); a variation whose stock its parent keeps sells from the
    /// parent, and then only the parent's date moves.
    DemoSale sell(qint64 id, qint64 quantity, const QDateTime& now);

private:
    QList<DemoProduct> products_;
    QHash<qint64, qsizetype> productIndex_;
    QHash<qint64, qint64> variationParent_;
    QHash<QString, qint64> categoryIds_;
};

} // namespace tallybrook
