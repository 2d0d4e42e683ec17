#include "corrections/CorrectionJson.h"

#include <QJsonDocument>
#include <functional>
#include <gtest/gtest.h>
#include <limits>

using namespace Qt::StringLiterals;

namespace tallybrook {
namespace {

constexpr qint64 int64Max = std::numeric_limits<qint64>::max();
constexpr qint64 int64Min = std::numeric_limits<qint64>::min();
constexpr qint64 beyondDouble = (Q_INT64_C(1) << 53) + 1;

QUuid uuid(const char* text) {
    return QUuid::fromString(QLatin1StringView(text));
}

QDateTime at(qint64 msecsSinceEpoch) {
    return QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch, Qt::UTC);
}

/// Through text and back, as the stores persist it.
QJsonObject reparsed(const QJsonObject& object) {
    const QByteArray bytes = QJsonDocument(object).toJson(QJsonDocument::Compact);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << bytes.toStdString();
    return document.object();
}

WooCorrectionPreview fullPreview() {
    WooCorrectionPreview preview;
    preview.id = uuid("0f3c1e2a-1111-4222-8333-944455556666");
    preview.sessionId = uuid("6B1C0F6E-7A3B-4C8D-9E0F-112233445566");
    preview.localItemId = uuid("AAAAAAAA-BBBB-4CCC-8DDD-EEEEEEEEEEEE");
    preview.externalProductId = u"12"_s;
    preview.externalVariantId = u""_s;
    preview.itemName = u"Théière « Ming »"_s;
    preview.variantName = u"Bleu"_s;
    preview.sku = u"TH-1"_s;
    preview.barcode = u"3760000000017"_s;
    preview.referenceQuantityAtInventory = int64Min;
    preview.currentRemoteQuantity = int64Max;
    preview.countedQuantity = beyondDouble;
    preview.proposedQuantity = -beyondDouble;
    preview.differenceFromReference = 0;
    preview.differenceFromCurrentRemote = -1;
    preview.status = WooCorrectionStatus::remoteStockChanged;
    preview.isSelected = true;
    preview.message = u"Correction ready to send."_s;
    return preview;
}

WooUpdateResultLine fullLine() {
    WooUpdateResultLine line;
    line.id = uuid("11111111-2222-4333-8444-555555555555");
    line.correctionId = uuid("0f3c1e2a-1111-4222-8333-944455556666");
    line.externalProductId = u"12"_s;
    line.externalVariantId = u"7"_s;
    line.itemName = u"Mug"_s;
    line.requestedQuantity = int64Max;
    line.remoteQuantityAfterUpdate = int64Min;
    line.success = true;
    line.message = u"WooCommerce stock updated."_s;
    line.updatedAt = at(Q_INT64_C(1733472000123));
    return line;
}

RemoteStockLevel fullLevel() {
    return RemoteStockLevel{uuid("AAAAAAAA-BBBB-4CCC-8DDD-EEEEEEEEEEEE"),
                            u"12"_s,
                            u"7"_s,
                            -beyondDouble,
                            false,
                            at(Q_INT64_C(978307199999))};
}

RemoteStockReloadIssue fullIssue() {
    return RemoteStockReloadIssue{uuid("22222222-2222-4333-8444-555555555555"), u"abc"_s, std::nullopt,
                                  u"Mug"_s, u"WooCommerce product identifier is not numeric."_s};
}

TEST(CorrectionJsonTest, PreviewWithEveryOptionalNoneHasFiveKeys) {
    WooCorrectionPreview preview;
    preview.id = uuid("0f3c1e2a-1111-4222-8333-944455556666");
    preview.sessionId = uuid("6b1c0f6e-7a3b-4c8d-9e0f-112233445566");
    preview.itemName = u""_s;
    preview.status = WooCorrectionStatus::ignored;
    const QJsonObject object = toJson(preview);

    QStringList keys = object.keys();
    keys.sort();
    EXPECT_EQ(keys, (QStringList{u"id"_s, u"isSelected"_s, u"itemName"_s, u"sessionId"_s, u"status"_s}));
    EXPECT_EQ(object.value(u"id"_s).toString(), u"0F3C1E2A-1111-4222-8333-944455556666"_s);
    EXPECT_EQ(object.value(u"status"_s).toString(), u"ignored"_s);
    EXPECT_EQ(previewFromJson(reparsed(object)), preview);
}

TEST(CorrectionJsonTest, RecordsRoundTripThroughTextWithExtremeIntegers) {
    const WooCorrectionPreview preview = fullPreview();
    EXPECT_EQ(previewFromJson(reparsed(toJson(preview))), preview);

    const WooUpdateResultLine line = fullLine();
    EXPECT_EQ(resultLineFromJson(reparsed(toJson(line))), line);

    const RemoteStockLevel level = fullLevel();
    EXPECT_EQ(remoteStockLevelFromJson(reparsed(toJson(level))), level);

    const RemoteStockReloadIssue issue = fullIssue();
    EXPECT_EQ(reloadIssueFromJson(reparsed(toJson(issue))), issue);

    RemoteStockReloadReport report{{level, RemoteStockLevel{}}, int64Max, 1, {issue, issue}};
    report.levels[1].fetchedAt = at(0);
    EXPECT_EQ(reloadReportFromJson(reparsed(toJson(report))), report);

    WooUpdateRun run{uuid("33333333-2222-4333-8444-555555555555"),
                     preview.sessionId,
                     at(Q_INT64_C(1733472000000)),
                     std::nullopt,
                     {line, line}};
    EXPECT_EQ(updateRunFromJson(reparsed(toJson(run))), run);
    run.finishedAt = at(Q_INT64_C(1733472000500));
    run.results.clear();
    EXPECT_EQ(updateRunFromJson(reparsed(toJson(run))), run);
}

TEST(CorrectionJsonTest, IntegersAreWrittenDigitForDigit) {
    const QByteArray bytes = QJsonDocument(toJson(fullLine())).toJson(QJsonDocument::Compact);
    EXPECT_TRUE(bytes.contains("\"requestedQuantity\":9223372036854775807")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("\"remoteQuantityAfterUpdate\":-9223372036854775808")) << bytes.toStdString();
}

TEST(CorrectionJsonTest, ReportDoesNotWriteLoadedItemCount) {
    const QJsonObject object = toJson(RemoteStockReloadReport{{fullLevel()}, 3, 1, {}});
    QStringList keys = object.keys();
    keys.sort();
    EXPECT_EQ(keys, (QStringList{u"issues"_s, u"levels"_s, u"quantityCount"_s, u"requestedItemCount"_s}));
}

TEST(CorrectionJsonTest, EnumerationsDecodeOnlyKnownRawTexts) {
    QJsonObject object = toJson(fullPreview());
    object.insert(u"status"_s, u"sent"_s);
    EXPECT_EQ(previewFromJson(object).status, WooCorrectionStatus::sent);
    object.insert(u"status"_s, u"Sent"_s);
    EXPECT_THROW(previewFromJson(object), ModelDecodingError);
    object.insert(u"status"_s, 8);
    EXPECT_THROW(previewFromJson(object), ModelDecodingError);

    EXPECT_EQ(commerceConnectorKindFromJson(toJson(CommerceConnectorKind::wooCommerce)),
              CommerceConnectorKind::wooCommerce);
    EXPECT_THROW(commerceConnectorKindFromJson(QJsonValue(u"shopify"_s)), ModelDecodingError);
    EXPECT_EQ(
        inventoryAdjustmentStrategyFromJson(toJson(InventoryAdjustmentStrategy::applyDeltaToCurrentStock)),
        InventoryAdjustmentStrategy::applyDeltaToCurrentStock);
    EXPECT_THROW(inventoryAdjustmentStrategyFromJson(QJsonValue(u"delta"_s)), ModelDecodingError);
    EXPECT_THROW(wooCorrectionStatusFromJson(QJsonValue()), ModelDecodingError);
}

TEST(CorrectionJsonTest, MissingOrNullRequiredKeysFail) {
    struct Case {
        const char* record;
        QJsonObject object;
        QStringList requiredKeys;
        std::function<void(const QJsonObject&)> decode;
    };
    const QList<Case> cases{
        {"preview",
         toJson(fullPreview()),
         {u"id"_s, u"sessionId"_s, u"itemName"_s, u"status"_s, u"isSelected"_s},
         [](const QJsonObject& o) { previewFromJson(o); }},
        {"line",
         toJson(fullLine()),
         {u"id"_s, u"correctionId"_s, u"itemName"_s, u"success"_s, u"updatedAt"_s},
         [](const QJsonObject& o) { resultLineFromJson(o); }},
        {"level",
         toJson(fullLevel()),
         {u"fetchedAt"_s},
         [](const QJsonObject& o) { remoteStockLevelFromJson(o); }},
        {"issue",
         toJson(fullIssue()),
         {u"id"_s, u"itemName"_s, u"message"_s},
         [](const QJsonObject& o) { reloadIssueFromJson(o); }},
        {"report",
         toJson(RemoteStockReloadReport{{fullLevel()}, 1, 1, {fullIssue()}}),
         {u"levels"_s, u"requestedItemCount"_s, u"quantityCount"_s, u"issues"_s},
         [](const QJsonObject& o) { reloadReportFromJson(o); }},
        {"run",
         toJson(WooUpdateRun{QUuid::createUuid(), QUuid::createUuid(), at(0), at(1), {fullLine()}}),
         {u"id"_s, u"sessionId"_s, u"startedAt"_s, u"results"_s},
         [](const QJsonObject& o) { updateRunFromJson(o); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record);
        EXPECT_NO_THROW(c.decode(c.object));
        for (const QString& key : c.requiredKeys) {
            SCOPED_TRACE(key.toStdString());
            QJsonObject missing = c.object;
            missing.remove(key);
            EXPECT_THROW(c.decode(missing), ModelDecodingError);
            QJsonObject null = c.object;
            null.insert(key, QJsonValue::Null);
            EXPECT_THROW(c.decode(null), ModelDecodingError);
        }
    }
}

TEST(CorrectionJsonTest, OptionalKeysMissingOrNullReadAsNone) {
    QJsonObject object = toJson(fullPreview());
    object.remove(u"countedQuantity"_s);
    object.insert(u"message"_s, QJsonValue::Null);
    const WooCorrectionPreview preview = previewFromJson(object);
    EXPECT_EQ(preview.countedQuantity, std::nullopt);
    EXPECT_EQ(preview.message, std::nullopt);
    EXPECT_EQ(preview.sku, u"TH-1"_s);
}

TEST(CorrectionJsonTest, WrongTypesFail) {
    struct Case {
        const char* key;
        QJsonValue value;
    };
    const QList<Case> cases{
        {"proposedQuantity", 1.5},
        {"proposedQuantity", u"3"_s},
        {"proposedQuantity", 9.3e18}, // beyond qint64
        {"proposedQuantity", true},
        {"isSelected", u"true"_s},
        {"isSelected", 1},
        {"id", 5},
        {"id", u"{0f3c1e2a-1111-4222-8333-944455556666}"_s},
        {"localItemId", u"not-a-uuid"_s},
        {"itemName", 3},
        {"sku", QJsonArray{}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        QJsonObject object = toJson(fullPreview());
        object.insert(QString::fromLatin1(c.key), c.value);
        EXPECT_THROW(previewFromJson(object), ModelDecodingError);
    }
    QJsonObject wholeDouble = toJson(fullPreview());
    wholeDouble.insert(u"proposedQuantity"_s, 42.0);
    EXPECT_EQ(previewFromJson(wholeDouble).proposedQuantity, 42);

    QJsonObject line = toJson(fullLine());
    line.insert(u"updatedAt"_s, u"2024-12-06T08:00:00Z"_s);
    EXPECT_THROW(resultLineFromJson(line), ModelDecodingError);
}

TEST(CorrectionJsonTest, ListsDecodeObjectsOnly) {
    const QJsonArray array = toJsonArray(QList<WooUpdateResultLine>{fullLine(), fullLine()});
    EXPECT_EQ(listFromJson<WooUpdateResultLine>(array).size(), 2);
    QJsonArray broken = array;
    broken.append(3);
    EXPECT_THROW(listFromJson<WooUpdateResultLine>(broken), ModelDecodingError);
    QJsonObject report = toJson(RemoteStockReloadReport{{fullLevel()}, 1, 1, {}});
    report.insert(u"levels"_s, QJsonObject{});
    EXPECT_THROW(reloadReportFromJson(report), ModelDecodingError);
}

TEST(CorrectionJsonTest, DatesAreSecondsSince2001) {
    const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
    EXPECT_EQ(referenceSecondsFromDate(reference), 0.0);
    EXPECT_EQ(referenceSecondsFromDate(reference.addMSecs(1500)), 1.5);
    EXPECT_EQ(referenceSecondsFromDate(reference.addSecs(-1)), -1.0);
    EXPECT_EQ(dateFromReferenceSeconds(-1.0), QDateTime(QDate(2000, 12, 31), QTime(23, 59, 59), Qt::UTC));
    EXPECT_EQ(dateFromReferenceSeconds(755179200.25),
              QDateTime(QDate(2024, 12, 6), QTime(12, 0, 0, 250), Qt::UTC));

    // A date written by a store with a sub-millisecond fraction reads to the nearest millisecond.
    EXPECT_EQ(dateFromReferenceSeconds(0.0004), reference);
    EXPECT_FALSE(dateFromReferenceSeconds(std::numeric_limits<double>::infinity()).isValid());
    EXPECT_FALSE(dateFromReferenceSeconds(std::numeric_limits<double>::quiet_NaN()).isValid());
    EXPECT_FALSE(dateFromReferenceSeconds(1e300).isValid());

    const QDateTime now = QDateTime::currentDateTimeUtc();
    EXPECT_EQ(dateFromReferenceSeconds(referenceSecondsFromDate(now)), now);
    // An instant given in another time zone is the same instant.
    const QDateTime offset = QDateTime(QDate(2024, 12, 6), QTime(13, 0), Qt::OffsetFromUTC, 3600);
    EXPECT_EQ(referenceSecondsFromDate(offset), 755179200.0);
}

} // namespace
} // namespace tallybrook
