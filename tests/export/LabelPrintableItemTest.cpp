#include "export/LabelPrintableItem.h"

#include "LabelTestSupport.h"

#include <gtest/gtest.h>

using namespace tallybrook;
using namespace tallybrook::test;
using namespace Qt::StringLiterals;

namespace {

InventoryExportScanAlias alias(const QString& code, const QString& itemLocalId) {
    InventoryExportScanAlias result;
    result.code = code;
    result.itemLocalId = itemLocalId;
    return result;
}

} // namespace

TEST(LabelPrintableItemTest, TheCodeIsTheFirstNonBlankOfProductCodeInventoryCodeAndSku) {
    InventoryExportDocument document;
    document.scanAliasesCreated = {alias(u"  "_s, u"item-a"_s), alias(u" 3700000000001 "_s, u" item-a "_s),
                                   alias(u"3700000000002"_s, u"item-a"_s), alias(u"999"_s, u"item-b"_s)};
    struct Case {
        const char* name;
        InventoryExportRow row;
        const InventoryExportDocument* document;
        std::optional<QString> encodedValue;
    };
    InventoryExportRow aliased = labelRow(std::nullopt, u"INV-1"_s, u"SKU-1"_s);
    aliased.localItemId = u"item-a"_s;
    InventoryExportRow blankBarcodeAliased = labelRow(u"   "_s, u"INV-1"_s);
    blankBarcodeAliased.localItemId = u"item-a"_s;
    const std::vector<Case> cases{
        {"barcode trimmed", labelRow(u" 4006381333931 "_s, u"INV-1"_s, u"SKU-1"_s), &document,
         u"4006381333931"_s},
        {"first alias of the item", aliased, &document, u"3700000000001"_s},
        {"blank barcode falls back to aliases", blankBarcodeAliased, &document, u"3700000000001"_s},
        {"aliases need the document", aliased, nullptr, u"INV-1"_s},
        {"without document the barcode", labelRow(u"ABC"_s, u"INV-1"_s), nullptr, u"ABC"_s},
        {"blank barcode, inventory code", labelRow(u"  "_s, u" INV-2 "_s, u"SKU-1"_s), &document, u"INV-2"_s},
        {"only an SKU", labelRow(std::nullopt, std::nullopt, u" SKU-9 "_s), &document, u"SKU-9"_s},
        {"blank inventory code, SKU", labelRow(std::nullopt, u"\n"_s, u"SKU-9"_s), nullptr, u"SKU-9"_s},
        {"nothing usable", labelRow(u" "_s, u"\t"_s, u""_s), &document, std::nullopt},
        {"nothing at all", labelRow(std::nullopt), nullptr, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const LabelCodeKind kind : allLabelCodeKinds) {
            const auto item = makePrintableItem(c.row, c.document, kind, AppLanguage::english);
            ASSERT_EQ(item.has_value(), c.encodedValue.has_value());
            if (item) {
                EXPECT_EQ(item->encodedValue, *c.encodedValue);
                EXPECT_EQ(item->id, c.row.id());
            }
        }
    }
}

TEST(LabelPrintableItemTest, TitleRules) {
    struct Case {
        const char* name;
        InventoryExportRow row;
        AppLanguage language;
        QString title;
        QString itemName;
    };
    const std::vector<Case> cases{
        {"name and variant", labelRow(u"A"_s, {}, {}, u" Tee "_s, u" Red \n"_s), AppLanguage::english,
         u"Tee - Red"_s, u"Tee"_s},
        {"name only", labelRow(u"A"_s, {}, {}, u"Tee"_s, u"  "_s), AppLanguage::english, u"Tee"_s, u"Tee"_s},
        {"blank name, variant", labelRow(u"A"_s, {}, {}, u" "_s, u"Red"_s), AppLanguage::english, u"Red"_s,
         u""_s},
        {"blank name, no variant, SKU", labelRow(u"A"_s, {}, u" SKU-1 "_s, u"  "_s), AppLanguage::english,
         u"SKU-1"_s, u""_s},
        {"blank name, blank SKU", labelRow(u"A"_s, {}, u" "_s, u""_s), AppLanguage::english, u"A"_s, u""_s},
        {"no name in English", labelRow(u"A"_s, {}, u"SKU-1"_s, std::nullopt), AppLanguage::english,
         u"Unnamed item"_s, u"Unnamed item"_s},
        {"no name in French", labelRow(u"A"_s, {}, {}, std::nullopt, u"Rouge"_s), AppLanguage::french,
         u"Article sans nom - Rouge"_s, u"Article sans nom"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto item = makePrintableItem(c.row, nullptr, LabelCodeKind::barcode, c.language);
        ASSERT_TRUE(item);
        EXPECT_EQ(item->title, c.title);
        EXPECT_EQ(item->itemName, c.itemName);
    }
}

TEST(LabelPrintableItemTest, CarriesTrimmedSkuAndVariantAndTheRawLocation) {
    InventoryExportRow row = labelRow(u"A"_s, {}, u" SKU-1 "_s, u"Tee"_s, u" Red "_s);
    row.location = u" Aisle 3 "_s;
    const auto item = makePrintableItem(row, nullptr, LabelCodeKind::qrCode, AppLanguage::french);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->sku, u"SKU-1"_s);
    EXPECT_EQ(item->variantName, u"Red"_s);
    EXPECT_EQ(item->location, u" Aisle 3 "_s);

    const auto bare =
        makePrintableItem(labelRow(u"A"_s), nullptr, LabelCodeKind::qrCode, AppLanguage::french);
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->sku, std::nullopt);
    EXPECT_EQ(bare->variantName, std::nullopt);
    EXPECT_EQ(bare->location, std::nullopt);
}

TEST(LabelPrintableItemTest, ManyRowsGiveTheSameItemsAsOneByOneAndCountTheSkipped) {
    InventoryExportDocument document;
    document.scanAliasesCreated = {alias(u"ALIAS-1"_s, u"item-x"_s)};
    InventoryExportRow aliased = labelRow(std::nullopt);
    aliased.localItemId = u"item-x"_s;
    document.rows = {labelRow(u"A"_s), labelRow(std::nullopt), aliased, labelRow(std::nullopt, u"INV"_s),
                     labelRow(u" "_s)};
    InventoryRowList pointers;
    for (const InventoryExportRow& row : document.rows) {
        pointers.append(&row);
    }
    const InventoryExportDocument* const withDocument = &document;
    for (const InventoryExportDocument* source :
         {withDocument, static_cast<const InventoryExportDocument*>(nullptr)}) {
        QList<LabelPrintableItem> expected;
        for (const InventoryExportRow& row : document.rows) {
            if (auto item = makePrintableItem(row, source, LabelCodeKind::barcode, AppLanguage::english)) {
                expected.append(*item);
            }
        }
        const auto fromPointers =
            makePrintableItems(pointers, source, LabelCodeKind::barcode, AppLanguage::english);
        const auto fromValues =
            makePrintableItems(document.rows, source, LabelCodeKind::barcode, AppLanguage::english);
        EXPECT_EQ(fromPointers.items, expected);
        EXPECT_EQ(fromValues.items, expected);
        EXPECT_EQ(fromPointers.skippedRows, document.rows.size() - expected.size());
        EXPECT_EQ(fromValues.skippedRows, fromPointers.skippedRows);
    }
    EXPECT_EQ(
        makePrintableItems(pointers, &document, LabelCodeKind::barcode, AppLanguage::english).skippedRows, 2);
}
