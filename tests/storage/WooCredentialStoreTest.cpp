#include "storage/WooCredentialStore.h"

#include "StorageTestSupport.h"
#include "storage/InMemorySecretStore.h"
#include "storage/SqlitePreferencesStore.h"

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tallybrook;
using namespace tallybrook::testing;

namespace {

struct WooCredentialStoreTest : ::testing::Test {
    void SetUp() override { useLanguage(u"en"_s); }

    WooCredentialStore makeStore() {
        return WooCredentialStore(preferences,
                                  KeychainService(KeychainService::wooCommerceServiceName(), secrets));
    }

    std::shared_ptr<InMemoryPreferencesStore> preferences = std::make_shared<InMemoryPreferencesStore>();
    std::shared_ptr<InMemorySecretStore> secrets = std::make_shared<InMemorySecretStore>();
};

const QUrl shopURL(u"https://shop.example/"_s);

} // namespace

TEST_F(WooCredentialStoreTest, SavedCredentialsLoadThroughAnyOtherStore) {
    makeStore().save(shopURL, u"Boutique"_s, u"ck_123"_s, u"cs_456"_s);

    WooCredentialStore other = makeStore();
    EXPECT_EQ(other.load(), (WooStoredCredentials{shopURL, u"ck_123"_s, u"cs_456"_s}));
    EXPECT_EQ(other.savedStoreURLText(), u"https://shop.example/"_s);
    EXPECT_EQ(other.savedDisplayName(), u"Boutique"_s);
    EXPECT_EQ(preferences->string(u"woocommerce.storeURL"_s), u"https://shop.example/"_s);
    EXPECT_EQ(secrets->read(u"TallybrookControl.WooCommerce"_s, u"woocommerce.consumerKey"_s).data, "ck_123");
    EXPECT_EQ(secrets->read(u"TallybrookControl.WooCommerce"_s, u"woocommerce.consumerSecret"_s).data,
              "cs_456");
}

TEST_F(WooCredentialStoreTest, IncompleteOrUnusableSavedValuesLoadAsNoCredentials) {
    WooCredentialStore store = makeStore();
    EXPECT_EQ(store.load(), std::nullopt) << "nothing saved";

    preferences->setString(u"woocommerce.storeURL"_s, u"https://shop.example"_s);
    EXPECT_EQ(store.load(), std::nullopt) << "URL but no consumer key item";

    KeychainService keychain(KeychainService::wooCommerceServiceName(), secrets);
    keychain.save(u"ck"_s, u"woocommerce.consumerKey"_s);
    EXPECT_EQ(store.load(), std::nullopt) << "no consumer secret item";

    keychain.save(u"cs"_s, u"woocommerce.consumerSecret"_s);
    ASSERT_TRUE(store.load().has_value());

    for (const QString& notAURL : {u"http://exa mple.com"_s, QString(), u"https://[::1"_s}) {
        preferences->setString(u"woocommerce.storeURL"_s, notAURL);
        EXPECT_EQ(store.load(), std::nullopt) << notAURL.toStdString();
    }
}

TEST_F(WooCredentialStoreTest, SavingWithoutDisplayNameRemovesTheOldOne) {
    WooCredentialStore store = makeStore();
    store.save(shopURL, u"Boutique"_s, u"k"_s, u"s"_s);
    store.save(shopURL, std::nullopt, u"k"_s, u"s"_s);
    EXPECT_EQ(store.savedDisplayName(), std::nullopt);
    EXPECT_EQ(preferences->string(u"woocommerce.displayName"_s), std::nullopt);
}

TEST_F(WooCredentialStoreTest, AFailedKeyWriteStopsBeforeTheSecretAndLeavesTheOldSecret) {
    WooCredentialStore store = makeStore();
    store.save(shopURL, u"Old"_s, u"old-key"_s, u"old-secret"_s);

    secrets->setWriteFailureForAccount(u"woocommerce.consumerKey"_s, -25308);
    const QUrl newURL(u"https://new.example/"_s);
    try {
        store.save(newURL, u"New"_s, u"new-key"_s, u"new-secret"_s);
        FAIL() << "expected a keychain error";
    } catch (const KeychainServiceError& error) {
        EXPECT_EQ(error.localizedDescription(), u"Keychain error: -25308."_s);
    }
    EXPECT_EQ(store.savedStoreURLText(), u"https://new.example/"_s) << "preferences are written first";
    EXPECT_EQ(store.savedDisplayName(), u"New"_s);
    EXPECT_EQ(secrets->read(u"TallybrookControl.WooCommerce"_s, u"woocommerce.consumerSecret"_s).data,
              "old-secret");

    secrets->setWriteFailureForAccount(std::nullopt, 0);
    store.save(newURL, u"New"_s, u"new-key"_s, u"new-secret"_s);
    EXPECT_EQ(store.load(), (WooStoredCredentials{newURL, u"new-key"_s, u"new-secret"_s}));
}

TEST_F(WooCredentialStoreTest, ALockedKeychainFailsTheLoadWithTheKeychainError) {
    WooCredentialStore store = makeStore();
    store.save(shopURL, std::nullopt, u"k"_s, u"s"_s);
    secrets->setReadFailure(-25308);
    EXPECT_THROW(store.load(), KeychainServiceError);
}

// The preferences are looked at first: without a usable URL the Keychain is never asked, so
// even a locked one gives plain "no credentials".
TEST_F(WooCredentialStoreTest, WithoutAUsableURLTheKeychainIsNotRead) {
    WooCredentialStore store = makeStore();
    store.save(shopURL, std::nullopt, u"k"_s, u"s"_s);
    secrets->setReadFailure(-25308);
    const QList<std::optional<QString>> urls{std::nullopt, u"http://exa mple"_s};
    for (const std::optional<QString>& url : urls) {
        if (url) {
            preferences->setString(u"woocommerce.storeURL"_s, *url);
        } else {
            preferences->remove(u"woocommerce.storeURL"_s);
        }
        std::optional<WooStoredCredentials> loaded;
        EXPECT_NO_THROW(loaded = store.load()) << url.value_or(u"(none)"_s).toStdString();
        EXPECT_EQ(loaded, std::nullopt);
    }
}

TEST_F(WooCredentialStoreTest, AFailedSecretWriteKeepsTheNewKeyAndTheOldSecret) {
    WooCredentialStore store = makeStore();
    store.save(shopURL, u"Old"_s, u"old-key"_s, u"old-secret"_s);
    secrets->setWriteFailureForAccount(u"woocommerce.consumerSecret"_s, 5);
    EXPECT_THROW(store.save(shopURL, u"New"_s, u"new-key"_s, u"new-secret"_s), KeychainServiceError);
    EXPECT_EQ(store.savedDisplayName(), u"New"_s);
    EXPECT_EQ(store.load(), (WooStoredCredentials{shopURL, u"new-key"_s, u"old-secret"_s}));
}

// The key and the secret must live in the secret store only: not in the preferences file, its
// write-ahead log, nor anywhere else in the application's data folder.
TEST_F(WooCredentialStoreTest, SecretsAppearNowhereButInTheSecretStore) {
    QTemporaryDir dataHome;
    ASSERT_TRUE(dataHome.isValid());
    const QByteArray previousDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
    const QString path = SqlitePreferencesStore::defaultPath();
    ASSERT_TRUE(path.startsWith(dataHome.path())) << path.toStdString();

    const QString key = u"ck_4f1d2b9e8a7c6d5e4f3a2b1c0d9e8f7a6b5c4d3e"_s;
    const QString secret = u"cs_9a8b7c6d5e4f3a2b1c0d9e8f7a6b5c4d3e2f1a0b"_s;
    const auto searchDataFolder = [&](const QByteArray& needle) {
        QStringList found;
        QDirIterator files(dataHome.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString file = files.next();
            QFile content(file);
            if (content.open(QIODevice::ReadOnly) && content.readAll().contains(needle)) {
                found.append(file);
            }
        }
        return found;
    };
    {
        auto sqlite = SqlitePreferencesStore::open(path);
        ASSERT_NE(sqlite, nullptr);
        WooCredentialStore store(sqlite, KeychainService(KeychainService::wooCommerceServiceName(), secrets));
        store.save(QUrl(u"https://needle-shop.example/"_s), u"Needle"_s, key, secret);
        ASSERT_EQ(store.load(), (WooStoredCredentials{QUrl(u"https://needle-shop.example/"_s), key, secret}));

        // While the store is open the values sit in the write-ahead log: the search must see
        // them there (the URL proves it does).
        EXPECT_FALSE(searchDataFolder("needle-shop.example").isEmpty());
        EXPECT_TRUE(QFile::exists(path + u"-wal"_s));
        for (const QString& value : {key, secret}) {
            EXPECT_EQ(searchDataFolder(value.toUtf8()), QStringList()) << value.toStdString();
            EXPECT_EQ(searchDataFolder(value.toUtf8().toBase64()), QStringList());
        }
    }
    EXPECT_FALSE(searchDataFolder("needle-shop.example").isEmpty());
    for (const QString& value : {key, secret}) {
        EXPECT_EQ(searchDataFolder(value.toUtf8()), QStringList()) << value.toStdString();
        EXPECT_EQ(
            searchDataFolder(QByteArray(reinterpret_cast<const char*>(value.utf16()), value.size() * 2)),
            QStringList());
    }
    EXPECT_EQ(secrets->allSecrets().size(), 2);

    if (previousDataHome.isNull()) {
        qunsetenv("XDG_DATA_HOME");
    } else {
        qputenv("XDG_DATA_HOME", previousDataHome);
    }
}
