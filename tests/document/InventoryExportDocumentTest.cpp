#include "document/InventoryExportDocument.h"
#include "document/TallybrookImportError.h"

#include "support/TestLanguage.h"

using namespace tallybrook;
using namespace tallybrook::test;
using namespace Qt::StringLiterals;

TEST(InventoryExportDocumentTest, RowIdAndSessionUuid) {
    InventoryExportRow row;
    row.status = InventoryExportRowStatus::counted;
    EXPECT_EQ(row.id(), u"::::counted"_s);
    row.sessionId = u"S"_s, row.localItemId = u"item-1"_s, row.barcode = u"3760123456789"_s;
    row.inventoryCode = u"LOC-4"_s, row.itemName = u"changes nothing"_s;
    row.status = InventoryExportRowStatus::notCounted;
    EXPECT_EQ(row.id(), u"S:item-1:3760123456789:LOC-4:not_counted"_s);

    InventoryExportSession session;
    EXPECT_EQ(session.uuid(), std::nullopt);
    session.id = u" 6f1c2b7a-0d3e-4b8a-9c51-2e7f4a6b8d90\n"_s;
    EXPECT_EQ(session.uuid(), QUuid::fromString(u"6F1C2B7A-0D3E-4B8A-9C51-2E7F4A6B8D90"_s));
}

TEST(InventoryExportDocumentTest, TemporaryItemDisplayStatus) {
    const std::tuple<QString, QString, QString> cases[] = {
        {u"pending"_s, u"En attente"_s, u"Pending"_s},          {u"Matched"_s, u"Rapproché"_s, u"Matched"_s},
        {u"resolved"_s, u"Résolu"_s, u"Resolved"_s},            {u"IGNORED"_s, u"Ignoré"_s, u"Ignored"_s},
        {u"cancelled"_s, u"Annulé"_s, u"Cancelled"_s},          {u"canceled"_s, u"Annulé"_s, u"Cancelled"_s},
        {u"in_progress"_s, u"En cours"_s, u"In progress"_s},    {u"Processing"_s, u"En cours"_s, u"In progress"_s},
        {u"completed"_s, u"Terminé"_s, u"Completed"_s},         {u"  DONE \n"_s, u"Terminé"_s, u"Completed"_s},
        {u"created"_s, u"Créé"_s, u"Created"_s},                {u" \t\n"_s, u"Statut inconnu"_s, u"Unknown status"_s},
        {u" Awaiting "_s, u" Awaiting "_s, u" Awaiting "_s},    {u"in progress"_s, u"in progress"_s, u"in progress"_s},
    };
    for (const auto& [stored, french, english] : cases) {
        InventoryExportTemporaryItem item;
        item.status = stored;
        EXPECT_EQ(item.displayStatus(AppLanguage::english), english) << stored.toStdString();
        useLanguage(AppLanguage::french);
        EXPECT_EQ(item.displayStatus(), french) << stored.toStdString();
    }
}

TEST(InventoryExportDocumentTest, ImportErrorsAreWordedWhenRead) {
    const std::tuple<TallybrookImportError, QString, QString> cases[] = {
        {TallybrookImportError::invalidFormat(u"détail"_s), u"Format Tallybrook invalide: détail"_s,
         u"Invalid Tallybrook format: détail"_s},
    };
    for (const auto& [error, french, english] : cases) {
        useLanguage(AppLanguage::french);
        EXPECT_EQ(error.localizedDescription(), french);
        useLanguage(AppLanguage::english);
        EXPECT_EQ(error.localizedDescription(), english);
        EXPECT_EQ(error.localizedDescription(AppLanguage::french), french);
    }
    EXPECT_NE(TallybrookImportError::invalidFormat(u"a"_s), TallybrookImportError::invalidFormat(u"b"_s));
    EXPECT_NE(TallybrookImportError::unsupportedFormatVersion(0), TallybrookImportError::unsupportedFormatVersion(2));
    EXPECT_NE(TallybrookImportError::invalidFormat(QString()), TallybrookImportError::missingSession());
}
