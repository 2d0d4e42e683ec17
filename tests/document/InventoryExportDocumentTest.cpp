#include "document/InventoryExportDocument.h"

#include "DocumentTestSupport.h"

#include <gtest/gtest.h>

using namespace tallybrook;
using namespace Qt::StringLiterals;

TEST(InventoryExportDocumentTest, DistantPastIsTheFirstInstantOfYearOneInUtc) {
    const QDateTime past = distantPast();
    EXPECT_EQ(past.date(), QDate(1, 1, 1));
    EXPECT_EQ(past.time(), QTime(0, 0));
    EXPECT_EQ(past.timeSpec(), Qt::UTC);
    EXPECT_EQ(InventoryExportSession().createdAt, past);
}

TEST(InventoryExportDocumentTest, RowStatusRawValuesLabelsAndOrder) {
    struct Case {
        InventoryExportRowStatus status;
        QString raw;
        QString french;
        QString english;
    };
    const Case cases[] = {
        {InventoryExportRowStatus::counted, u"counted"_s, u"Compté"_s, u"Counted"_s},
        {InventoryExportRowStatus::notCounted, u"not_counted"_s, u"Non compté"_s, u"Not counted"_s},
        {InventoryExportRowStatus::difference, u"difference"_s, u"Écart"_s, u"Difference"_s},
        {InventoryExportRowStatus::unknownCode, u"unknown_code"_s, u"Code inconnu"_s, u"Unknown code"_s},
        {InventoryExportRowStatus::temporaryItem, u"temporary_item"_s, u"Article provisoire"_s,
         u"Temporary item"_s},
        {InventoryExportRowStatus::error, u"error"_s, u"Erreur"_s, u"Error"_s},
    };
    ASSERT_EQ(std::size(cases), allInventoryExportRowStatuses.size());
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(allInventoryExportRowStatuses[i], c.status);
        EXPECT_EQ(rawValue(c.status), c.raw);
        EXPECT_EQ(inventoryExportRowStatusFromRawValue(c.raw), c.status);
        EXPECT_EQ(label(c.status, AppLanguage::french), c.french);
        EXPECT_EQ(label(c.status, AppLanguage::english), c.english);
        test::useLanguage(AppLanguage::french);
        EXPECT_EQ(label(c.status), c.french);
        test::useLanguage(AppLanguage::english);
        EXPECT_EQ(label(c.status), c.english);
    }
    for (const QString& raw : {u"Counted"_s, u"notCounted"_s, u" counted"_s, u""_s}) {
        EXPECT_EQ(inventoryExportRowStatusFromRawValue(raw), std::nullopt) << raw.toStdString();
    }
}

TEST(InventoryExportDocumentTest, RowIdJoinsFivePartsWithEmptyTextForAbsentOnes) {
    InventoryExportRow row;
    row.status = InventoryExportRowStatus::counted;
    EXPECT_EQ(row.id(), u"::::counted"_s);
    row.sessionId = u"S"_s;
    row.localItemId = u"item-1"_s;
    row.barcode = u"3760123456789"_s;
    row.inventoryCode = u"LOC-4"_s;
    row.status = InventoryExportRowStatus::notCounted;
    EXPECT_EQ(row.id(), u"S:item-1:3760123456789:LOC-4:not_counted"_s);
    row.itemName = u"changes nothing"_s;
    row.countedQuantity = 4;
    EXPECT_EQ(row.id(), u"S:item-1:3760123456789:LOC-4:not_counted"_s);
}

TEST(InventoryExportDocumentTest, StaticValues) {
    const InventoryExportSource unknown = InventoryExportSource::unknown();
    EXPECT_EQ(unknown.type, u"unknown"_s);
    EXPECT_EQ(unknown.displayName, u"Source inconnue"_s);
    EXPECT_EQ(unknown.locationId, std::nullopt);
    EXPECT_EQ(unknown.locationName, std::nullopt);
    EXPECT_EQ(InventoryExportDocument().source, unknown);
    EXPECT_EQ(InventoryExportSummary::empty(), InventoryExportSummary());
    EXPECT_EQ(InventoryExportDocument::acceptedFormats(),
              (QStringList{u"com.tallybrook.inventory-session"_s, u"com.tallybrook.inventory-export"_s}));
    EXPECT_EQ(InventoryExportDocument::supportedFormatVersions(), QList<qint64>{1});
}

TEST(InventoryExportDocumentTest, SessionUuidReadsTrimmedCanonicalText) {
    InventoryExportSession session;
    EXPECT_EQ(session.uuid(), std::nullopt);
    session.id = u"abc"_s;
    EXPECT_EQ(session.uuid(), std::nullopt);
    session.id = u" 6f1c2b7a-0d3e-4b8a-9c51-2e7f4a6b8d90\n"_s;
    EXPECT_EQ(session.uuid(), QUuid::fromString(u"6F1C2B7A-0D3E-4B8A-9C51-2E7F4A6B8D90"_s));
}

TEST(InventoryExportDocumentTest, TemporaryItemDisplayStatus) {
    struct Case {
        QString stored;
        QString french;
        QString english;
    };
    const Case cases[] = {
        {u"pending"_s, u"En attente"_s, u"Pending"_s},
        {u"Matched"_s, u"Rapproché"_s, u"Matched"_s},
        {u"resolved"_s, u"Résolu"_s, u"Resolved"_s},
        {u"IGNORED"_s, u"Ignoré"_s, u"Ignored"_s},
        {u"cancelled"_s, u"Annulé"_s, u"Cancelled"_s},
        {u"canceled"_s, u"Annulé"_s, u"Cancelled"_s},
        {u"in_progress"_s, u"En cours"_s, u"In progress"_s},
        {u"Processing"_s, u"En cours"_s, u"In progress"_s},
        {u"completed"_s, u"Terminé"_s, u"Completed"_s},
        {u"  DONE \n"_s, u"Terminé"_s, u"Completed"_s},
        {u"created"_s, u"Créé"_s, u"Created"_s},
        {u""_s, u"Statut inconnu"_s, u"Unknown status"_s},
        {u" \t\n"_s, u"Statut inconnu"_s, u"Unknown status"_s},
        {u" Awaiting Photo "_s, u" Awaiting Photo "_s, u" Awaiting Photo "_s},
        {u"in progress"_s, u"in progress"_s, u"in progress"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored.toStdString());
        InventoryExportTemporaryItem item;
        item.status = c.stored;
        EXPECT_EQ(item.displayStatus(AppLanguage::french), c.french);
        EXPECT_EQ(item.displayStatus(AppLanguage::english), c.english);
        test::useLanguage(AppLanguage::french);
        EXPECT_EQ(item.displayStatus(), c.french);
    }
}
