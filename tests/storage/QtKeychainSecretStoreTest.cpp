// Runs against the platform's real secret store (the Secret Service of gnome-keyring inside
// dbus-run-session here). Without one, the test is skipped, or fails when the run demands it
// through TALLYBROOK_REQUIRE_KEYCHAIN=1.

#include "storage/QtKeychainSecretStore.h"

#include "StorageTestSupport.h"
#include "storage/KeychainService.h"

#include <QProcess>
#include <QStandardPaths>
#include <QUuid>
#include <gtest/gtest.h>

using namespace tallybrook;
using namespace tallybrook::testing;

namespace {

// Fixed names, so that repeated runs overwrite the same items instead of piling them up in
// the keyring.
const QString testService = u"TallybrookControl.WooCommerce.Test"_s;

/// Number of items for (service, account) as the Secret Service lists them, or -1 when the
/// command-line client is not installed.
int secretServiceItemCount(const QString& account) {
    const QString secretTool = QStandardPaths::findExecutable(u"secret-tool"_s);
    if (secretTool.isEmpty()) {
        return -1;
    }
    QProcess process;
    process.start(secretTool, {u"search"_s, u"--all"_s, u"server"_s, testService, u"user"_s, account});
    if (!process.waitForFinished(30000)) {
        return -1;
    }
    const QByteArray listing = process.readAllStandardOutput() + process.readAllStandardError();
    return int(listing.count("label = "));
}

void runRoundTrip(KeychainService& keychain, const QString& first, const QString& second) {
    const QString account = u"woocommerce.consumerSecret"_s;
    keychain.save(first, account);
    EXPECT_EQ(keychain.read(account), first);
    keychain.save(second, account);
    EXPECT_EQ(keychain.read(account), second);
    const int items = secretServiceItemCount(account);
    if (items >= 0) {
        EXPECT_EQ(items, 1) << "a second save must update the item, not add one";
    }

    keychain.save(QString(), u"woocommerce.consumerKey"_s);
    const std::optional<QString> empty = keychain.read(u"woocommerce.consumerKey"_s);
    ASSERT_TRUE(empty.has_value()) << "an empty value is an item holding zero bytes";
    EXPECT_TRUE(empty->isEmpty());

    EXPECT_EQ(keychain.read(u"never.saved."_s + QUuid::createUuid().toString(QUuid::WithoutBraces)),
              std::nullopt);
}

} // namespace

TEST(QtKeychainSecretStoreTest, KeychainRoundTripAgainstTheRealSecretService) {
    useLanguage(u"en"_s);
    auto store = std::make_shared<QtKeychainSecretStore>(std::chrono::seconds(30));
    // A Secret Service without a usable default collection answers reads with "not found", so
    // only a write tells whether secrets can be kept.
    const qint32 probe = store->updateOrAdd(testService, u"probe"_s, "probe");
    if (probe != SecretStore::success) {
        const QString reason = u"no usable secret service (status "_s + QString::number(probe) + u")"_s;
        if (qEnvironmentVariable("TALLYBROOK_REQUIRE_KEYCHAIN") == u"1"_s) {
            FAIL() << reason.toStdString();
        }
        GTEST_SKIP() << reason.toStdString();
    }

    KeychainService keychain(testService, store);
    const QString first = u"cs_first_"_s + QUuid::createUuid().toString(QUuid::WithoutBraces);
    const QString second = u"cs_second_é_"_s + QUuid::createUuid().toString(QUuid::WithoutBraces);

    try {
        runRoundTrip(keychain, first, second);
    } catch (const KeychainServiceError& error) {
        FAIL() << error.localizedDescription().toStdString();
    }
}
