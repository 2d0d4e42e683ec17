#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace tallybrook {

// Read-only mirrors of WooCommerce REST v3 answers. Decoding is key by key: tolerant where
// installations differ ("manage_stock" as text, missing lists or names), strict where a record
// would be meaningless (an integer "id"). Every decoder throws WooDecodingError on the first
// key that breaks its rule; keys not listed here are ignored.

/// A product category as listed in a product.
struct WooCommerceCategoryDTO {
    std::optional<qint64> id;
    QString name; ///< required

    static WooCommerceCategoryDTO fromJson(const QJsonValue& value, const QString& path = {});
    bool operator==(const WooCommerceCategoryDTO&) const = default;
};

/// A product attribute (`options`) or a variation's chosen value (`option`).
struct WooCommerceAttributeDTO {
    std::optional<qint64> id;
    std::optional<QString> name;
    std::optional<QString> option;
    std::optional<QStringList> options;
    std::optional<bool> variation;
    std::optional<bool> visible;

    static WooCommerceAttributeDTO fromJson(const QJsonValue& value, const QString& path = {});
    bool operator==(const WooCommerceAttributeDTO&) const = default;
};

/// A product or variation image.
struct WooCommerceImageDTO {
    std::optional<qint64> id;
    std::optional<QString> src;

    static WooCommerceImageDTO fromJson(const QJsonValue& value, const QString& path = {});
    bool operator==(const WooCommerceImageDTO&) const = default;
};

/// One product. `name` falls back to "Produit <id>" (French on purpose: it never reaches the
/// screen, item names come from the inventory document).
struct WooCommerceProductDTO {
    qint64 id = 0;
    QString name;
    std::optional<QString> type;
    std::optional<QString> sku;
    std::optional<qint64> stockQuantity;
    std::optional<bool> manageStock; ///< tolerant: "yes"/"no"/"parent"/1/0 accepted
    std::optional<QString> stockStatus;
    QList<WooCommerceCategoryDTO> categories;
    QList<WooCommerceAttributeDTO> attributes;
    QList<WooCommerceImageDTO> images;
    std::optional<QString> globalUniqueID;
    std::optional<QString> dateModified; ///< as the shop wrote it; not parsed
    /// The product a variation belongs to: WooCommerce answers a variation's id on the product
    /// route with "type": "variation" and its parent here (0 for a product of its own).
    std::optional<qint64> parentId;

    static WooCommerceProductDTO fromJson(const QJsonValue& value, const QString& path = {});
    /// One product from a whole answer body.
    static WooCommerceProductDTO decode(const QByteArray& body);
    /// A JSON list of products from a whole answer body.
    static QList<WooCommerceProductDTO> decodeList(const QByteArray& body);
    bool operator==(const WooCommerceProductDTO&) const = default;
};

/// One variation of a variable product. "manage_stock": "parent" reads as false.
struct WooCommerceVariationDTO {
    qint64 id = 0;
    std::optional<QString> sku;
    std::optional<qint64> stockQuantity;
    std::optional<bool> manageStock;
    /// "manage_stock": "parent": the parent product keeps this variation's stock (and the
    /// variation shows the parent's quantity as its own).
    bool stockManagedByParent = false;
    std::optional<QString> stockStatus;
    QList<WooCommerceAttributeDTO> attributes;
    std::optional<WooCommerceImageDTO> image;
    std::optional<QString> globalUniqueID;
    std::optional<QString> dateModified;

    static WooCommerceVariationDTO fromJson(const QJsonValue& value, const QString& path = {});
    static WooCommerceVariationDTO decode(const QByteArray& body);
    static QList<WooCommerceVariationDTO> decodeList(const QByteArray& body);
    bool operator==(const WooCommerceVariationDTO&) const = default;
};

/// A JSON number holding a whole value within the signed 64-bit range (12 and 12.0 alike);
/// none for a fraction, a value out of range or anything that is not a number.
std::optional<qint64> wooJsonInteger(const QJsonValue& value);

/// The tolerant boolean of "manage_stock": a JSON boolean; a text "true"/"yes"/"1" or
/// "false"/"no"/"0"/"parent" in any case (other texts: none); an integer (0 false, else true);
/// anything else, missing or null: none. Never fails.
std::optional<bool> tolerantWooBoolean(const QJsonValue& value);

} // namespace tallybrook
