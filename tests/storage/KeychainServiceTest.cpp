#include "storage/KeychainService.h"

#include "storage/InMemorySecretStore.h"
#include "storage/QtKeychainSecretStore.h"
#include "support/TestLanguage.h"

#include <QProcess>
#include <QStandardPaths>
#include <QUuid>

using namespace tallybrook;
using namespace tallybrook::test;
using namespace Qt::StringLiterals;

namespace {

struct KeychainServiceTest : LanguageTest<> {
    std::shared_ptr<InMemorySecretStore> secrets = std::make_shared<InMemorySecretStore>();
    KeychainService keychain{KeychainService::wooCommerceServiceName(), secrets};
};

// Fixed names, so that repeated runs overwrite the same items instead of piling them up.
const QString testService = u"TallybrookControl.WooCommerce.Test"_s;

/// Items for (service, account) as the Secret Service lists them; -1 without its command-line client.
int secretServiceItemCount(const QString& account) {
    const QString secretTool = QStandardPaths::findExecutable(u"secret-tool"_s);
    QProcess process;
    if (secretTool.isEmpty()) {
        return -1;
    }
    process.start(secretTool, {u"search"_s, u"--all"_s, u"server"_s, testService, u"user"_s, account});
    return process.waitForFinished(30000)
               ? int(QByteArray(process.readAllStandardOutput() + process.readAllStandardError()).count("label = "))
               : -1;
}

} // namespace

TEST_F(KeychainServiceTest, BadDataAndStoreFailuresAreKeychainErrors) {
    secrets->updateOrAdd(keychain.serviceName(), u"account"_s, QByteArray("\xff\xfe\x80", 3));
    try {
        keychain.read(u"account"_s);
        ADD_FAILURE() << "expected invalidData";
    } catch (const KeychainServiceError& error) {
        EXPECT_EQ(error, KeychainServiceError::invalidData());
        EXPECT_EQ(error.localizedDescription(), u"Invalid Keychain data."_s);
        EXPECT_EQ(error.localizedDescription(AppLanguage::french), u"Données Keychain invalides."_s);
    }
    // Text without a UTF-8 form is refused before anything is written; the service names its items.
    EXPECT_THROW(keychain.save(QString(QChar(0xD800)), u"other"_s), KeychainServiceError);
    keychain.save(u"clé ✓"_s, u"account"_s);
    EXPECT_EQ(secrets->itemCount(), 1);
    EXPECT_EQ(secrets->read(u"TallybrookControl.WooCommerce"_s, u"account"_s).data, QByteArray("clé ✓"));

    for (const auto& [status, failReads] : {std::pair{-25308, true}, {5, false}}) {
        auto failing = std::make_shared<InMemorySecretStore>();
        KeychainService service(KeychainService::wooCommerceServiceName(), failing);
        try {
            if (failReads) {
                failing->setReadFailure(status);
                service.read(u"account"_s);
            } else {
                failing->setWriteFailure(status);
                service.save(u"value"_s, u"account"_s);
            }
            ADD_FAILURE() << "expected unexpectedStatus " << status;
        } catch (const KeychainServiceError& error) {
            EXPECT_EQ(error, KeychainServiceError::unexpectedStatus(status));
            EXPECT_EQ(error.localizedDescription(), u"Keychain error: %1."_s.arg(status));
            EXPECT_EQ(error.localizedDescription(AppLanguage::french), u"Erreur Keychain: %1."_s.arg(status));
        }
    }
}

// Against the platform's real secret store (gnome-keyring's Secret Service inside
// dbus-run-session here). Without one the test is skipped, or fails when the run demands it
// through TALLYBROOK_REQUIRE_KEYCHAIN=1.
TEST_F(KeychainServiceTest, RoundTripAgainstTheRealSecretService) {
    auto store = std::make_shared<QtKeychainSecretStore>(std::chrono::seconds(30));
    // A Secret Service without a usable default collection answers reads with "not found", so
    // only a write tells whether secrets can be kept.
    const qint32 probe = store->updateOrAdd(testService, u"probe"_s, "probe");
    if (probe != SecretStore::success) {
        const std::string reason = "no usable secret service (status " + std::to_string(probe) + ")";
        if (qEnvironmentVariable("TALLYBROOK_REQUIRE_KEYCHAIN") == u"1"_s) {
            FAIL() << reason;
        }
        GTEST_SKIP() << reason;
    }
    KeychainService real(testService, store);
    const QString account = u"woocommerce.consumerSecret"_s;
    try {
        real.save(u"cs_first_"_s + QUuid::createUuid().toString(), account);
        const QString second = u"cs_second_é_"_s + QUuid::createUuid().toString();
        real.save(second, account);
        EXPECT_EQ(real.read(account), second);
        const int items = secretServiceItemCount(account);
        EXPECT_TRUE(items == 1 || items == -1) << "a second save must update the item, not add one: " << items;
        real.save(QString(), u"woocommerce.consumerKey"_s);
        EXPECT_EQ(real.read(u"woocommerce.consumerKey"_s), QString()) << "an item holding zero bytes";
        EXPECT_EQ(real.read(u"never.saved."_s + QUuid::createUuid().toString()), std::nullopt);
    } catch (const KeychainServiceError& error) {
        FAIL() << error.localizedDescription().toStdString();
    }
}
