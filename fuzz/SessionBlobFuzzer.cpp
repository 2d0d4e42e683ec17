// The preferences file holds three blobs that another version, a crash or a hand edit may have
// damaged: the correction progress, the temporary-item locations and the import history. The
// input stands in for all three. Whatever it holds, each store loads without failing (a blob
// it cannot read counts as empty), lays what it read over matching rows, saves on top of it and
// then reads back exactly what it saved: a store that reads the written bytes afresh must see
// the same sessions as the store that wrote them, and the session just saved must be among them.

#include "FuzzSupport.h"
#include "core/TextRules.h"
#include "document/TallybrookFileDecoder.h"
#include "storage/ImportHistoryStore.h"
#include "storage/InventoryFileReader.h"
#include "storage/TemporaryItemLocationStore.h"
#include "storage/WooCorrectionProgressStore.h"

using namespace tallybrook;

namespace {

QDateTime fixedNow() {
    return QDateTime(QDate(2024, 5, 1), QTime(10, 0), Qt::UTC);
}

// Few sessions and rows per input keep each run short; the shapes are what matters.
constexpr qsizetype sessionsPerRun = 4;
constexpr qsizetype rowsPerSession = 64;

// Rows whose record keys are those of the stored records, so the saved progress has rows to
// be laid over (a key names local item, product, variation, SKU, barcode and item name).
QList<WooCorrectionPreview> previewsFor(const WooCorrectionProgressSession& session) {
    QList<WooCorrectionPreview> previews;
    for (const WooCorrectionProgressRecord& record :
         session.records.first(std::min(session.records.size(), rowsPerSession))) {
        const QStringList parts = record.key.split(u'|');
        if (parts.size() < 6) {
            continue;
        }
        const auto part = [&](qsizetype i) {
            return parts[i].isEmpty() ? std::nullopt : std::optional<QString>(parts[i]);
        };
        WooCorrectionPreview preview;
        preview.id = QUuid::createUuid();
        preview.sessionId = session.sessionId;
        preview.localItemId = parseUuidText(parts[0]);
        preview.externalProductId = part(1);
        preview.externalVariantId = part(2);
        preview.sku = part(3);
        preview.barcode = part(4);
        preview.itemName = parts.mid(5).join(u'|');
        preview.countedQuantity = 5;
        preview.proposedQuantity = 5;
        preview.referenceQuantityAtInventory = 3;
        preview.differenceFromReference = 2;
        preview.status = WooCorrectionStatus::ready;
        preview.isSelected = true;
        if (WooCorrectionProgressStore::recordKey(preview) == record.key) {
            previews.append(preview);
        }
    }
    return previews;
}

void fuzzProgress(const std::shared_ptr<PreferencesStore>& preferences) {
    const WooCorrectionProgressStore progress(preferences, fixedNow);
    const QHash<QString, WooCorrectionProgressSession> stored = progress.loadSessions();
    QList<QUuid> saved;
    for (const WooCorrectionProgressSession& session : stored) {
        if (saved.size() == sessionsPerRun) {
            break;
        }
        const QList<WooCorrectionPreview> previews = previewsFor(session);
        const QList<WooCorrectionPreview> restored = progress.applyProgress(previews, session.sessionId);
        fuzz::check(restored.size() == previews.size(), "progress added or dropped rows");
        progress.saveProgress(session.sessionId, restored, session.updateResults);
        saved.append(session.sessionId);
    }
    // A session saved for the first time, whatever the stored ones hold.
    saved.append(QUuid::fromString(u"0C1D2E3F-4A5B-4C6D-8E7F-901234567890"));
    progress.saveProgress(saved.constLast(), {}, {});
    const QHash<QString, WooCorrectionProgressSession> written = progress.loadSessions();
    fuzz::check(written.contains(uuidText(saved.constLast())), "the session just saved is not in the blob");
    fuzz::check(written.size() <= WooCorrectionProgressStore::defaultMaxSessionCount,
                "too many sessions kept");
    fuzz::check(WooCorrectionProgressStore(preferences, fixedNow).loadSessions() == written,
                "the progress blob does not read back as it was saved");
}

void fuzzLocations(const std::shared_ptr<PreferencesStore>& preferences) {
    const TemporaryItemLocationStore locations(preferences, fixedNow);
    const QHash<QString, TemporaryItemLocationSession> stored = locations.loadSessions();
    qsizetype count = 0;
    for (const TemporaryItemLocationSession& session : stored) {
        if (count++ == sessionsPerRun) {
            break;
        }
        locations.saveAssignments(session.assignments, session.sessionId);
    }
    const QString fresh = QStringLiteral("0C1D2E3F-4A5B-4C6D-8E7F-901234567890");
    locations.saveAssignments({{QStringLiteral("legacy|T1||Article provisoire"), QStringLiteral("Réserve")}},
                              fresh);
    const QHash<QString, TemporaryItemLocationSession> written = locations.loadSessions();
    fuzz::check(written.contains(fresh), "the assignments just saved are not in the blob");
    fuzz::check(TemporaryItemLocationStore(preferences, fixedNow).loadSessions() == written,
                "the locations blob does not read back as it was saved");
}

void fuzzHistory(const std::shared_ptr<PreferencesStore>& preferences) {
    static const QByteArray file =
        QByteArrayLiteral(R"({"format":"com.tallybrook.inventory-export","formatVersion":1,)"
                          R"("session":{"id":"0C1D2E3F-4A5B-4C6D-8E7F-901234567890","name":"Fuzz"}})");
    static const InventoryExportDocument document = TallybrookFileDecoder().decodeInventoryDocument(file);

    ImportHistoryStore history(preferences, fixedNow);
    if (!history.recentImports().isEmpty()) {
        try { // what the start-up reopen decodes
            InventoryFileReader::decode(history.recentImports().constFirst().documentData);
        } catch (const TallybrookImportError&) {
        }
    }
    history.recordImport(document, file, QStringLiteral("fuzz.tallybrook"));
    fuzz::check(history.recentImports().size() <= ImportHistoryStore::maxEntryCount, "too many imports kept");
    fuzz::check(history.recentImports().constFirst().documentData == file, "the import is not first");
    fuzz::check(ImportHistoryStore(preferences, fixedNow).recentImports() == history.recentImports(),
                "the import history does not read back as it was saved");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::useEnglish();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray blob = fuzz::bytesOf(data, size);
    auto preferences = std::make_shared<InMemoryPreferencesStore>();
    preferences->setData(WooCorrectionProgressStore::defaultStorageKey(), blob);
    preferences->setData(TemporaryItemLocationStore::defaultStorageKey(), blob);
    preferences->setData(ImportHistoryStore::storageKey(), blob);
    fuzzProgress(preferences);
    fuzzLocations(preferences);
    fuzzHistory(preferences);
    return 0;
}
