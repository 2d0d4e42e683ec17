#include "woocommerce/QtHttpTransport.h"

#include "WooTestSupport.h"
#include "woocommerce/WooCommerceAPIError.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tallybrook {
namespace {

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

TransportError transportErrorOf(const std::function<void()>& work) {
    return test::errorOf<TransportError>(work, TransportError(TransportError::Kind::other, QString()));
}

using QtHttpTransportTest = test::ShopTest;

TEST_F(QtHttpTransportTest, KeepsOneConnectionPerTransportUnlessTheShopClosesIt) {
    for (const bool closes : {false, true}) {
        DemoShopOptions options;
        options.closeConnections = closes;
        restartShop(options);
        const auto api = client();
        for (int index = 0; index < 5; ++index) {
            EXPECT_EQ(api.fetchProduct(12).stockQuantity, 5);
            EXPECT_EQ(api.updateProduct(40, index).stockQuantity, index);
        }
        EXPECT_EQ(shop->requestCount(), 10);
        EXPECT_EQ(shop->connectionCount(), closes ? 10 : 1);
    }
}

// Each failure has its kind, never shows the credentials, and the next request goes through.
TEST_F(QtHttpTransportTest, TypesEachTransportFailureAndServesTheNextRequest) {
    shop->setHugeBodyBytes(2 * 1024 * 1024);
    const auto api = client(std::nullopt, u"cs_demo"_s, {300ms, 1024 * 1024, {}});
    const std::pair<DemoShopFault, TransportError::Kind> cases[] = {
        {DemoShopFault::slowAnswer, TransportError::Kind::timeout},
        {DemoShopFault::dropConnection, TransportError::Kind::connection},
        {DemoShopFault::hugeBody, TransportError::Kind::tooLarge},
    };
    for (const auto& [fault, kind] : cases) {
        shop->addFault({fault, u"/products/12"_s, 1});
        const auto error = transportErrorOf([&] { api.fetchProduct(12); });
        EXPECT_EQ(error.kind(), kind) << int(fault);
        EXPECT_FALSE(error.localizedDescription().isEmpty());
        EXPECT_FALSE(error.localizedDescription().contains(u"cs_demo"_s));
        EXPECT_EQ(api.fetchProduct(12).stockQuantity, 5);
    }
    // An answer of exactly the limit is still read.
    shop->setHugeBodyBytes(1024 * 1024);
    shop->addFault({DemoShopFault::hugeBody, u"/products"_s, 1});
    EXPECT_TRUE(api.fetchProductsPage(1, 10).items.isEmpty());
    // Shop errors are answers, not transport failures.
    shop->addFault({DemoShopFault::serverError, u"/products/12"_s, 1});
    EXPECT_EQ(
        test::errorOf<WooCommerceAPIError>([&] { api.fetchProduct(12); }, WooCommerceAPIError::invalidURL())
            .statusCode(),
        500);

    DemoShop closed;
    QUrl url(u"http://127.0.0.1"_s);
    url.setPort(closed.start(0));
    closed.stop();
    EXPECT_EQ(transportErrorOf([&] { client(url).fetchProduct(12); }).kind(),
              TransportError::Kind::connection);
}

// The Authorization header never leaves the configured origin.
TEST_F(QtHttpTransportTest, FollowsRedirectsOnlyWithinTheOrigin) {
    const auto api = client();
    shop->addFault({DemoShopFault::redirectAway, u"/products/12"_s, 1});
    EXPECT_EQ(
        test::errorOf<WooCommerceAPIError>([&] { api.fetchProduct(12); }, WooCommerceAPIError::invalidURL())
            .statusCode(),
        302);
    EXPECT_EQ(shop->requestCount(), 1);
    shop->addFault({DemoShopFault::redirectHere, u"/products/13"_s, 1});
    EXPECT_EQ(api.fetchProduct(13).stockQuantity, 0);
    const auto log = shop->requestLog();
    const auto moved = std::find_if(log.cbegin(), log.cend(), [](const DemoShopRequest& request) {
        return request.target == u"/wp-json/wc/v3/products/13?redirected=1";
    });
    ASSERT_NE(moved, log.cend());
    EXPECT_EQ(moved->authorization, u"Basic Y2tfZGVtbzpjc19kZW1v"_s);
}

TEST(TlsShopTest, RefusesAnUntrustedCertificateAndAcceptsATrustedOne) {
    test::useLanguage(AppLanguage::english);
    const QString openssl = QStandardPaths::findExecutable(u"openssl"_s);
    if (openssl.isEmpty()) {
        GTEST_SKIP() << "openssl is not installed";
    }
    QTemporaryDir dir;
    DemoShopOptions options;
    options.tlsCertificatePath = dir.filePath(u"shop.crt"_s);
    options.tlsKeyPath = dir.filePath(u"shop.key"_s);
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(openssl,
                  {u"req"_s, u"-x509"_s, u"-newkey"_s, u"rsa:2048"_s, u"-nodes"_s, u"-days"_s, u"2"_s,
                   u"-subj"_s, u"/CN=127.0.0.1"_s, u"-addext"_s, u"subjectAltName=IP:127.0.0.1"_s,
                   u"-keyout"_s, options.tlsKeyPath, u"-out"_s, options.tlsCertificatePath});
    ASSERT_TRUE(process.waitForFinished(60'000));
    ASSERT_EQ(process.exitCode(), 0);
    DemoShop shop(test::standardCatalog(), options);
    shop.start(0);
    ASSERT_EQ(shop.url().scheme(), u"https"_s);

    const auto api = [&](QtHttpTransport::Options transport) {
        return WooCommerceAPIClient(shop.url(), u"ck_demo"_s, u"cs_demo"_s,
                                    std::make_shared<QtHttpTransport>(std::move(transport)));
    };
    EXPECT_EQ(transportErrorOf([&] { api({}).fetchProduct(12); }).kind(), TransportError::Kind::tls);
    EXPECT_EQ(shop.requestCount(), 0);
    QFile certificate(options.tlsCertificatePath);
    ASSERT_TRUE(certificate.open(QIODevice::ReadOnly));
    QtHttpTransport::Options trusting;
    trusting.extraTrustedCertificates = QSslCertificate::fromData(certificate.readAll());
    EXPECT_EQ(api(trusting).fetchProduct(12).stockQuantity, 5);
}

} // namespace
} // namespace tallybrook
