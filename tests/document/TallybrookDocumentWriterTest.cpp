#include "document/TallybrookDocumentWriter.h"

#include "document/TallybrookFileDecoder.h"
#include "support/TestLanguage.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <limits>

using namespace tallybrook;
using namespace Qt::StringLiterals;

TEST(TallybrookDocumentWriterTest, SampleSurvivesARoundTripWithCanonicalKeysOnly) {
    QFile file(QStringLiteral(TALLYBROOK_SOURCE_DIR "/samples/boutique-lumiere.tallybrook"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const InventoryExportDocument document = TallybrookFileDecoder().decodeInventoryDocument(file.readAll());
    ASSERT_GE(document.rows.size(), 50);
    const QByteArray written = TallybrookDocumentWriter().write(document);
    EXPECT_EQ(TallybrookFileDecoder().decodeInventoryDocument(written), document);
    EXPECT_FALSE(written.contains("\"gtin\"") || written.contains("\"scanned_code\"") || written.contains("_id\"")) << "canonical keys only";
}

TEST(TallybrookDocumentWriterTest, WritesExactValuesAndLeavesAbsentOnesOut) {
    InventoryExportDocument document;
    document.format = u"com.tallybrook.inventory-session"_s, document.formatVersion = 1;
    document.session.id = u"S"_s;
    document.session.createdAt = QDateTime(QDate(2024, 3, 18), QTime(9, 30, 0, 250), Qt::UTC);
    InventoryExportRow row;
    row.barcode = u"3760123450010"_s, row.inventoryCode = u"LOC-1"_s, row.itemName = u"Théière \"Kyoto\" / fonte\n"_s;
    row.sku = u""_s, row.countedQuantity = std::numeric_limits<qint64>::max();
    row.difference = std::numeric_limits<qint64>::min();
    row.referenceQuantity = 9'007'199'254'740'993; // not exact as a double
    row.status = InventoryExportRowStatus::temporaryItem;
    document.rows = {row, InventoryExportRow()};

    const QByteArray written = TallybrookDocumentWriter().write(document);
    EXPECT_EQ(TallybrookFileDecoder::readDocument(written), document);
    const QJsonObject root = QJsonDocument::fromJson(written).object();
    EXPECT_EQ(root.value(u"session"_s).toObject().value(u"createdAt"_s).toString(), u"2024-03-18T09:30:00.250Z"_s);
    EXPECT_EQ(root.value(u"exportedAt"_s).toString(), u"0001-01-01T00:00:00Z"_s);
    EXPECT_FALSE(root.contains(u"appVersion"_s));
    const QJsonObject writtenRow = root.value(u"rows"_s).toArray().at(0).toObject();
    EXPECT_EQ(writtenRow.value(u"status"_s).toString(), u"temporary_item"_s);
    EXPECT_TRUE(writtenRow.contains(u"inventoryCode"_s) && writtenRow.contains(u"sku"_s));
    EXPECT_EQ(root.value(u"rows"_s).toArray().at(1).toObject().keys(),
              (QStringList{u"inventoryDate"_s, u"sessionName"_s, u"source"_s, u"status"_s}));
}
