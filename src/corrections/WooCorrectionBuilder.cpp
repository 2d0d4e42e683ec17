#include "corrections/WooCorrectionBuilder.h"

#include "core/TextRules.h"
#include "document/InventoryExportDocument.h"
#include "localization/AppText.h"

#include <QHash>
#include <QRandomGenerator>
#include <QStringView>
#include <QtNumeric>

#include <array>
#include <cstring>

using namespace Qt::StringLiterals;

namespace tallybrook {

std::optional<qint64> checkedDifference(std::optional<qint64> minuend, std::optional<qint64> subtrahend) {
    if (!minuend || !subtrahend) {
        return std::nullopt;
    }
    qint64 result = 0;
    // Qt's checked arithmetic: the compiler's overflow builtin where there is one, portable elsewhere.
    if (qSubOverflow(*minuend, *subtrahend, &result)) {
        return std::nullopt;
    }
    return result;
}

namespace {

QStringView viewOf(const std::optional<QString>& text) {
    return text ? QStringView(*text) : QStringView();
}

// The identity of a level is its local item UUID text, product id and variation id joined
// with ":", none and empty text being the same. The keys below hold the same three parts
// unjoined. They match the same levels as the joined text, except that a ":" inside an id can
// no longer make product "12:x" pose as product 12 with variation "x"; and they cost no string
// building per row. The views point into the caller's rows and levels, which outlive one
// build. Each key carries its hash, computed once, and probing compares hashes before
// touching the (cold) text of the other key.
struct ProductVariantKey {
    ProductVariantKey(QStringView product, QStringView variant)
        : product(product)
        , variant(variant)
        , hash(qHashMulti(0, product, variant)) {}

    QStringView product;
    QStringView variant;
    size_t hash;

    friend bool operator==(const ProductVariantKey& a, const ProductVariantKey& b) noexcept {
        return a.hash == b.hash && a.product == b.product && a.variant == b.variant;
    }
    friend size_t qHash(const ProductVariantKey& key, size_t seed = 0) noexcept { return key.hash ^ seed; }
};

struct FullKey {
    FullKey(const std::optional<QUuid>& localItem, const ProductVariantKey& productVariant)
        : hasLocalItem(localItem.has_value())
        , localItem(localItem.value_or(QUuid()))
        , productVariant(productVariant)
        , hash(qHashMulti(productVariant.hash, hasLocalItem, this->localItem)) {}

    bool hasLocalItem;
    QUuid localItem;
    ProductVariantKey productVariant;
    size_t hash;

    friend bool operator==(const FullKey& a, const FullKey& b) noexcept {
        return a.hash == b.hash && a.hasLocalItem == b.hasLocalItem && a.localItem == b.localItem &&
               a.productVariant == b.productVariant;
    }
    friend size_t qHash(const FullKey& key, size_t seed = 0) noexcept { return key.hash ^ seed; }
};

enum class MessageKey : std::size_t {
    unknownCode,
    temporaryItem,
    missingWooId,
    missingCount,
    noReferenceDifference,
    stockNotManaged,
    noRemoteQuantity,
    remoteAlreadyMatches,
    remoteChanged,
    ready,
    unnamed,
    count
};

constexpr std::array<QStringView, std::size_t(MessageKey::count)> messageKeys{
    u"wooCorrection.unknownCode",
    u"wooCorrection.temporaryItem",
    u"wooCorrection.missingWooId",
    u"wooCorrection.missingCount",
    u"wooCorrection.noReferenceDifference",
    u"wooCorrection.stockNotManaged",
    u"wooCorrection.noRemoteQuantity",
    u"wooCorrection.remoteAlreadyMatches",
    u"wooCorrection.remoteChanged",
    u"wooCorrection.ready",
    u"wooCorrection.unnamed"};

/// The builder's texts in one language, looked up once per build and shared by every row.
class BuildTexts {
public:
    explicit BuildTexts(AppLanguage language)
        : language_(language) {
        for (std::size_t i = 0; i < messageKeys.size(); ++i) {
            texts_[i] = AppText::localized(messageKeys[i], language);
        }
    }
    const QString& text(MessageKey key) const { return texts_[std::size_t(key)]; }
    AppLanguage language() const { return language_; }

private:
    AppLanguage language_;
    std::array<QString, std::size_t(MessageKey::count)> texts_;
};

/// Random (version 4) UUIDs drawn from the system generator in blocks: one draw per block
/// instead of one per preview, which dominated large builds.
class UuidSource {
public:
    QUuid next() {
        if (used_ == blockSize) {
            QRandomGenerator::system()->fillRange(words_.data(), qsizetype(words_.size()));
            used_ = 0;
        }
        std::array<uchar, 16> bytes;
        std::memcpy(bytes.data(), words_.data() + used_ * 4, bytes.size());
        ++used_;
        bytes[6] = uchar((bytes[6] & 0x0F) | 0x40); // version 4
        bytes[8] = uchar((bytes[8] & 0x3F) | 0x80); // RFC 4122 variant
        return QUuid::fromRfc4122(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    }

private:
    static constexpr std::size_t blockSize = 256;
    std::array<quint32, blockSize * 4> words_{};
    std::size_t used_ = blockSize;
};

struct Decision {
    WooCorrectionStatus status;
    MessageKey message;
};

/// The status rules, first match wins. `level` is the matched level or null.
Decision decide(const InventoryExportRow& row, const RemoteStockLevel* level) {
    const std::optional<qint64>& reference = row.referenceQuantity;
    const std::optional<qint64>& counted = row.countedQuantity;

    if (row.status == InventoryExportRowStatus::unknownCode || row.source == u"unknown"_s) {
        return {WooCorrectionStatus::unknownCode, MessageKey::unknownCode};
    }
    if (row.status == InventoryExportRowStatus::temporaryItem || row.source == u"temporary"_s) {
        return {WooCorrectionStatus::temporaryItem, MessageKey::temporaryItem};
    }
    if (!row.externalProductId || row.externalProductId->isEmpty()) {
        return {WooCorrectionStatus::missingRemoteIdentifier, MessageKey::missingWooId};
    }
    if (!counted) {
        return {WooCorrectionStatus::ignored, MessageKey::missingCount};
    }
    if (reference && *reference == *counted) {
        return {WooCorrectionStatus::noDifference, MessageKey::noReferenceDifference};
    }
    if (level && level->stockManaged == false) {
        return {WooCorrectionStatus::stockNotManaged, MessageKey::stockNotManaged};
    }
    if (!level) {
        return {WooCorrectionStatus::ready, MessageKey::ready};
    }
    if (!level->quantity) {
        return {WooCorrectionStatus::remoteStockChanged, MessageKey::noRemoteQuantity};
    }
    if (*level->quantity == *counted) {
        return {WooCorrectionStatus::noDifference, MessageKey::remoteAlreadyMatches};
    }
    if (reference && *level->quantity != *reference) {
        return {WooCorrectionStatus::remoteStockChanged, MessageKey::remoteChanged};
    }
    return {WooCorrectionStatus::ready, MessageKey::ready};
}

} // namespace

QList<WooCorrectionPreview>
WooCorrectionBuilder::buildPreviews(const InventoryExportDocument& document,
                                    const QList<RemoteStockLevel>& currentRemoteStocks) const {
    const std::optional<QUuid> sessionId = document.session.uuid();
    if (!sessionId) {
        return {};
    }

    QHash<FullKey, const RemoteStockLevel*> byFullKey;
    QHash<ProductVariantKey, const RemoteStockLevel*> byProductVariant;
    byFullKey.reserve(currentRemoteStocks.size());
    byProductVariant.reserve(currentRemoteStocks.size());
    // First wins among levels with the same key: walking the list backwards and overwriting
    // leaves the earliest level under each key, with one hash operation per insert.
    for (auto it = currentRemoteStocks.crbegin(); it != currentRemoteStocks.crend(); ++it) {
        const RemoteStockLevel& level = *it;
        const ProductVariantKey productVariant(viewOf(level.externalProductId),
                                               viewOf(level.externalVariantId));
        const FullKey full(level.localItemId, productVariant);
        byFullKey.insert(full, &level);
        byProductVariant.insert(productVariant, &level);
    }

    const BuildTexts texts(AppText::currentLanguage());
    UuidSource uuids;

    QList<WooCorrectionPreview> previews;
    previews.reserve(document.rows.size());
    for (const InventoryExportRow& row : document.rows) {
        // Compared through the parsed value, so lower-case UUID text matches too.
        const std::optional<QUuid> localItemId =
            row.localItemId ? parseUuidText(*row.localItemId) : std::optional<QUuid>();

        const RemoteStockLevel* level = nullptr;
        if (!currentRemoteStocks.isEmpty()) {
            const ProductVariantKey productVariant(viewOf(row.externalProductId),
                                                   viewOf(row.externalVariantId));
            const FullKey full(localItemId, productVariant);
            level = byFullKey.value(full, nullptr);
            if (!level) {
                level = byProductVariant.value(productVariant, nullptr);
            }
        }

        const std::optional<qint64> remote = level ? level->quantity : std::nullopt;
        const std::optional<qint64> counted = row.countedQuantity;
        const Decision decision = decide(row, level);

        WooCorrectionPreview preview;
        preview.id = uuids.next();
        preview.sessionId = *sessionId;
        preview.localItemId = localItemId;
        preview.externalProductId = row.externalProductId;
        preview.externalVariantId = row.externalVariantId;
        preview.itemName = row.itemName  ? *row.itemName
                           : row.barcode ? *row.barcode
                                         : texts.text(MessageKey::unnamed);
        preview.variantName = row.variantName;
        preview.sku = row.sku;
        preview.barcode = row.barcode;
        preview.referenceQuantityAtInventory = row.referenceQuantity;
        preview.currentRemoteQuantity = remote;
        preview.countedQuantity = counted;
        preview.proposedQuantity = counted;
        preview.differenceFromReference = (counted && row.referenceQuantity)
                                              ? checkedDifference(counted, row.referenceQuantity)
                                              : row.difference;
        preview.differenceFromCurrentRemote = checkedDifference(counted, remote);
        preview.status = decision.status;
        preview.isSelected = isSelectedByDefault(decision.status);
        preview.message = texts.text(decision.message);
        if (decision.message == MessageKey::stockNotManaged && level->stockManagedByParent) {
            // Says where the stock lives, so the user corrects the parent product instead.
            preview.message = AppText::formatted(u"wooCorrection.stockManagedByParent", texts.language(),
                                                 {preview.itemName, *row.externalProductId});
        }
        previews.append(std::move(preview));
    }
    return previews;
}

} // namespace tallybrook
