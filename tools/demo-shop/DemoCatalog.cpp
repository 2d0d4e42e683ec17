#include "DemoCatalog.h"

#include "document/InventoryExportDocument.h"
#include "woocommerce/WooCommerceRecords.h"
#include "woocommerce/WooIntegerText.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <stdexcept>

namespace tallybrook {

namespace {

// Seeded items get modification dates one minute apart from a fixed start, so listings
// ordered by date are reproducible.
QDateTime seedTime(qint64 index) {
    return QDateTime(QDate(2024, 5, 2), QTime(9, 0), Qt::UTC).addSecs(60 * index);
}

[[noreturn]] void invalid(const QString& what) {
    throw std::runtime_error(QString(QStringLiteral("catalogue: ") + what).toStdString());
}

std::optional<qint64> integerOf(const QJsonValue& value, const QString& what) {
    if (value.isUndefined() || value.isNull()) {
        return std::nullopt;
    }
    const auto integer = wooJsonInteger(value);
    if (!integer) {
        invalid(what + QStringLiteral(" is not an integer"));
    }
    return integer;
}

DemoStockManagement managementOf(const QJsonValue& value, bool allowParent, const QString& what) {
    if (value.isUndefined() || value.isNull()) {
        return DemoStockManagement::managed;
    }
    if (value.isBool()) {
        return value.toBool() ? DemoStockManagement::managed : DemoStockManagement::notManaged;
    }
    if (allowParent && value.toString() == u"parent") {
        return DemoStockManagement::parent;
    }
    invalid(what + QStringLiteral(" has an unusable manage_stock"));
}

QJsonValue managementJson(DemoStockManagement management) {
    switch (management) {
    case DemoStockManagement::managed:
        return true;
    case DemoStockManagement::notManaged:
        return false;
    case DemoStockManagement::parent:
        return QStringLiteral("parent");
    }
    return true;
}

QJsonValue quantityJson(const std::optional<qint64>& quantity) {
    return quantity ? QJsonValue(*quantity) : QJsonValue(QJsonValue::Null);
}

} // namespace

DemoCatalog DemoCatalog::fromJson(const QByteArray& json) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError) {
        invalid(error.errorString());
    }
    const QJsonArray products = document.isArray()
                                    ? document.array()
                                    : document.object().value(QLatin1StringView("products")).toArray();
    DemoCatalog catalog;
    qint64 index = 0;
    for (const QJsonValue& productValue : products) {
        const QJsonObject object = productValue.toObject();
        DemoProduct product;
        const auto id = integerOf(object.value(QLatin1StringView("id")), QStringLiteral("a product id"));
        if (!id) {
            invalid(QStringLiteral("a product has no id"));
        }
        const QString what = QStringLiteral("product ") + QString::number(*id);
        product.id = *id;
        product.name = object.value(QLatin1StringView("name"))
                           .toString(QStringLiteral("Produit ") + QString::number(*id));
        product.sku = object.value(QLatin1StringView("sku")).toString();
        product.category = object.value(QLatin1StringView("category")).toString();
        product.management = managementOf(object.value(QLatin1StringView("manage_stock")), false, what);
        product.stockQuantity = integerOf(object.value(QLatin1StringView("stock_quantity")), what);
        product.modifiedAt = seedTime(index++);
        for (const QJsonValue& variationValue : object.value(QLatin1StringView("variations")).toArray()) {
            const QJsonObject variationObject = variationValue.toObject();
            DemoVariation variation;
            const auto variationId = integerOf(variationObject.value(QLatin1StringView("id")), what);
            if (!variationId) {
                invalid(what + QStringLiteral(" has a variation without id"));
            }
            const QString variationWhat = QStringLiteral("variation ") + QString::number(*variationId);
            variation.id = *variationId;
            variation.sku = variationObject.value(QLatin1StringView("sku")).toString();
            variation.management =
                managementOf(variationObject.value(QLatin1StringView("manage_stock")), true, variationWhat);
            variation.stockQuantity =
                integerOf(variationObject.value(QLatin1StringView("stock_quantity")), variationWhat);
            variation.attributeOption = variationObject.value(QLatin1StringView("option")).toString();
            variation.modifiedAt = seedTime(index++);
            product.variations.append(variation);
        }
        catalog.products.append(product);
    }
    return catalog;
}

QByteArray DemoCatalog::toJson() const {
    QJsonArray products;
    for (const DemoProduct& product : this->products) {
        QJsonArray variations;
        for (const DemoVariation& variation : product.variations) {
            variations.append(
                QJsonObject{{QStringLiteral("id"), variation.id},
                            {QStringLiteral("sku"), variation.sku},
                            {QStringLiteral("manage_stock"), managementJson(variation.management)},
                            {QStringLiteral("stock_quantity"), quantityJson(variation.stockQuantity)},
                            {QStringLiteral("option"), variation.attributeOption}});
        }
        products.append(QJsonObject{{QStringLiteral("id"), product.id},
                                    {QStringLiteral("name"), product.name},
                                    {QStringLiteral("sku"), product.sku},
                                    {QStringLiteral("category"), product.category},
                                    {QStringLiteral("manage_stock"), managementJson(product.management)},
                                    {QStringLiteral("stock_quantity"), quantityJson(product.stockQuantity)},
                                    {QStringLiteral("variations"), variations}});
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("products"), products}}).toJson(QJsonDocument::Indented);
}

DemoCatalog DemoCatalog::fromDocument(const InventoryExportDocument& document,
                                      const DemoSeedOptions& options) {
    DemoCatalog catalog;
    QHash<qint64, qsizetype> productIndex;
    QSet<qint64> variationSeen;
    QSet<qint64> simpleSeen;
    qint64 itemIndex = 0;

    // Every N-th item departs from the file: its stock drifts (+2, -1, +2, ...) or is not managed.
    auto departs = [](int every, qint64 index) { return every > 0 && (index + 1) % every == 0; };
    auto drifted = [&](qint64 reference, qint64 index) {
        if (!departs(options.driftEvery, index)) {
            return reference;
        }
        return reference + ((index / options.driftEvery) % 2 == 0 ? 2 : -1);
    };

    for (const InventoryExportRow& row : document.rows) {
        const auto productId =
            row.externalProductId ? parseWooInteger(QStringView(*row.externalProductId)) : std::nullopt;
        if (!productId) {
            continue;
        }
        const auto variationId =
            row.externalVariantId ? parseWooInteger(QStringView(*row.externalVariantId)) : std::nullopt;
        if (!productIndex.contains(*productId)) {
            DemoProduct product;
            product.id = *productId;
            product.name = row.itemName.value_or(QStringLiteral("Produit ") + QString::number(*productId));
            product.category = row.category.value_or(QString());
            product.management = DemoStockManagement::notManaged;
            product.modifiedAt = seedTime(itemIndex);
            productIndex.insert(*productId, catalog.products.size());
            catalog.products.append(product);
        }
        DemoProduct& product = catalog.products[productIndex.value(*productId)];
        const qint64 reference = row.referenceQuantity.value_or(0);

        if (variationId) {
            const qint64 id = variationId.value_or(0);
            if (variationSeen.contains(id)) {
                continue;
            }
            variationSeen.insert(id);
            DemoVariation variation;
            variation.id = id;
            variation.sku = row.sku.value_or(QString());
            variation.attributeOption = row.variantName ? *row.variantName : QString::number(variation.id);
            variation.modifiedAt = seedTime(itemIndex);
            if (departs(options.unmanagedEvery, itemIndex)) {
                // Stock kept by the parent product, which then holds this item's stock.
                variation.management = DemoStockManagement::parent;
                if (product.management != DemoStockManagement::managed) {
                    product.management = DemoStockManagement::managed;
                    product.stockQuantity = drifted(reference, itemIndex);
                }
            } else {
                variation.stockQuantity = drifted(reference, itemIndex);
            }
            product.variations.append(variation);
        } else {
            if (simpleSeen.contains(*productId)) {
                continue;
            }
            simpleSeen.insert(*productId);
            product.sku = row.sku.value_or(QString());
            if (departs(options.unmanagedEvery, itemIndex)) {
                product.management = DemoStockManagement::notManaged;
                product.stockQuantity = std::nullopt;
            } else {
                product.management = DemoStockManagement::managed;
                product.stockQuantity = drifted(reference, itemIndex);
            }
        }
        ++itemIndex;
    }
    return catalog;
}

} // namespace tallybrook
