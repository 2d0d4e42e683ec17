#include "app/WooConnectionViewModel.h"

#include "AppTestSupport.h"
#include "demo-shop/DemoShop.h"
#include "storage/InMemorySecretStore.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace tallybrook;
using namespace tallybrook::test;

namespace {

struct WooConnectionViewModelTest : LanguageTest<> {
    std::unique_ptr<WooConnectionViewModel> makeViewModel() const {
        return std::make_unique<WooConnectionViewModel>(
            WooCredentialStore(preferences, KeychainService(KeychainService::wooCommerceServiceName(), secrets)),
            wooCommerceConnectorFactory());
    }

    std::shared_ptr<InMemoryPreferencesStore> preferences = std::make_shared<InMemoryPreferencesStore>();
    std::shared_ptr<InMemorySecretStore> secrets = std::make_shared<InMemorySecretStore>();
};

using State = WooConnectionViewModel::ValidationState;

} // namespace

TEST(WooConnectionViewModelNormalisationTest, UserTextBecomesTheStoreURL) {
    const std::pair<QString, std::optional<QString>> cases[] = {
        {u"  \n "_s, std::nullopt},
        {u"  shop.example.com/boutique \n"_s, u"https://shop.example.com/boutique"_s},
        {u"http://shop.example.com/wp"_s, u"http://shop.example.com/wp"_s},
        {u"https://shop.example.com:8443/boutique/"_s, u"https://shop.example.com:8443/boutique/"_s},
        {u"localhost:8080"_s, u"localhost:8080"_s}, // the host of host:port reads as a scheme
        {u"127.0.0.1:8080"_s, u"https://127.0.0.1:8080"_s},
        {u"exa mple.com"_s, std::nullopt},
        {u"https://exa mple.com"_s, std::nullopt},
    };
    for (const auto& [typed, expected] : cases) {
        const std::optional<QUrl> url = WooConnectionViewModel::normalizeStoreURL(typed);
        EXPECT_EQ(url ? std::optional(url->toString(QUrl::FullyEncoded)) : std::nullopt, expected) << typed.toStdString();
    }
}

TEST_F(WooConnectionViewModelTest, SaveWritesTheConnectionAndLoadShowsIt) {
    auto viewModel = makeViewModel();
    viewModel->setStoreURLString(u"   "_s);
    viewModel->save();
    EXPECT_EQ(viewModel->errorMessage(), u"Invalid WooCommerce URL."_s);
    EXPECT_EQ(preferences->string(u"woocommerce.storeURL"_s), std::nullopt);
    EXPECT_EQ(secrets->itemCount(), 0);

    viewModel->setStoreURLString(u" shop.example.com "_s);
    viewModel->setConsumerKey(u" ck_key "_s);
    viewModel->setConsumerSecret(QString());
    viewModel->save();
    EXPECT_EQ(viewModel->errorMessage(), std::nullopt);
    EXPECT_EQ(preferences->string(u"woocommerce.storeURL"_s), u"https://shop.example.com"_s);
    EXPECT_EQ(preferences->string(u"woocommerce.displayName"_s), u"shop.example.com"_s)
        << "host as display name";
    EXPECT_TRUE(viewModel->displayName().isEmpty()) << "the field keeps what was typed";

    auto reloaded = makeViewModel();
    reloaded->load(); // the key is saved exactly as typed
    EXPECT_EQ(std::tie(reloaded->storeURLString(), reloaded->displayName(), reloaded->consumerKey(), reloaded->consumerSecret()),
              std::make_tuple(u"https://shop.example.com"_s, u"shop.example.com"_s, u" ck_key "_s, QString()));
    EXPECT_EQ(reloaded->validationState(), State::idle());

    viewModel->setStoreURLString(u"https://shop.example.com/"_s);
    viewModel->setDisplayName(u"Ma boutique"_s);
    viewModel->save();
    EXPECT_EQ(preferences->string(u"woocommerce.storeURL"_s), u"https://shop.example.com/"_s);
    EXPECT_EQ(preferences->string(u"woocommerce.displayName"_s), u"Ma boutique"_s);
}

TEST_F(WooConnectionViewModelTest, KeychainFailuresShowOnSaveAndLeaveTheFieldsOnLoad) {
    auto viewModel = makeViewModel();
    viewModel->setStoreURLString(u"https://shop.example.com"_s);
    viewModel->setConsumerKey(u"k"_s);
    viewModel->setConsumerSecret(u"s"_s);
    secrets->setWriteFailure(-25308);
    viewModel->save();
    EXPECT_EQ(viewModel->errorMessage(), u"Keychain error: -25308."_s);
    EXPECT_EQ(preferences->string(u"woocommerce.storeURL"_s), u"https://shop.example.com"_s);

    // A locked Keychain on load: URL and name load, the typed key and secret stay.
    secrets->setReadFailure(-25308);
    auto fresh = makeViewModel();
    fresh->setConsumerKey(u"typed key"_s);
    fresh->load();
    EXPECT_EQ(std::tie(fresh->storeURLString(), fresh->consumerKey()), std::make_tuple(u"https://shop.example.com"_s, u"typed key"_s));
    EXPECT_EQ(fresh->errorMessage(), std::nullopt);
}

TEST_F(WooConnectionViewModelTest, TestingTheFieldsAgainstTheDemoShop) {
    DemoShop shop;
    shop.start(0);
    auto viewModel = makeViewModel();
    QSignalSpy states(viewModel.get(), &WooConnectionViewModel::validationStateChanged);

    viewModel->setStoreURLString(u"not a url at all"_s);
    viewModel->testConnection();
    EXPECT_EQ(viewModel->validationState(), State::invalid(u"Invalid WooCommerce URL."_s));

    for (const auto& [secret, expected, messageStart] : {std::tuple{u"cs_demo"_s, State::Kind::valid, u"Connection valid."_s},
                                                          {u"cs_wrong"_s, State::Kind::invalid, u"WooCommerce error 401: "_s}}) {
        viewModel->setStoreURLString(shop.url().toString());
        viewModel->setConsumerKey(u"ck_demo"_s);
        viewModel->setConsumerSecret(secret);
        viewModel->testConnection();
        EXPECT_EQ(viewModel->validationState(), State::testing());
        ASSERT_TRUE(waitUntil([&] { return viewModel->validationState().kind != State::Kind::testing; }));
        EXPECT_EQ(viewModel->validationState().kind, expected);
        EXPECT_TRUE(viewModel->validationState().message.startsWith(messageStart))
            << viewModel->validationState().message.toStdString();
    }
    EXPECT_EQ(preferences->string(u"woocommerce.storeURL"_s), std::nullopt) << "testing never saves";
    EXPECT_GE(states.count(), 5);
}
