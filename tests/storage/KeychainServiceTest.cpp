#include "storage/KeychainService.h"

#include "StorageTestSupport.h"
#include "storage/InMemorySecretStore.h"

#include <gtest/gtest.h>

using namespace tallybrook;
using namespace tallybrook::testing;

namespace {

struct KeychainServiceTest : ::testing::Test {
    void SetUp() override { useLanguage(u"en"_s); }

    std::shared_ptr<InMemorySecretStore> secrets = std::make_shared<InMemorySecretStore>();
    KeychainService keychain{KeychainService::wooCommerceServiceName(), secrets};
};

} // namespace

TEST_F(KeychainServiceTest, SavingTwiceUpdatesTheOneItemAndMissingAccountsReadAsNone) {
    EXPECT_EQ(keychain.serviceName(), u"TallybrookControl.WooCommerce"_s);
    EXPECT_EQ(keychain.read(u"never.saved"_s), std::nullopt);

    keychain.save(u"first"_s, u"account"_s);
    keychain.save(u"clé secrète ✓"_s, u"account"_s);
    EXPECT_EQ(keychain.read(u"account"_s), u"clé secrète ✓"_s);
    EXPECT_EQ(secrets->itemCount(), 1);

    // The item holds the UTF-8 bytes of the text, under this service only.
    EXPECT_EQ(secrets->read(u"TallybrookControl.WooCommerce"_s, u"account"_s).data,
              QByteArray("clé secrète ✓"));
    EXPECT_EQ(secrets->read(u"Other.Service"_s, u"account"_s).status, SecretStore::itemNotFound);
}

TEST_F(KeychainServiceTest, AnEmptyValueIsAnItemNotAMissingOne) {
    keychain.save(QString(), u"account"_s);
    const std::optional<QString> value = keychain.read(u"account"_s);
    ASSERT_TRUE(value.has_value());
    EXPECT_TRUE(value->isEmpty());
}

TEST_F(KeychainServiceTest, BytesThatAreNotUtf8AreInvalidData) {
    secrets->updateOrAdd(keychain.serviceName(), u"account"_s, QByteArray("\xff\xfe\x80", 3));
    try {
        keychain.read(u"account"_s);
        FAIL() << "expected invalidData";
    } catch (const KeychainServiceError& error) {
        EXPECT_EQ(error, KeychainServiceError::invalidData());
        EXPECT_EQ(error.localizedDescription(), u"Invalid Keychain data."_s);
        EXPECT_EQ(error.localizedDescription(AppLanguage::french), u"Données Keychain invalides."_s);
    }
}

TEST_F(KeychainServiceTest, TextWithoutUtf8FormIsRejectedBeforeAnythingIsWritten) {
    const QString unpairedSurrogate(QChar(0xD800));
    EXPECT_THROW(keychain.save(unpairedSurrogate, u"account"_s), KeychainServiceError);
    EXPECT_EQ(secrets->itemCount(), 0);
}

TEST_F(KeychainServiceTest, LockedOrMissingStoreGivesTheKeychainErrorWithItsStatus) {
    struct Case {
        const char* name;
        qint32 status;
        bool failReads;
    };
    const Case cases[] = {
        {"locked keychain on read", -25308, true},
        {"no backend on write", 5, false},
        {"access denied on read", 4, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto failing = std::make_shared<InMemorySecretStore>();
        KeychainService service(KeychainService::wooCommerceServiceName(), failing);
        try {
            if (c.failReads) {
                failing->setReadFailure(c.status);
                service.read(u"account"_s);
            } else {
                failing->setWriteFailure(c.status);
                service.save(u"value"_s, u"account"_s);
            }
            ADD_FAILURE() << "expected unexpectedStatus";
        } catch (const KeychainServiceError& error) {
            EXPECT_EQ(error, KeychainServiceError::unexpectedStatus(c.status));
            EXPECT_EQ(error.localizedDescription(),
                      u"Keychain error: "_s + QString::number(c.status) + u"."_s);
            EXPECT_EQ(error.localizedDescription(AppLanguage::french),
                      u"Erreur Keychain: "_s + QString::number(c.status) + u"."_s);
        }
    }
}
