#include "woocommerce/WooStockUpdateService.h"

#include "document/InventoryExportDocument.h"
#include "document/TextRules.h"
#include "localization/AppText.h"
#include "woocommerce/WooCommerceAPIError.h"
#include "woocommerce/WooIntegerText.h"
#include "woocommerce/WooRequestGate.h"

#include <QSet>

namespace tallybrook {

namespace {

std::optional<qint64> numericText(const std::optional<QString>& text) {
    return text ? parseWooInteger(QStringView(*text)) : std::nullopt;
}

QString parentText(const WooCommerceProductDTO& variation) {
    return variation.parentId && *variation.parentId > 0 ? QString::number(*variation.parentId)
                                                         : QStringLiteral("?");
}

QString displayNameOf(const InventoryExportRow& row) {
    if (row.itemName) {
        return *row.itemName;
    }
    if (row.sku) {
        return *row.sku;
    }
    if (row.barcode) {
        return *row.barcode;
    }
    return AppText::localized(u"wooCorrection.unnamed");
}

// Collects the report of one reload, row by row.
class ReloadRecorder {
public:
    explicit ReloadRecorder(const Clock& clock)
        : clock_(clock) {}

    void addLevel(const InventoryExportRow& row, std::optional<QString> variantId,
                  std::optional<qint64> quantity, std::optional<bool> stockManaged) {
        RemoteStockLevel level;
        level.localItemId = row.localItemId ? parseUuidText(*row.localItemId) : std::nullopt;
        level.externalProductId = row.externalProductId;
        level.externalVariantId = std::move(variantId);
        level.quantity = quantity;
        level.stockManaged = stockManaged;
        level.fetchedAt = clock_();
        if (quantity) {
            ++report.quantityCount;
        }
        report.levels.append(std::move(level));
    }

    void addIssue(const InventoryExportRow& row, QString message) {
        report.issues.append(RemoteStockReloadIssue{QUuid::createUuid(), row.externalProductId,
                                                    row.externalVariantId, displayNameOf(row),
                                                    std::move(message)});
    }

    RemoteStockReloadReport report;

private:
    const Clock& clock_;
};

} // namespace

WooStockUpdateService::WooStockUpdateService(WooCommerceAPIClient client, Clock clock)
    : client_(std::move(client))
    , clock_(clock ? std::move(clock) : Clock(systemNow)) {}

void WooStockUpdateService::validateCredentials() const {
    client_.validateCredentials();
}

RemoteStockReloadReport
WooStockUpdateService::fetchCurrentStocksWithReport(const InventoryExportDocument& document,
                                                    const WorkObserver& observer) const {
    // Only the first row of each product–variation key is read; later ones add nothing.
    QList<const InventoryExportRow*> keyedRows;
    QSet<QString> seenKeys;
    for (const InventoryExportRow& row : document.rows) {
        if (!row.externalProductId || row.externalProductId->isEmpty()) {
            continue;
        }
        const QString key = *row.externalProductId + u':' + row.externalVariantId.value_or(QString());
        if (!seenKeys.contains(key)) {
            seenKeys.insert(key);
            keyedRows.append(&row);
        }
    }

    ReloadRecorder recorder(clock_);
    WooRequestGate gate;
    const qint64 total = keyedRows.size();
    qint64 done = 0;
    for (const InventoryExportRow* rowPointer : keyedRows) {
        if (observer.stopRequested()) {
            break;
        }
        const InventoryExportRow& row = *rowPointer;
        ++recorder.report.requestedItemCount;
        const std::optional<qint64> productId = numericText(row.externalProductId);
        const std::optional<qint64> variantId = numericText(row.externalVariantId);

        if (!productId) {
            recorder.addIssue(row, AppText::localized(u"wooReload.nonNumericId"));
        } else if (variantId) {
            WooCommerceVariationDTO variation;
            if (const auto failure =
                    gate.failureOf([&] { variation = client_.fetchVariation(*productId, *variantId); })) {
                recorder.addIssue(row, *failure);
                recorder.addLevel(row, row.externalVariantId, std::nullopt, std::nullopt);
            } else if (variation.stockQuantity) {
                recorder.addLevel(row, row.externalVariantId, variation.stockQuantity, variation.manageStock);
            } else {
                // The variation has no stock of its own: the parent product's stands in for it.
                WooCommerceProductDTO product;
                if (gate.failureOf([&] { product = client_.fetchProduct(*productId); })) {
                    recorder.addLevel(row, row.externalVariantId, std::nullopt, variation.manageStock);
                    recorder.addIssue(row, AppText::localized(u"wooReload.noVariationStock"));
                } else {
                    recorder.addLevel(row, row.externalVariantId, product.stockQuantity,
                                      product.manageStock ? product.manageStock : variation.manageStock);
                    if (!product.stockQuantity) {
                        recorder.addIssue(row, AppText::localized(u"wooReload.noVariationStock"));
                    }
                }
            }
        } else {
            WooCommerceProductDTO product;
            if (const auto failure = gate.failureOf([&] { product = client_.fetchProduct(*productId); })) {
                recorder.addIssue(row, *failure);
                recorder.addLevel(row, row.externalVariantId, std::nullopt, std::nullopt);
            } else if (product.type == u"variation") {
                // WooCommerce answers a variation's id on the product route, but refuses to set
                // its stock there: the row must name the product and the variation.
                recorder.addIssue(row, AppText::formatted(u"wooReload.variationAsProduct",
                                                          {*productId, parentText(product), *productId}));
                recorder.addLevel(row, std::nullopt, std::nullopt, std::nullopt);
            } else {
                recorder.addLevel(row, std::nullopt, product.stockQuantity, product.manageStock);
                if (!product.stockQuantity) {
                    recorder.addIssue(row, AppText::localized(u"wooReload.noProductStock"));
                }
            }
        }
        observer.report(++done, total);
    }
    return std::move(recorder.report);
}

QList<RemoteStockLevel>
WooStockUpdateService::fetchCurrentStocks(const InventoryExportDocument& document) const {
    return fetchCurrentStocksWithReport(document).levels;
}

std::optional<qint64> WooStockUpdateService::updateStock(const QString& productId,
                                                         const std::optional<QString>& variantId,
                                                         qint64 quantity) const {
    const auto product = parseWooInteger(QStringView(productId));
    if (!product) {
        throw WooCommerceAPIError::invalidURL();
    }
    if (const auto variant = numericText(variantId)) {
        return client_.updateVariation(*product, *variant, quantity).stockQuantity;
    }
    return client_.updateProduct(*product, quantity).stockQuantity;
}

} // namespace tallybrook
