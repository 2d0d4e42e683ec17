#include "woocommerce/WooCommerceRecords.h"

#include "woocommerce/WooDecodingError.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

namespace tallybrook {

namespace {

QString keyPath(const QString& path, QLatin1StringView key) {
    if (path.isEmpty()) {
        return QString(key);
    }
    return path + u'.' + key;
}

QString indexPath(const QString& path, qsizetype index) {
    return path + u'[' + QString::number(index) + u']';
}

[[noreturn]] void fail(const QString& path, const char* rule) {
    const QString where = path.isEmpty() ? QStringLiteral("answer") : path;
    throw WooDecodingError(where + QStringLiteral(": ") + QString::fromLatin1(rule));
}

QJsonObject requireObject(const QJsonValue& value, const QString& path) {
    if (!value.isObject()) {
        fail(path, "expected an object");
    }
    return value.toObject();
}

bool isAbsent(const QJsonValue& value) {
    return value.isUndefined() || value.isNull();
}

qint64 requiredInteger(const QJsonObject& object, QLatin1StringView key, const QString& path) {
    const QJsonValue value = object.value(key);
    if (isAbsent(value)) {
        fail(keyPath(path, key), "missing integer");
    }
    const auto integer = wooJsonInteger(value);
    if (!integer) {
        fail(keyPath(path, key), "expected an integer");
    }
    return *integer;
}

std::optional<qint64> optionalInteger(const QJsonObject& object, QLatin1StringView key, const QString& path) {
    const QJsonValue value = object.value(key);
    if (isAbsent(value)) {
        return std::nullopt;
    }
    const auto integer = wooJsonInteger(value);
    if (!integer) {
        fail(keyPath(path, key), "expected an integer or null");
    }
    return integer;
}

std::optional<QString> optionalString(const QJsonObject& object, QLatin1StringView key, const QString& path) {
    const QJsonValue value = object.value(key);
    if (isAbsent(value)) {
        return std::nullopt;
    }
    if (!value.isString()) {
        fail(keyPath(path, key), "expected a string or null");
    }
    return value.toString();
}

std::optional<bool> optionalBoolean(const QJsonObject& object, QLatin1StringView key, const QString& path) {
    const QJsonValue value = object.value(key);
    if (isAbsent(value)) {
        return std::nullopt;
    }
    if (!value.isBool()) {
        fail(keyPath(path, key), "expected a boolean or null");
    }
    return value.toBool();
}

template <typename Record>
QList<Record> optionalList(const QJsonObject& object, QLatin1StringView key, const QString& path) {
    const QJsonValue value = object.value(key);
    if (isAbsent(value)) {
        return {};
    }
    const QString listPath = keyPath(path, key);
    if (!value.isArray()) {
        fail(listPath, "expected a list or null");
    }
    const QJsonArray array = value.toArray();
    QList<Record> records;
    records.reserve(array.size());
    for (qsizetype index = 0; index < array.size(); ++index) {
        records.append(Record::fromJson(array.at(index), indexPath(listPath, index)));
    }
    return records;
}

QJsonDocument parseBody(const QByteArray& body) {
    QJsonParseError error;
    QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError) {
        throw WooDecodingError(QStringLiteral("not JSON: ") + error.errorString() +
                                   QStringLiteral(" at offset ") + QString::number(error.offset),
                               true);
    }
    return document;
}

template <typename Record> Record decodeOne(const QByteArray& body) {
    const QJsonDocument document = parseBody(body);
    if (!document.isObject()) {
        fail({}, "expected an object");
    }
    return Record::fromJson(document.object());
}

template <typename Record> QList<Record> decodeMany(const QByteArray& body) {
    const QJsonDocument document = parseBody(body);
    if (!document.isArray()) {
        fail({}, "expected a list");
    }
    const QJsonArray array = document.array();
    QList<Record> records;
    records.reserve(array.size());
    for (qsizetype index = 0; index < array.size(); ++index) {
        records.append(Record::fromJson(array.at(index), indexPath({}, index)));
    }
    return records;
}

} // namespace

// Qt keeps integer literals exact as 64-bit integers, so large identifiers do not go through a
// double; toInteger gives its fallback for fractions and values out of range.
std::optional<qint64> wooJsonInteger(const QJsonValue& value) {
    if (!value.isDouble()) {
        return std::nullopt;
    }
    const qint64 integer = value.toInteger(0);
    if (integer != 0 || value.toDouble() == 0.0) {
        return integer;
    }
    return std::nullopt;
}

std::optional<bool> tolerantWooBoolean(const QJsonValue& value) {
    if (value.isBool()) {
        return value.toBool();
    }
    if (value.isString()) {
        const QString text = value.toString().toLower();
        if (text == u"true" || text == u"yes" || text == u"1") {
            return true;
        }
        if (text == u"false" || text == u"no" || text == u"0" || text == u"parent") {
            return false;
        }
        return std::nullopt;
    }
    if (const auto integer = wooJsonInteger(value)) {
        return *integer != 0;
    }
    return std::nullopt;
}

WooCommerceCategoryDTO WooCommerceCategoryDTO::fromJson(const QJsonValue& value, const QString& path) {
    const QJsonObject object = requireObject(value, path);
    WooCommerceCategoryDTO category;
    category.id = optionalInteger(object, QLatin1StringView("id"), path);
    const QJsonValue name = object.value(QLatin1StringView("name"));
    if (!name.isString()) {
        fail(keyPath(path, QLatin1StringView("name")), "missing string");
    }
    category.name = name.toString();
    return category;
}

WooCommerceAttributeDTO WooCommerceAttributeDTO::fromJson(const QJsonValue& value, const QString& path) {
    const QJsonObject object = requireObject(value, path);
    WooCommerceAttributeDTO attribute;
    attribute.id = optionalInteger(object, QLatin1StringView("id"), path);
    attribute.name = optionalString(object, QLatin1StringView("name"), path);
    attribute.option = optionalString(object, QLatin1StringView("option"), path);
    const QJsonValue options = object.value(QLatin1StringView("options"));
    if (!isAbsent(options)) {
        const QString optionsPath = keyPath(path, QLatin1StringView("options"));
        if (!options.isArray()) {
            fail(optionsPath, "expected a list of strings or null");
        }
        QStringList texts;
        const QJsonArray array = options.toArray();
        for (qsizetype index = 0; index < array.size(); ++index) {
            if (!array.at(index).isString()) {
                fail(indexPath(optionsPath, index), "expected a string");
            }
            texts.append(array.at(index).toString());
        }
        attribute.options = texts;
    }
    attribute.variation = optionalBoolean(object, QLatin1StringView("variation"), path);
    attribute.visible = optionalBoolean(object, QLatin1StringView("visible"), path);
    return attribute;
}

WooCommerceImageDTO WooCommerceImageDTO::fromJson(const QJsonValue& value, const QString& path) {
    const QJsonObject object = requireObject(value, path);
    WooCommerceImageDTO image;
    image.id = optionalInteger(object, QLatin1StringView("id"), path);
    image.src = optionalString(object, QLatin1StringView("src"), path);
    return image;
}

WooCommerceProductDTO WooCommerceProductDTO::fromJson(const QJsonValue& value, const QString& path) {
    const QJsonObject object = requireObject(value, path);
    WooCommerceProductDTO product;
    product.id = requiredInteger(object, QLatin1StringView("id"), path);
    product.name = optionalString(object, QLatin1StringView("name"), path)
                       .value_or(QStringLiteral("Produit ") + QString::number(product.id));
    product.type = optionalString(object, QLatin1StringView("type"), path);
    product.sku = optionalString(object, QLatin1StringView("sku"), path);
    product.stockQuantity = optionalInteger(object, QLatin1StringView("stock_quantity"), path);
    product.manageStock = tolerantWooBoolean(object.value(QLatin1StringView("manage_stock")));
    product.stockStatus = optionalString(object, QLatin1StringView("stock_status"), path);
    product.categories = optionalList<WooCommerceCategoryDTO>(object, QLatin1StringView("categories"), path);
    product.attributes = optionalList<WooCommerceAttributeDTO>(object, QLatin1StringView("attributes"), path);
    product.images = optionalList<WooCommerceImageDTO>(object, QLatin1StringView("images"), path);
    product.globalUniqueID = optionalString(object, QLatin1StringView("global_unique_id"), path);
    product.dateModified = optionalString(object, QLatin1StringView("date_modified"), path);
    product.parentId = optionalInteger(object, QLatin1StringView("parent_id"), path);
    return product;
}

WooCommerceProductDTO WooCommerceProductDTO::decode(const QByteArray& body) {
    return decodeOne<WooCommerceProductDTO>(body);
}

QList<WooCommerceProductDTO> WooCommerceProductDTO::decodeList(const QByteArray& body) {
    return decodeMany<WooCommerceProductDTO>(body);
}

WooCommerceVariationDTO WooCommerceVariationDTO::fromJson(const QJsonValue& value, const QString& path) {
    const QJsonObject object = requireObject(value, path);
    WooCommerceVariationDTO variation;
    variation.id = requiredInteger(object, QLatin1StringView("id"), path);
    variation.sku = optionalString(object, QLatin1StringView("sku"), path);
    variation.stockQuantity = optionalInteger(object, QLatin1StringView("stock_quantity"), path);
    const QJsonValue manageStock = object.value(QLatin1StringView("manage_stock"));
    variation.manageStock = tolerantWooBoolean(manageStock);
    variation.stockManagedByParent = manageStock.isString() && manageStock.toString().toLower() == u"parent";
    variation.stockStatus = optionalString(object, QLatin1StringView("stock_status"), path);
    variation.attributes =
        optionalList<WooCommerceAttributeDTO>(object, QLatin1StringView("attributes"), path);
    const QJsonValue image = object.value(QLatin1StringView("image"));
    if (!isAbsent(image)) {
        variation.image = WooCommerceImageDTO::fromJson(image, keyPath(path, QLatin1StringView("image")));
    }
    variation.globalUniqueID = optionalString(object, QLatin1StringView("global_unique_id"), path);
    variation.dateModified = optionalString(object, QLatin1StringView("date_modified"), path);
    return variation;
}

WooCommerceVariationDTO WooCommerceVariationDTO::decode(const QByteArray& body) {
    return decodeOne<WooCommerceVariationDTO>(body);
}

QList<WooCommerceVariationDTO> WooCommerceVariationDTO::decodeList(const QByteArray& body) {
    return decodeMany<WooCommerceVariationDTO>(body);
}

} // namespace tallybrook
