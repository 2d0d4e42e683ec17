#include "storage/WooCredentialStore.h"

#include "storage/InMemorySecretStore.h"
#include "storage/SqlitePreferencesStore.h"
#include "support/TestLanguage.h"

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

using namespace tallybrook;
using namespace tallybrook::test;
using namespace Qt::StringLiterals;

namespace {

struct WooCredentialStoreTest : LanguageTest<> {
    WooCredentialStore makeStore(std::shared_ptr<PreferencesStore> store = nullptr) {
        return WooCredentialStore(store ? store : preferences,
                                  KeychainService(KeychainService::wooCommerceServiceName(), secrets));
    }
    QByteArray secret(const QString& account) const {
        return secrets->read(u"TallybrookControl.WooCommerce"_s, account).data;
    }

    std::shared_ptr<InMemoryPreferencesStore> preferences = std::make_shared<InMemoryPreferencesStore>();
    std::shared_ptr<InMemorySecretStore> secrets = std::make_shared<InMemorySecretStore>();
};

const QUrl shopURL(u"https://shop.example/"_s);
const QString urlKey = u"woocommerce.storeURL"_s;

} // namespace

TEST_F(WooCredentialStoreTest, SavedCredentialsLoadThroughAnyOtherStoreAndOnlyWhenComplete) {
    WooCredentialStore store = makeStore();
    EXPECT_EQ(store.load(), std::nullopt) << "nothing saved";
    preferences->setString(urlKey, u"https://shop.example"_s);
    EXPECT_EQ(store.load(), std::nullopt) << "URL but no consumer key item";
    KeychainService(KeychainService::wooCommerceServiceName(), secrets).save(u"ck"_s, u"woocommerce.consumerKey"_s);
    EXPECT_EQ(store.load(), std::nullopt) << "no consumer secret item";

    store.save(shopURL, u"Boutique"_s, u"ck_123"_s, u"cs_456"_s);
    WooCredentialStore other = makeStore();
    EXPECT_EQ(other.load(), (WooStoredCredentials{shopURL, u"ck_123"_s, u"cs_456"_s}));
    EXPECT_EQ(other.savedStoreURLText(), u"https://shop.example/"_s);
    EXPECT_EQ(other.savedDisplayName(), u"Boutique"_s);
    EXPECT_EQ(secret(u"woocommerce.consumerKey"_s), "ck_123");
    EXPECT_EQ(secret(u"woocommerce.consumerSecret"_s), "cs_456");
    store.save(shopURL, std::nullopt, u"ck_123"_s, u"cs_456"_s);
    EXPECT_EQ(preferences->string(u"woocommerce.displayName"_s), std::nullopt) << "an old name is removed";

    // The preferences are looked at first: without a usable URL the Keychain is never asked,
    // so even a locked one gives plain "no credentials".
    secrets->setReadFailure(-25308);
    EXPECT_THROW(store.load(), KeychainServiceError);
    for (const QString& notAURL : {u"http://exa mple.com"_s, QString(), u"https://[::1"_s}) {
        preferences->setString(urlKey, notAURL);
        EXPECT_EQ(store.load(), std::nullopt) << notAURL.toStdString();
    }
    preferences->remove(urlKey);
    EXPECT_EQ(store.load(), std::nullopt);
}

TEST_F(WooCredentialStoreTest, AFailedWriteKeepsWhatWasWrittenBeforeIt) {
    WooCredentialStore store = makeStore();
    store.save(shopURL, u"Old"_s, u"old-key"_s, u"old-secret"_s);
    const QUrl newURL(u"https://new.example/"_s);
    secrets->setWriteFailureForAccount(u"woocommerce.consumerKey"_s, -25308);
    try {
        store.save(newURL, u"New"_s, u"new-key"_s, u"new-secret"_s);
        ADD_FAILURE() << "expected a keychain error";
    } catch (const KeychainServiceError& error) {
        EXPECT_EQ(error.localizedDescription(), u"Keychain error: -25308."_s);
    }
    EXPECT_EQ(store.savedStoreURLText(), u"https://new.example/"_s) << "preferences are written first";
    EXPECT_EQ(store.savedDisplayName(), u"New"_s);
    EXPECT_EQ(secret(u"woocommerce.consumerSecret"_s), "old-secret") << "the key failed: the secret is not tried";

    secrets->setWriteFailureForAccount(u"woocommerce.consumerSecret"_s, 5);
    EXPECT_THROW(store.save(shopURL, u"New"_s, u"new-key"_s, u"new-secret"_s), KeychainServiceError);
    EXPECT_EQ(store.load(), (WooStoredCredentials{shopURL, u"new-key"_s, u"old-secret"_s}));
}

// The key and the secret live in the secret store only: not in the preferences file, its
// write-ahead log, nor anywhere else in the application's data folder.
TEST_F(WooCredentialStoreTest, SecretsAppearNowhereButInTheSecretStore) {
    QTemporaryDir dataHome;
    const QByteArray previousDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
    const QString path = SqlitePreferencesStore::defaultPath();
    ASSERT_TRUE(path.startsWith(dataHome.path())) << path.toStdString();
    const QString key = u"ck_4f1d2b9e8a7c6d5e4f3a2b1c0d9e8f7a6b5c4d3e"_s;
    const QString secretText = u"cs_9a8b7c6d5e4f3a2b1c0d9e8f7a6b5c4d3e2f1a0b"_s;
    const auto filesHolding = [&](const QByteArray& needle) {
        QStringList found;
        for (QDirIterator files(dataHome.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); files.hasNext();) {
            QFile content(files.next());
            if (content.open(QIODevice::ReadOnly) && content.readAll().contains(needle)) {
                found.append(content.fileName());
            }
        }
        return found;
    };
    const auto expectNoSecretOnDisk = [&] {
        // The URL proves that the search sees the file and its write-ahead log.
        EXPECT_FALSE(filesHolding("needle-shop.example").isEmpty());
        for (const QString& value : {key, secretText}) {
            EXPECT_EQ(filesHolding(value.toUtf8()), QStringList()) << value.toStdString();
            EXPECT_EQ(filesHolding(value.toUtf8().toBase64()), QStringList());
            EXPECT_EQ(filesHolding(QByteArray(reinterpret_cast<const char*>(value.utf16()), value.size() * 2)),
                      QStringList());
        }
    };
    {
        auto sqlite = SqlitePreferencesStore::open(path);
        ASSERT_NE(sqlite, nullptr);
        WooCredentialStore store = makeStore(sqlite);
        store.save(QUrl(u"https://needle-shop.example/"_s), u"Needle"_s, key, secretText);
        ASSERT_EQ(store.load(), (WooStoredCredentials{QUrl(u"https://needle-shop.example/"_s), key, secretText}));
        EXPECT_TRUE(QFile::exists(path + u"-wal"_s));
        expectNoSecretOnDisk();
    }
    expectNoSecretOnDisk();
    EXPECT_EQ(secrets->allSecrets().size(), 2);
    previousDataHome.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", previousDataHome);
}
