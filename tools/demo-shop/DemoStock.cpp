#include "DemoStock.h"

#include <QJsonArray>
#include <algorithm>
#include <limits>

namespace tallybrook {

namespace {

// WooCommerce writes site-local dates without a zone; the demo site's zone is UTC.
QString wooDate(const QDateTime& utc) {
    return utc.toUTC().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss"));
}

QString stockStatus(const std::optional<qint64>& quantity) {
    return quantity && *quantity > 0 ? QStringLiteral("instock") : QStringLiteral("outofstock");
}

QJsonValue quantityValue(const std::optional<qint64>& quantity) {
    return quantity ? QJsonValue(*quantity) : QJsonValue(QJsonValue::Null);
}

std::optional<qint64> productStock(const DemoProduct& product) {
    return product.management == DemoStockManagement::managed ? product.stockQuantity : std::nullopt;
}

// WooCommerce reads a variation's stock from its parent ("parent") only while the parent
// product keeps stock; otherwise the variation simply keeps none.
DemoStockManagement effectiveManagement(const DemoProduct& parent, const DemoVariation& variation) {
    if (variation.management == DemoStockManagement::parent &&
        parent.management != DemoStockManagement::managed) {
        return DemoStockManagement::notManaged;
    }
    return variation.management;
}

std::optional<qint64> variationStock(const DemoProduct& parent, const DemoVariation& variation) {
    switch (effectiveManagement(parent, variation)) {
    case DemoStockManagement::managed:
        return variation.stockQuantity;
    case DemoStockManagement::parent:
        return productStock(parent);
    case DemoStockManagement::notManaged:
        return std::nullopt;
    }
    return std::nullopt;
}

// A stock after a sale; an absurd quantity stops at the lowest stock rather than wrapping.
qint64 afterSale(const std::optional<qint64>& stock, qint64 quantity) {
    qint64 result = 0;
    if (__builtin_sub_overflow(stock.value_or(0), quantity, &result)) {
        return quantity > 0 ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint64>::max();
    }
    return result;
}

QString slugOf(const QString& text) {
    QString slug;
    for (const QChar character : text.toLower()) {
        if (character.isLetterOrNumber() && character.unicode() < 128) {
            slug += character;
        } else if (!slug.isEmpty() && !slug.endsWith(u'-')) {
            slug += u'-';
        }
    }
    while (slug.endsWith(u'-')) {
        slug.chop(1);
    }
    return slug;
}

} // namespace

void DemoStock::load(const DemoCatalog& catalog) {
    products_.clear();
    productIndex_.clear();
    variationParent_.clear();
    categoryIds_.clear();
    for (const DemoProduct& product : catalog.products) {
        if (productIndex_.contains(product.id)) {
            continue;
        }
        DemoProduct copy = product;
        copy.variations.clear();
        for (const DemoVariation& variation : product.variations) {
            if (!variationParent_.contains(variation.id)) {
                variationParent_.insert(variation.id, product.id);
                copy.variations.append(variation);
            }
        }
        if (!copy.category.isEmpty() && !categoryIds_.contains(copy.category)) {
            categoryIds_.insert(copy.category, 15 + categoryIds_.size());
        }
        productIndex_.insert(copy.id, products_.size());
        products_.append(copy);
    }
}

DemoCatalog DemoStock::catalog() const {
    return DemoCatalog{products_};
}

DemoProduct* DemoStock::product(qint64 id) {
    const auto it = productIndex_.constFind(id);
    return it == productIndex_.cend() ? nullptr : &products_[*it];
}

const DemoProduct* DemoStock::product(qint64 id) const {
    const auto it = productIndex_.constFind(id);
    return it == productIndex_.cend() ? nullptr : &products_[*it];
}

std::optional<qint64> DemoStock::parentOf(qint64 variationId) const {
    const auto it = variationParent_.constFind(variationId);
    return it == variationParent_.cend() ? std::nullopt : std::optional<qint64>(*it);
}

DemoVariation* DemoStock::variation(qint64 productId, qint64 variationId) {
    DemoProduct* parent = parentOf(variationId) == productId ? product(productId) : nullptr;
    if (!parent) {
        return nullptr;
    }
    const auto it = std::find_if(parent->variations.begin(), parent->variations.end(),
                                 [variationId](const DemoVariation& item) { return item.id == variationId; });
    return it == parent->variations.end() ? nullptr : &*it;
}

QList<DemoListedItem> DemoStock::products() const {
    QList<DemoListedItem> items;
    items.reserve(products_.size());
    for (const DemoProduct& product : products_) {
        items.append(DemoListedItem{&product, nullptr});
    }
    return items;
}

QList<DemoListedItem> DemoStock::variations(const DemoProduct& parent) const {
    QList<DemoListedItem> items;
    items.reserve(parent.variations.size());
    for (const DemoVariation& variation : parent.variations) {
        items.append(DemoListedItem{&parent, &variation});
    }
    return items;
}

QJsonObject DemoStock::productJson(const DemoProduct& product, const QString& siteUrl) const {
    const std::optional<qint64> stock = productStock(product);
    QString status =
        product.management == DemoStockManagement::managed ? stockStatus(stock) : QStringLiteral("instock");
    QJsonArray variationIds;
    QJsonArray options;
    if (!product.variations.isEmpty() && product.management != DemoStockManagement::managed) {
        status = QStringLiteral("outofstock");
    }
    for (const DemoVariation& variation : product.variations) {
        variationIds.append(variation.id);
        options.append(variation.attributeOption);
        const auto quantity = variationStock(product, variation);
        if (effectiveManagement(product, variation) == DemoStockManagement::notManaged ||
            (quantity && *quantity > 0)) {
            if (product.management != DemoStockManagement::managed) {
                status = QStringLiteral("instock");
            }
        }
    }
    QJsonArray categories;
    if (!product.category.isEmpty()) {
        categories.append(QJsonObject{{QStringLiteral("id"), categoryIds_.value(product.category)},
                                      {QStringLiteral("name"), product.category},
                                      {QStringLiteral("slug"), slugOf(product.category)}});
    }
    QJsonArray attributes;
    if (!product.variations.isEmpty()) {
        attributes.append(QJsonObject{{QStringLiteral("id"), 0},
                                      {QStringLiteral("name"), QStringLiteral("Variante")},
                                      {QStringLiteral("position"), 0},
                                      {QStringLiteral("visible"), true},
                                      {QStringLiteral("variation"), true},
                                      {QStringLiteral("options"), options}});
    }
    const QString slug = slugOf(product.name);
    return QJsonObject{
        {QStringLiteral("id"), product.id},
        {QStringLiteral("name"), product.name.toHtmlEscaped()},
        {QStringLiteral("slug"), slug},
        {QStringLiteral("permalink"), QString(siteUrl + QStringLiteral("/produit/") + slug + u'/')},
        {QStringLiteral("date_modified"), wooDate(product.modifiedAt)},
        {QStringLiteral("date_modified_gmt"), wooDate(product.modifiedAt)},
        {QStringLiteral("type"),
         product.variations.isEmpty() ? QStringLiteral("simple") : QStringLiteral("variable")},
        {QStringLiteral("status"), QStringLiteral("publish")},
        {QStringLiteral("sku"), product.sku},
        {QStringLiteral("global_unique_id"), QString()},
        {QStringLiteral("price"), QString()},
        {QStringLiteral("manage_stock"), product.management == DemoStockManagement::managed},
        {QStringLiteral("stock_quantity"), quantityValue(stock)},
        {QStringLiteral("stock_status"), status},
        {QStringLiteral("backorders"), QStringLiteral("no")},
        {QStringLiteral("categories"), categories},
        {QStringLiteral("attributes"), attributes},
        {QStringLiteral("images"), QJsonArray()},
        {QStringLiteral("variations"), variationIds},
    };
}

QJsonObject DemoStock::variationJson(const DemoProduct& parent, const DemoVariation& variation) const {
    const std::optional<qint64> stock = variationStock(parent, variation);
    const DemoStockManagement management = effectiveManagement(parent, variation);
    QJsonValue manageStock = true;
    if (management == DemoStockManagement::notManaged) {
        manageStock = false;
    } else if (management == DemoStockManagement::parent) {
        manageStock = QStringLiteral("parent");
    }
    return QJsonObject{
        {QStringLiteral("id"), variation.id},
        {QStringLiteral("parent_id"), parent.id},
        {QStringLiteral("date_modified"), wooDate(variation.modifiedAt)},
        {QStringLiteral("date_modified_gmt"), wooDate(variation.modifiedAt)},
        {QStringLiteral("status"), QStringLiteral("publish")},
        {QStringLiteral("sku"), variation.sku},
        {QStringLiteral("global_unique_id"), QString()},
        {QStringLiteral("price"), QString()},
        {QStringLiteral("manage_stock"), manageStock},
        {QStringLiteral("stock_quantity"), quantityValue(stock)},
        {QStringLiteral("stock_status"),
         management == DemoStockManagement::notManaged ? QStringLiteral("instock") : stockStatus(stock)},
        {QStringLiteral("backorders"), QStringLiteral("no")},
        {QStringLiteral("image"), QJsonValue(QJsonValue::Null)},
        {QStringLiteral("attributes"),
         QJsonArray{QJsonObject{{QStringLiteral("id"), 0},
                                {QStringLiteral("name"), QStringLiteral("Variante")},
                                {QStringLiteral("option"), variation.attributeOption}}}},
    };
}

QJsonObject DemoStock::variationAsProductJson(const DemoProduct& parent,
                                              const DemoVariation& variation) const {
    QJsonObject answer = variationJson(parent, variation);
    answer.insert(QStringLiteral("type"), QStringLiteral("variation"));
    answer.insert(QStringLiteral("name"),
                  QString(parent.name + QStringLiteral(" - ") + variation.attributeOption).toHtmlEscaped());
    return answer;
}

QJsonObject DemoStock::json(const DemoListedItem& item, const QString& siteUrl) const {
    return item.variation ? variationJson(*item.product, *item.variation)
                          : productJson(*item.product, siteUrl);
}

std::optional<qint64> DemoStock::stock(qint64 productId, std::optional<qint64> variationId) const {
    const DemoProduct* parent = product(productId);
    if (!parent) {
        return std::nullopt;
    }
    if (!variationId) {
        return productStock(*parent);
    }
    for (const DemoVariation& variation : parent->variations) {
        if (variation.id == *variationId) {
            return variationStock(*parent, variation);
        }
    }
    return std::nullopt;
}

bool DemoStock::setStock(qint64 productId, std::optional<qint64> variationId, std::optional<qint64> quantity,
                         DemoStockManagement management) {
    DemoProduct* parent = product(productId);
    if (!parent) {
        return false;
    }
    if (!variationId) {
        parent->management =
            management == DemoStockManagement::parent ? DemoStockManagement::notManaged : management;
        parent->stockQuantity = quantity;
        return true;
    }
    DemoVariation* item = variation(productId, *variationId);
    if (!item) {
        return false;
    }
    item->management = management;
    item->stockQuantity = quantity;
    return true;
}

void DemoStock::write(DemoProduct& product, const DemoStockWrite& change, const QDateTime& now) {
    if (change.management) {
        // Only variations can leave their stock to a parent.
        product.management = *change.management == DemoStockManagement::parent
                                 ? DemoStockManagement::notManaged
                                 : *change.management;
    }
    if (change.quantity && product.management == DemoStockManagement::managed) {
        product.stockQuantity = change.quantity;
    }
    product.modifiedAt = now;
}

void DemoStock::write(DemoProduct& parent, DemoVariation& variation, const DemoStockWrite& change,
                      const QDateTime& now) {
    if (change.management) {
        variation.management = *change.management;
    }
    if (change.quantity && variation.management == DemoStockManagement::managed) {
        variation.stockQuantity = change.quantity;
    }
    variation.modifiedAt = now;
    parent.modifiedAt = now;
}

DemoSale DemoStock::sell(qint64 id, qint64 quantity, const QDateTime& now) {
    if (DemoProduct* item = product(id)) {
        if (item->management != DemoStockManagement::managed) {
            return DemoSale{true, std::nullopt};
        }
        item->stockQuantity = afterSale(item->stockQuantity, quantity);
        item->modifiedAt = now;
        return DemoSale{true, item->stockQuantity};
    }
    const std::optional<qint64> parentId = parentOf(id);
    DemoProduct* parent = parentId ? product(*parentId) : nullptr;
    DemoVariation* item = parent ? variation(*parentId, id) : nullptr;
    if (!item) {
        return DemoSale{};
    }
    switch (effectiveManagement(*parent, *item)) {
    case DemoStockManagement::managed:
        item->stockQuantity = afterSale(item->stockQuantity, quantity);
        item->modifiedAt = now;
        parent->modifiedAt = now;
        return DemoSale{true, item->stockQuantity};
    case DemoStockManagement::parent:
        parent->stockQuantity = afterSale(parent->stockQuantity, quantity);
        parent->modifiedAt = now;
        return DemoSale{true, parent->stockQuantity};
    case DemoStockManagement::notManaged:
        break;
    }
    return DemoSale{true, std::nullopt};
}

} // namespace tallybrook
