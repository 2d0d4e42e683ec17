#include "woocommerce/WooCommerceRecords.h"

#include "WooTestSupport.h"
#include "woocommerce/WooDecodingError.h"
#include "woocommerce/WooIntegerText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>
#include <limits>

namespace tallybrook {
namespace {

using namespace Qt::StringLiterals;

WooCommerceProductDTO product(const char* json) {
    return WooCommerceProductDTO::decode(QByteArray(json));
}

WooCommerceVariationDTO variation(const char* json) {
    return WooCommerceVariationDTO::decode(QByteArray(json));
}

TEST(WooIntegerTextTest, AcceptsOnlyASignAndDigitsWithinSixtyFourBits) {
    // clang-format off
    const std::pair<const char*, std::optional<qint64>> cases[] = {
        {"12", 12}, {"0012", 12}, {"+7", 7}, {"-3", -3}, {"0", 0}, {"9223372036854775807", 9223372036854775807LL},
        {"-9223372036854775808", std::numeric_limits<qint64>::min()}, {"9223372036854775808", {}}, {"-9223372036854775809", {}},
        {"99999999999999999999999", {}}, {"", {}}, {"+", {}}, {"-", {}}, {" 12", {}}, {"12 ", {}}, {"3.0", {}}, {"1e3", {}},
        {"x9", {}}, {"12a", {}}, {"/1", {}}, {":1", {}}, {"+-1", {}}, {"٣", {}}};
    // clang-format on
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(parseWooInteger(QStringView(QString::fromUtf8(text))), expected) << text;
        EXPECT_EQ(parseWooInteger(QByteArrayView(text)), expected) << text;
    }
}

TEST(WooCommerceRecordsTest, JsonIntegersAreWholeNumbersWithinSixtyFourBits) {
    // clang-format off
    const std::pair<const char*, std::optional<qint64>> cases[] = {
        {"12", 12}, {"12.0", 12}, {"-0.0", 0}, {"-7", -7}, {"9223372036854775807", 9223372036854775807LL}, {"1.5", {}},
        {"1e30", {}}, {"-1e19", {}}, {"\"12\"", {}}, {"true", {}}, {"null", {}}, {"[1]", {}}, {"{}", {}}};
    // clang-format on
    for (const auto& [json, expected] : cases) {
        const QJsonDocument document = QJsonDocument::fromJson(QByteArray("[") + json + ']');
        EXPECT_EQ(wooJsonInteger(document.array().at(0)), expected) << json;
    }
    EXPECT_EQ(product(R"({"id": 9007199254740993})").id, 9007199254740993LL); // beyond a double's precision
}

TEST(WooCommerceRecordsTest, TolerantManageStockReadsBooleansTextsAndIntegers) {
    const std::pair<const char*, std::optional<bool>> cases[] = {
        {"true", true},  {"false", false},  {"\"parent\"", false}, {"\"Yes\"", true}, {"\"TRUE\"", true},
        {"\"1\"", true}, {"\"no\"", false}, {"\"0\"", false},      {"\"maybe\"", {}}, {"\"\"", {}},
        {"1", true},     {"0", false},      {"7", true},           {"0.5", {}},       {"null", {}},
        {"{}", {}},      {"[true]", {}}};
    for (const auto& [value, expected] : cases) {
        const QByteArray json = QByteArray(R"({"id": 1, "manage_stock": )") + value + '}';
        EXPECT_EQ(WooCommerceVariationDTO::decode(json).manageStock, expected) << value;
        EXPECT_EQ(WooCommerceProductDTO::decode(json).manageStock, expected) << value;
    }
    EXPECT_EQ(variation(R"({"id": 1})").manageStock, std::nullopt);
}

TEST(WooCommerceRecordsTest, RecordsDecodeEveryFieldAndDefaultTheMissingOnes) {
    WooCommerceProductDTO expected;
    expected.id = 42;
    expected.name = u"Bougie"_s;
    expected.type = u"simple"_s;
    expected.sku = u"B-42"_s;
    expected.stockQuantity = -3;
    expected.manageStock = true;
    expected.stockStatus = u"outofstock"_s;
    expected.categories = {{15, u"Maison"_s}, {std::nullopt, u"Cadeaux"_s}};
    expected.attributes = {{2, u"Couleur"_s, std::nullopt, QStringList{u"Bleu"_s, u"Vert"_s}, true, false}};
    expected.images = {{7, u"https://shop.example/b.jpg"_s}};
    expected.globalUniqueID = u"3760000000000"_s;
    expected.dateModified = u"2024-05-02T09:00:00"_s;
    expected.parentId = 0;
    EXPECT_EQ(product(R"({"id": 42, "name": "Bougie", "type": "simple", "sku": "B-42", "stock_quantity": -3,
        "manage_stock": true, "stock_status": "outofstock", "parent_id": 0, "price": "12.50",
        "categories": [{"id": 15, "name": "Maison", "slug": "maison"}, {"name": "Cadeaux"}],
        "attributes": [{"id": 2, "name": "Couleur", "options": ["Bleu", "Vert"], "variation": true, "visible": false}],
        "images": [{"id": 7, "src": "https://shop.example/b.jpg"}], "global_unique_id": "3760000000000",
        "date_modified": "2024-05-02T09:00:00", "meta_data": [{"key": "x"}]})"),
              expected);

    WooCommerceProductDTO bare;
    bare.id = 42;
    bare.name = u"Produit 42"_s;
    EXPECT_EQ(product(R"({"id": 42, "name": null, "stock_quantity": null, "categories": null})"), bare);
    WooCommerceVariationDTO plain;
    plain.id = 34;
    EXPECT_EQ(variation(R"({"id": 34, "image": null})"), plain);
    const auto full =
        variation(R"({"id": 34, "image": {"id": 3}, "attributes": [{"name": "Taille", "option": "M"}]})");
    EXPECT_EQ(full.image, (WooCommerceImageDTO{3, std::nullopt}));
    ASSERT_EQ(full.attributes.size(), 1);
    EXPECT_EQ(full.attributes[0].option, u"M"_s);
}

TEST(WooCommerceRecordsTest, BrokenRecordsFailWithTheKeyThatBrokeThem) {
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {R"({"name": "x"})", "id: missing integer"},
        {R"({"id": "12"})", "id: expected an integer"},
        {R"({"id": 1.5})", "id: expected an integer"},
        {R"({"id": 1, "stock_quantity": "5"})", "stock_quantity: expected an integer or null"},
        {R"({"id": 1, "parent_id": "20"})", "parent_id: expected an integer or null"},
        {R"({"id": 1, "type": true})", "type: expected a string or null"},
        {R"({"id": 1, "date_modified": {}})", "date_modified: expected a string or null"},
        {R"({"id": 1, "categories": {}})", "categories: expected a list or null"},
        {R"({"id": 1, "categories": [{"id": 3}]})", "categories[0].name: missing string"},
        {R"({"id": 1, "categories": [{"id": "3", "name": "x"}]})", "categories[0].id: expected an integer or null"},
        {R"({"id": 1, "images": [{}, 5]})", "images[1]: expected an object"},
        {R"({"id": 1, "attributes": [{"options": ["a", 2]}]})", "attributes[0].options[1]: expected a string"},
        {R"({"id": 1, "attributes": [{"options": "a"}]})", "attributes[0].options: expected a list of strings"},
        {R"({"id": 1, "attributes": [{"visible": "yes"}]})", "attributes[0].visible: expected a boolean or null"},
        {R"({"id": 1, "name": 5, "stock_quantity": "x"})", "name: expected a string or null"},
        {R"([{"id": 1}])", "answer: expected an object"},
        {R"(<html></html>)", "not JSON"},
    };
    // clang-format on
    for (const auto& [json, detail] : cases) {
        const auto error = test::errorOf<WooDecodingError>([&] { product(json); }, WooDecodingError({}));
        EXPECT_TRUE(error.detail().startsWith(QString::fromUtf8(detail)))
            << json << " -> " << error.detail().toStdString();
    }
    EXPECT_THROW(variation(R"({"id": 1, "image": "none"})"), WooDecodingError);
    EXPECT_THROW(variation(R"({"id": 1, "attributes": [{"option": 3}]})"), WooDecodingError);
}

TEST(WooCommerceRecordsTest, ListsDecodeEveryRecordOrFailAsAWhole) {
    EXPECT_EQ(WooCommerceProductDTO::decodeList(R"([{"id": 1}, {"id": 2}])").size(), 2);
    EXPECT_TRUE(WooCommerceVariationDTO::decodeList("[]").isEmpty());
    EXPECT_THROW(WooCommerceProductDTO::decodeList(R"({"id": 1})"), WooDecodingError);
    const auto error = test::errorOf<WooDecodingError>(
        [] { WooCommerceProductDTO::decodeList(R"([{"id": 1}, {"id": "2"}])"); }, WooDecodingError({}));
    EXPECT_EQ(error.detail(), u"[1].id: expected an integer"_s);
    test::useLanguage(AppLanguage::french);
    EXPECT_EQ(error.localizedDescription(), u"Réponse WooCommerce invalide. ([1].id: expected an integer)"_s);
}

} // namespace
} // namespace tallybrook
