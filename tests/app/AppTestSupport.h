#pragma once

#include "app/InventoryImportViewModel.h"
#include "app/TallybrookControlStore.h"
#include "corrections/CommerceStockConnector.h"
#include "document/InventoryExportDocument.h"
#include "document/TallybrookDecodedInventory.h"
#include "document/TallybrookFileDecoder.h"
#include "support/EventLoop.h"
#include "support/InventoryBuilders.h"
#include "support/TestLanguage.h"

#include <QCoreApplication>
#include <QSemaphore>
#include <functional>
#include <memory>

namespace tallybrook::test {

using namespace Qt::StringLiterals;

/// A stock level read for `product` (managed, read now).
inline RemoteStockLevel level(const QString& product, std::optional<qint64> quantity) {
    RemoteStockLevel result;
    result.externalProductId = product, result.quantity = quantity, result.stockManaged = true;
    result.fetchedAt = QDateTime::currentDateTimeUtc();
    return result;
}

inline TallybrookDecodedInventory decoded(const QByteArray& bytes) {
    return TallybrookFileDecoder().decodeInventoryDocumentWithValidation(bytes);
}

/// Hands a decoded file to the store as the import flow does: prepared, then adopted.
inline void importInto(TallybrookControlStore& store, TallybrookDecodedInventory decoded,
                       const std::optional<QString>& fileName = std::nullopt) {
    store.adoptSession(store.prepareSession(std::move(decoded), fileName));
}

/// Runs an import of `importer` that `start` begins (startImport, startRestoreMostRecent) to
/// its end: whether it imported; none when it did not start.
inline std::optional<bool> runImport(InventoryImportViewModel& importer, const std::function<bool()>& start) {
    std::optional<bool> imported;
    const auto connection = QObject::connect(&importer, &InventoryImportViewModel::importFinished,
                                             [&imported](bool ok) { imported = ok; });
    const bool started = start();
    if (started) {
        waitUntil([&imported] { return imported.has_value(); });
    }
    QObject::disconnect(connection);
    return started ? imported : std::nullopt;
}

/// A connector for view-model tests: answers reads with `levels` and sends by success lines,
/// one item at a time; each item can be held at a gate so a test can act while a run is in
/// the middle (stop it, replace the document).
class ScriptedConnector final : public CommerceStockConnector {
public:
    QList<RemoteStockLevel> levels;
    qint64 requestedItemCount = 0;
    QList<RemoteStockReloadIssue> issues;
    /// When set, every item waits for one release of `gate` after announcing itself on `entered`.
    bool gated = false;
    QSemaphore entered;
    QSemaphore gate;
    std::atomic<int> requests{0};

    CommerceConnectorKind kind() const override { return CommerceConnectorKind::wooCommerce; }
    void validateCredentials() override {}

    RemoteStockReloadReport fetchCurrentStocksWithReport(const InventoryExportDocument&,
                                                         const WorkObserver& observer) override {
        RemoteStockReloadReport report;
        report.requestedItemCount = requestedItemCount, report.issues = issues;
        for (const RemoteStockLevel& level : std::as_const(levels)) {
            if (observer.stopRequested()) {
                break;
            }
            step();
            report.levels.append(level);
            report.quantityCount += level.quantity ? 1 : 0;
            observer.report(report.levels.size(), levels.size());
        }
        return report;
    }

    QList<WooUpdateResultLine> updateSelectedStocks(const QList<WooCorrectionPreview>& previews,
                                                    const WorkObserver& observer) override {
        QList<WooUpdateResultLine> lines;
        for (const WooCorrectionPreview& preview : previews) {
            if (observer.stopRequested()) {
                break;
            }
            step();
            WooUpdateResultLine line;
            line.id = QUuid::createUuid(), line.correctionId = preview.id;
            line.externalProductId = preview.externalProductId, line.itemName = preview.itemName;
            line.requestedQuantity = preview.proposedQuantity;
            line.remoteQuantityAfterUpdate = preview.proposedQuantity, line.success = true;
            line.message = u"WooCommerce stock updated."_s, line.updatedAt = QDateTime::currentDateTimeUtc();
            lines.append(line);
            observer.report(lines.size(), previews.size());
        }
        return lines;
    }

private:
    void step() {
        ++requests;
        if (gated) {
            entered.release();
            gate.tryAcquire(1, 60000);
        }
    }
};

} // namespace tallybrook::test
