#include "woocommerce/WooCommerceRecords.h"

#include "WooTestSupport.h"
#include "woocommerce/WooDecodingError.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>

namespace tallybrook {
namespace {

WooCommerceProductDTO product(const char* json) {
    return WooCommerceProductDTO::decode(QByteArray(json));
}

WooCommerceVariationDTO variation(const char* json) {
    return WooCommerceVariationDTO::decode(QByteArray(json));
}

TEST(WooCommerceRecordsTest, TolerantManageStockReadsBooleansTextsAndIntegers) {
    struct Case {
        const char* value;
        std::optional<bool> expected;
    };
    const Case cases[] = {
        {"true", true},  {"false", false},  {"\"parent\"", false}, {"\"Yes\"", true}, {"\"TRUE\"", true},
        {"\"1\"", true}, {"\"no\"", false}, {"\"0\"", false},      {"\"maybe\"", {}}, {"\"\"", {}},
        {"1", true},     {"0", false},      {"7", true},           {"0.5", {}},       {"null", {}},
        {"{}", {}},      {"[true]", {}},
    };
    for (const Case& c : cases) {
        const QByteArray json = QByteArray(R"({"id": 1, "manage_stock": )") + c.value + '}';
        EXPECT_EQ(WooCommerceVariationDTO::decode(json).manageStock, c.expected) << c.value;
        EXPECT_EQ(WooCommerceProductDTO::decode(json).manageStock, c.expected) << c.value;
    }
    EXPECT_EQ(variation(R"({"id": 1})").manageStock, std::nullopt);
}

TEST(WooCommerceRecordsTest, ProductDecodesEveryField) {
    const auto decoded = product(R"({
        "id": 42, "name": "Bougie", "type": "simple", "sku": "B-42", "stock_quantity": -3,
        "manage_stock": true, "stock_status": "outofstock",
        "categories": [{"id": 15, "name": "Maison", "slug": "maison"}],
        "attributes": [{"id": 2, "name": "Couleur", "options": ["Bleu", "Vert"], "variation": true, "visible": false}],
        "images": [{"id": 7, "src": "https://shop.example/b.jpg"}],
        "global_unique_id": "3760000000000", "date_modified": "2024-05-02T09:00:00",
        "price": "12.50", "meta_data": [{"key": "x"}]})");
    WooCommerceProductDTO expected;
    expected.id = 42;
    expected.name = QStringLiteral("Bougie");
    expected.type = QStringLiteral("simple");
    expected.sku = QStringLiteral("B-42");
    expected.stockQuantity = -3;
    expected.manageStock = true;
    expected.stockStatus = QStringLiteral("outofstock");
    expected.categories = {WooCommerceCategoryDTO{15, QStringLiteral("Maison")}};
    expected.attributes = {
        WooCommerceAttributeDTO{2, QStringLiteral("Couleur"), std::nullopt,
                                QStringList{QStringLiteral("Bleu"), QStringLiteral("Vert")}, true, false}};
    expected.images = {WooCommerceImageDTO{7, QStringLiteral("https://shop.example/b.jpg")}};
    expected.globalUniqueID = QStringLiteral("3760000000000");
    expected.dateModified = QStringLiteral("2024-05-02T09:00:00");
    EXPECT_EQ(decoded, expected);
}

TEST(WooCommerceRecordsTest, MissingValuesTakeTheirDefaults) {
    const auto decoded = product(R"({"id": 42, "name": null, "stock_quantity": null, "categories": null})");
    EXPECT_EQ(decoded.name, QStringLiteral("Produit 42"));
    EXPECT_EQ(decoded.stockQuantity, std::nullopt);
    EXPECT_TRUE(decoded.categories.isEmpty());
    EXPECT_TRUE(decoded.attributes.isEmpty());
    EXPECT_TRUE(decoded.images.isEmpty());
    EXPECT_EQ(product(R"({"id": 7})").name, QStringLiteral("Produit 7"));

    const auto decodedVariation = variation(R"({"id": 34, "image": null})");
    EXPECT_EQ(decodedVariation.image, std::nullopt);
    EXPECT_TRUE(decodedVariation.attributes.isEmpty());
    EXPECT_EQ(
        variation(R"({"id": 34, "image": {"id": 3}, "attributes": [{"name": "Taille", "option": "M"}]})")
            .image,
        (WooCommerceImageDTO{3, std::nullopt}));
}

TEST(WooCommerceRecordsTest, IdentifiersAreExactSixtyFourBitIntegers) {
    EXPECT_EQ(product(R"({"id": 9007199254740993})").id, 9007199254740993LL);
    EXPECT_EQ(product(R"({"id": 9223372036854775807})").id, 9223372036854775807LL);
    EXPECT_EQ(product(R"({"id": 12, "stock_quantity": 4.0})").stockQuantity, 4);
}

TEST(WooCommerceRecordsTest, JsonIntegersAreWholeNumbersWithinSixtyFourBits) {
    struct Case {
        const char* json;
        std::optional<qint64> expected;
    };
    const Case cases[] = {
        {"12", 12},
        {"12.0", 12},
        {"-0.0", 0},
        {"-7", -7},
        {"9223372036854775807", 9223372036854775807LL},
        {"1.5", {}},
        {"1e30", {}},
        {"-1e19", {}},
        {"\"12\"", {}},
        {"true", {}},
        {"null", {}},
        {"[1]", {}},
        {"{}", {}},
    };
    for (const Case& c : cases) {
        const QJsonDocument document = QJsonDocument::fromJson(QByteArray("[") + c.json + ']');
        ASSERT_TRUE(document.isArray()) << c.json;
        EXPECT_EQ(wooJsonInteger(document.array().at(0)), c.expected) << c.json;
    }
}

TEST(WooCommerceRecordsTest, BrokenRecordsFailWithTheKeyThatBrokeThem) {
    struct Case {
        const char* json;
        const char* detail;
    };
    const Case products[] = {
        {R"({"name": "x"})", "id: missing integer"},
        {R"({"id": null})", "id: missing integer"},
        {R"({"id": "12"})", "id: expected an integer"},
        {R"({"id": 1.5})", "id: expected an integer"},
        {R"({"id": 1e30})", "id: expected an integer"},
        {R"({"id": 1, "stock_quantity": "5"})", "stock_quantity: expected an integer or null"},
        {R"({"id": 1, "stock_quantity": 2.5})", "stock_quantity: expected an integer or null"},
        {R"({"id": 1, "name": 5})", "name: expected a string or null"},
        {R"({"id": 1, "type": true})", "type: expected a string or null"},
        {R"({"id": 1, "sku": []})", "sku: expected a string or null"},
        {R"({"id": 1, "stock_status": 1})", "stock_status: expected a string or null"},
        {R"({"id": 1, "global_unique_id": 3})", "global_unique_id: expected a string or null"},
        {R"({"id": 1, "date_modified": {}})", "date_modified: expected a string or null"},
        {R"({"id": 1, "categories": {}})", "categories: expected a list or null"},
        {R"({"id": 1, "categories": [{"id": 3}]})", "categories[0].name: missing string"},
        {R"({"id": 1, "categories": [{"id": 3, "name": null}]})", "categories[0].name: missing string"},
        {R"({"id": 1, "categories": [{"id": "3", "name": "x"}]})",
         "categories[0].id: expected an integer or null"},
        {R"({"id": 1, "images": [5]})", "images[0]: expected an object"},
        {R"({"id": 1, "attributes": [{"options": ["a", 2]}]})",
         "attributes[0].options[1]: expected a string"},
        {R"({"id": 1, "attributes": [{"visible": "yes"}]})",
         "attributes[0].visible: expected a boolean or null"},
        {R"({"id": 1, "name": 5, "stock_quantity": "x"})", "name: expected a string or null"},
        {R"([{"id": 1}])", "answer: expected an object"},
        {R"("text")", "not JSON"},
        {R"(<html></html>)", "not JSON"},
    };
    for (const Case& c : products) {
        try {
            product(c.json);
            ADD_FAILURE() << "decoded " << c.json;
        } catch (const WooDecodingError& error) {
            EXPECT_TRUE(error.detail().contains(QString::fromUtf8(c.detail)))
                << c.json << " -> " << error.detail().toStdString();
        }
    }
    EXPECT_THROW(variation(R"({"id": 1, "image": "none"})"), WooDecodingError);
    EXPECT_THROW(variation(R"({"id": 1, "attributes": [{"option": 3}]})"), WooDecodingError);
}

TEST(WooCommerceRecordsTest, ListsDecodeEveryRecordOrFailAsAWhole) {
    EXPECT_EQ(WooCommerceProductDTO::decodeList(R"([{"id": 1}, {"id": 2}])").size(), 2);
    EXPECT_TRUE(WooCommerceVariationDTO::decodeList("[]").isEmpty());
    EXPECT_THROW(WooCommerceProductDTO::decodeList(R"({"id": 1})"), WooDecodingError);
    try {
        WooCommerceProductDTO::decodeList(R"([{"id": 1}, {"id": "2"}])");
        ADD_FAILURE();
    } catch (const WooDecodingError& error) {
        EXPECT_EQ(error.detail(), QStringLiteral("[1].id: expected an integer"));
    }
}

TEST(WooCommerceRecordsTest, DecodingErrorReadsAsAnInvalidResponse) {
    test::useLanguage(AppLanguage::french);
    const WooDecodingError error(QStringLiteral("[0].id: missing integer"));
    EXPECT_EQ(error.localizedDescription(),
              QStringLiteral("Réponse WooCommerce invalide. ([0].id: missing integer)"));
    test::useLanguage(AppLanguage::english);
    EXPECT_EQ(error.localizedDescription(),
              QStringLiteral("Invalid WooCommerce response. ([0].id: missing integer)"));
}

} // namespace
} // namespace tallybrook
