#include "woocommerce/WooStockUpdateService.h"

#include "core/TextRules.h"
#include "document/InventoryExportDocument.h"
#include "localization/AppText.h"
#include "woocommerce/WooCommerceAPIError.h"
#include "woocommerce/WooIntegerText.h"
#include "woocommerce/WooRequestGate.h"
#include "woocommerce/WooStockReader.h"

#include <QSet>

namespace tallybrook {

namespace {

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

    void addRead(const InventoryExportRow& row, const WooStockRead& read) {
        if (read.issue) {
            addIssue(row, *read.issue);
        }
        RemoteStockLevel level;
        level.localItemId = row.localItemId ? parseUuidText(*row.localItemId) : std::nullopt;
        level.externalProductId = row.externalProductId;
        level.externalVariantId = read.keepsRowVariant ? row.externalVariantId : std::nullopt;
        level.quantity = read.quantity;
        level.stockManaged = read.stockManaged;
        level.stockManagedByParent = read.stockManagedByParent;
        level.fetchedAt = clock_();
        if (read.quantity) {
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

std::optional<qint64> wooNumericId(const std::optional<QString>& text) {
    return text ? parseWooInteger(QStringView(*text)) : std::nullopt;
}

WooStockUpdateService::WooStockUpdateService(WooCommerceAPIClient client, Clock clock, WooRequestMode mode)
    : client_(std::move(client))
    , clock_(clock ? std::move(clock) : Clock(systemNow))
    , mode_(mode) {}

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

    // Rows whose product id is not numeric are never sent to the shop: no key to read.
    QList<WooStockKey> keys;
    QList<qsizetype> keyOfRow;
    keyOfRow.reserve(keyedRows.size());
    for (const InventoryExportRow* row : std::as_const(keyedRows)) {
        const std::optional<qint64> productId = wooNumericId(row->externalProductId);
        keyOfRow.append(productId ? keys.size() : -1);
        if (productId) {
            keys.append(WooStockKey{*productId, wooNumericId(row->externalVariantId)});
        }
    }
    const qint64 total = keyedRows.size();
    const qint64 unreadable = total - keys.size();
    const WorkObserver keyObserver{[&observer, unreadable, total](qint64 done, qint64) {
                                       observer.report(done + unreadable, total);
                                   },
                                   observer.shouldStop};

    WooRequestGate gate;
    const QList<std::optional<WooStockRead>> reads = WooStockReader(client_, gate, mode_).read(keys, keyObserver);

    ReloadRecorder recorder(clock_);
    // A stopped reload reports what it read; rows without a request count only up to its first
    // unread key, as if the rows had been walked in order.
    bool stoppedBefore = false;
    for (qsizetype i = 0; i < keyedRows.size(); ++i) {
        const InventoryExportRow& row = *keyedRows.at(i);
        const qsizetype key = keyOfRow.at(i);
        if (key < 0) {
            if (!stoppedBefore) {
                ++recorder.report.requestedItemCount;
                recorder.addIssue(row, AppText::localized(u"wooReload.nonNumericId"));
            }
        } else if (const std::optional<WooStockRead>& read = reads.at(key)) {
            ++recorder.report.requestedItemCount;
            recorder.addRead(row, *read);
        } else {
            stoppedBefore = true;
        }
    }
    if (keys.isEmpty() && total > 0) {
        observer.report(total, total);
    }
    return std::move(recorder.report);
}

std::optional<qint64> WooStockUpdateService::updateStock(const QString& productId,
                                                         const std::optional<QString>& variantId,
                                                         qint64 quantity) const {
    const auto product = parseWooInteger(QStringView(productId));
    if (!product) {
        throw WooCommerceAPIError::invalidURL();
    }
    if (const auto variant = wooNumericId(variantId)) {
        return client_.updateVariation(*product, *variant, quantity).stockQuantity;
    }
    return client_.updateProduct(*product, quantity).stockQuantity;
}

} // namespace tallybrook
