#include "corrections/CorrectionJson.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

#include <functional>
#include <limits>

using namespace tallybrook;
using namespace Qt::StringLiterals;

namespace {

constexpr qint64 int64Max = std::numeric_limits<qint64>::max();
constexpr qint64 int64Min = std::numeric_limits<qint64>::min();
constexpr qint64 beyondDouble = (Q_INT64_C(1) << 53) + 1;
const QUuid previewId = QUuid::fromString(u"0f3c1e2a-1111-4222-8333-944455556666"_s);
const QUuid itemId = QUuid::fromString(u"AAAAAAAA-BBBB-4CCC-8DDD-EEEEEEEEEEEE"_s);

QDateTime at(qint64 msecsSinceEpoch) {
    return QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch, Qt::UTC);
}

/// Through text and back, as the stores persist it.
QJsonObject reparsed(const QJsonObject& object) {
    return QJsonDocument::fromJson(QJsonDocument(object).toJson(QJsonDocument::Compact)).object();
}

WooCorrectionPreview fullPreview() {
    return WooCorrectionPreview{previewId, QUuid::createUuid(), itemId, u"12"_s, u""_s, u"Théière « Ming »"_s,
                                u"Bleu"_s, u"TH-1"_s, u"3760000000017"_s, int64Min, int64Max, beyondDouble,
                                -beyondDouble, 0, -1, WooCorrectionStatus::remoteStockChanged, true, u"Ready."_s};
}

WooUpdateResultLine fullLine() {
    return WooUpdateResultLine{QUuid::createUuid(), previewId, u"12"_s, u"7"_s, u"Mug"_s, int64Max, int64Min,
                               true, u"WooCommerce stock updated."_s, at(Q_INT64_C(1733472000123))};
}

RemoteStockLevel fullLevel() {
    return RemoteStockLevel{itemId, u"12"_s, u"7"_s, -beyondDouble, false, at(Q_INT64_C(978307199999))};
}

RemoteStockReloadIssue fullIssue() {
    return RemoteStockReloadIssue{QUuid::createUuid(), u"abc"_s, std::nullopt, u"Mug"_s, u"Not numeric."_s};
}

} // namespace

TEST(CorrectionJsonTest, RecordsRoundTripThroughTextWithExtremeIntegers) {
    const WooCorrectionPreview preview = fullPreview();
    EXPECT_EQ(previewFromJson(reparsed(toJson(preview))), preview);
    const WooUpdateResultLine line = fullLine();
    EXPECT_EQ(resultLineFromJson(reparsed(toJson(line))), line);
    EXPECT_EQ(remoteStockLevelFromJson(reparsed(toJson(fullLevel()))), fullLevel());
    const RemoteStockReloadIssue issue = fullIssue();
    EXPECT_EQ(reloadIssueFromJson(reparsed(toJson(issue))), issue);
    RemoteStockReloadReport report{{fullLevel(), RemoteStockLevel{}}, int64Max, 1, {issue, issue}};
    report.levels[1].fetchedAt = at(0);
    EXPECT_EQ(reloadReportFromJson(reparsed(toJson(report))), report);

    // Absent values are left out; ids are upper-case texts, statuses their raw values.
    WooCorrectionPreview bare;
    bare.id = previewId, bare.status = WooCorrectionStatus::ignored;
    const QJsonObject object = toJson(bare);
    EXPECT_EQ(object.keys(), (QStringList{u"id"_s, u"isSelected"_s, u"itemName"_s, u"sessionId"_s, u"status"_s}));
    EXPECT_EQ(object.value(u"id"_s).toString(), u"0F3C1E2A-1111-4222-8333-944455556666"_s);
    EXPECT_EQ(object.value(u"status"_s).toString(), u"ignored"_s);
    EXPECT_EQ(previewFromJson(reparsed(object)), bare);

    const QByteArray bytes = QJsonDocument(toJson(line)).toJson(QJsonDocument::Compact);
    EXPECT_TRUE(bytes.contains("\"requestedQuantity\":9223372036854775807")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("\"remoteQuantityAfterUpdate\":-9223372036854775808")) << bytes.toStdString();
    EXPECT_EQ(toJson(report).keys(), (QStringList{u"issues"_s, u"levels"_s, u"quantityCount"_s, u"requestedItemCount"_s}));
}

TEST(CorrectionJsonTest, MissingNullOrWronglyTypedValuesFail) {
    using Decode = std::function<void(const QJsonObject&)>;
    const std::tuple<QJsonObject, QStringList, Decode> records[] = {
        {toJson(fullPreview()), {u"id"_s, u"sessionId"_s, u"itemName"_s, u"status"_s, u"isSelected"_s},
         [](const QJsonObject& o) { previewFromJson(o); }},
        {toJson(fullLine()), {u"id"_s, u"correctionId"_s, u"itemName"_s, u"success"_s, u"updatedAt"_s},
         [](const QJsonObject& o) { resultLineFromJson(o); }},
        {toJson(fullLevel()), {u"fetchedAt"_s}, [](const QJsonObject& o) { remoteStockLevelFromJson(o); }},
        {toJson(fullIssue()), {u"id"_s, u"itemName"_s, u"message"_s}, [](const QJsonObject& o) { reloadIssueFromJson(o); }},
        {toJson(RemoteStockReloadReport{{fullLevel()}, 1, 1, {fullIssue()}}),
         {u"levels"_s, u"requestedItemCount"_s, u"quantityCount"_s, u"issues"_s},
         [](const QJsonObject& o) { reloadReportFromJson(o); }},
    };
    for (const auto& [object, required, decode] : records) {
        EXPECT_NO_THROW(decode(object));
        for (const QString& key : required) {
            QJsonObject changed = object;
            changed.remove(key);
            EXPECT_THROW(decode(changed), ModelDecodingError) << key.toStdString();
            changed.insert(key, QJsonValue::Null);
            EXPECT_THROW(decode(changed), ModelDecodingError) << key.toStdString();
        }
    }
    const std::pair<QString, QJsonValue> wrong[] = {
        {u"proposedQuantity"_s, 1.5},   {u"proposedQuantity"_s, u"3"_s}, {u"proposedQuantity"_s, 9.3e18},
        {u"proposedQuantity"_s, true},  {u"isSelected"_s, u"true"_s},    {u"isSelected"_s, 1},
        {u"id"_s, 5},                   {u"id"_s, u"{0f3c1e2a-1111-4222-8333-944455556666}"_s},
        {u"localItemId"_s, u"x"_s},     {u"itemName"_s, 3},             {u"sku"_s, QJsonArray{}},
        {u"status"_s, u"Sent"_s},       {u"status"_s, 8},
    };
    for (const auto& [key, value] : wrong) {
        QJsonObject object = toJson(fullPreview());
        object.insert(key, value);
        EXPECT_THROW(previewFromJson(object), ModelDecodingError) << key.toStdString();
    }
    // Optional values missing or null read as none; a whole double is an integer.
    QJsonObject object = toJson(fullPreview());
    object.remove(u"countedQuantity"_s);
    object.insert(u"message"_s, QJsonValue::Null);
    object.insert(u"proposedQuantity"_s, 42.0);
    const WooCorrectionPreview preview = previewFromJson(object);
    EXPECT_EQ(std::tie(preview.countedQuantity, preview.message, preview.proposedQuantity),
              std::make_tuple(std::optional<qint64>(), std::optional<QString>(), std::optional<qint64>(42)));
    QJsonObject line = toJson(fullLine());
    line.insert(u"updatedAt"_s, u"2024-12-06T08:00:00Z"_s);
    EXPECT_THROW(resultLineFromJson(line), ModelDecodingError);
    EXPECT_THROW(commerceConnectorKindFromJson(QJsonValue(u"shopify"_s)), ModelDecodingError);
    QJsonArray lines = toJsonArray(QList<WooUpdateResultLine>{fullLine(), fullLine()});
    EXPECT_EQ(listFromJson<WooUpdateResultLine>(lines).size(), 2);
    lines.append(3);
    EXPECT_THROW(listFromJson<WooUpdateResultLine>(lines), ModelDecodingError);
    QJsonObject report = toJson(RemoteStockReloadReport{{fullLevel()}, 1, 1, {}});
    report.insert(u"levels"_s, QJsonObject{});
    EXPECT_THROW(reloadReportFromJson(report), ModelDecodingError);
}

TEST(CorrectionJsonTest, DatesAreSecondsSince2001) {
    const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
    EXPECT_EQ(referenceSecondsFromDate(reference.addMSecs(1500)), 1.5);
    EXPECT_EQ(referenceSecondsFromDate(reference.addSecs(-1)), -1.0);
    EXPECT_EQ(dateFromReferenceSeconds(-1.0), QDateTime(QDate(2000, 12, 31), QTime(23, 59, 59), Qt::UTC));
    EXPECT_EQ(dateFromReferenceSeconds(755179200.25), QDateTime(QDate(2024, 12, 6), QTime(12, 0, 0, 250), Qt::UTC));
    // A date written with a sub-millisecond fraction reads to the nearest millisecond.
    EXPECT_EQ(dateFromReferenceSeconds(0.0004), reference);
    for (const double invalid : {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN(), 1e300}) {
        EXPECT_FALSE(dateFromReferenceSeconds(invalid).isValid()) << invalid;
    }
    const QDateTime now = QDateTime::currentDateTimeUtc();
    EXPECT_EQ(dateFromReferenceSeconds(referenceSecondsFromDate(now)), now);
    EXPECT_EQ(referenceSecondsFromDate(QDateTime(QDate(2024, 12, 6), QTime(13, 0), Qt::OffsetFromUTC, 3600)), 755179200.0);
}
