#pragma once

#include "corrections/CommerceStockConnector.h"
#include "document/InventoryExportDocument.h"
#include "document/TallybrookDecodedInventory.h"
#include "document/TallybrookFileDecoder.h"
#include "localization/PreferencesStore.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSemaphore>
#include <functional>
#include <memory>

namespace tallybrook::testing {

using namespace Qt::StringLiterals;

inline void useLanguage(const QString& language) {
    PreferencesStore::setStandard(std::make_shared<InMemoryPreferencesStore>());
    PreferencesStore::standard()->setString(u"com.tallybrook.control.language"_s, language);
}

/// Runs the event loop until `done` holds; false when it still does not after a minute
/// (a hung run, reported as a failure rather than a hang).
inline bool waitUntil(const std::function<bool()>& done) {
    const QDeadlineTimer deadline(60000);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
}

/// One row of a test document: product `product` (none for a row without id), counted and
/// reference quantities, at `location`.
inline QJsonObject row(const QString& sessionId, const std::optional<QString>& product,
                       std::optional<qint64> counted, std::optional<qint64> reference, const QString& name,
                       const QString& location = u"Boutique"_s) {
    QJsonObject object{{u"sessionId"_s, sessionId},
                       {u"source"_s, u"woocommerce"_s},
                       {u"itemName"_s, name},
                       {u"location"_s, location},
                       {u"sku"_s, QString(u"SKU-"_s + name)}};
    if (product) {
        object.insert(u"externalProductId"_s, *product);
    }
    if (counted) {
        object.insert(u"countedQuantity"_s, *counted);
    }
    if (reference) {
        object.insert(u"referenceQuantity"_s, *reference);
    }
    const bool differs = counted && reference && *counted != *reference;
    object.insert(u"status"_s, !counted ? u"not_counted"_s : differs ? u"difference"_s : u"counted"_s);
    return object;
}

inline QByteArray documentBytes(const QString& sessionId, const QJsonArray& rows,
                                const QJsonArray& temporaryItems = {}) {
    const QJsonObject root{
        {u"format"_s, u"com.tallybrook.inventory-export"_s},
        {u"formatVersion"_s, 1},
        {u"exportedAt"_s, u"2024-05-01T10:20:30Z"_s},
        {u"source"_s, QJsonObject{{u"type"_s, u"woocommerce"_s}, {u"displayName"_s, u"Boutique"_s}}},
        {u"session"_s, QJsonObject{{u"id"_s, sessionId}, {u"name"_s, u"Test"_s}}},
        {u"rows"_s, rows},
        {u"temporaryItems"_s, temporaryItems}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

inline TallybrookDecodedInventory decoded(const QByteArray& bytes) {
    return TallybrookFileDecoder().decodeInventoryDocumentWithValidation(bytes);
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
        report.requestedItemCount = requestedItemCount;
        report.issues = issues;
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
            line.id = QUuid::createUuid();
            line.correctionId = preview.id;
            line.externalProductId = preview.externalProductId;
            line.itemName = preview.itemName;
            line.requestedQuantity = preview.proposedQuantity;
            line.remoteQuantityAfterUpdate = preview.proposedQuantity;
            line.success = true;
            line.message = u"WooCommerce stock updated."_s;
            line.updatedAt = QDateTime::currentDateTimeUtc();
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

} // namespace tallybrook::testing
