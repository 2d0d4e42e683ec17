// The command line's `reload` and `corrections --reload` against the demo shop seeded from the
// sample inventory, run as a user would run them.

#include "WooTestSupport.h"
#include "corrections/WooCorrectionRoad.h"
#include "document/TallybrookFileDecoder.h"
#include "woocommerce/WooCommerceConnector.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tallybrook {
namespace {

const QString cliPath = QStringLiteral(TALLYBROOK_BINARY_DIR "/tools/cli/tallybrook-cli");
const QString samplePath = QStringLiteral(TALLYBROOK_SOURCE_DIR "/samples/boutique-lumiere.tallybrook");

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

class ReloadCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::useLanguage(AppLanguage::english);
        if (!QFileInfo::exists(cliPath) || !QFileInfo::exists(samplePath)) {
            GTEST_SKIP() << "tallybrook-cli or the sample inventory is not there";
        }
        QFile file(samplePath);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        document = TallybrookFileDecoder().decodeInventoryDocumentWithValidation(file.readAll()).document;
        shop = std::make_unique<DemoShop>(DemoCatalog::fromDocument(document, DemoSeedOptions{4, 7}));
        shop->start(0);
    }

    CliRun run(const QStringList& arguments, bool withCredentials = true) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // A data folder of its own: the user's saved connection, if any, stays out of the runs.
        environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome.path());
        environment.remove(QStringLiteral("TALLYBROOK_WOO_CONSUMER_KEY"));
        environment.remove(QStringLiteral("TALLYBROOK_WOO_CONSUMER_SECRET"));
        if (withCredentials) {
            environment.insert(QStringLiteral("TALLYBROOK_WOO_CONSUMER_KEY"), QStringLiteral("ck_demo"));
            environment.insert(QStringLiteral("TALLYBROOK_WOO_CONSUMER_SECRET"), QStringLiteral("cs_demo"));
        }
        process.setProcessEnvironment(environment);
        process.start(cliPath, QStringList{QStringLiteral("--lang"), QStringLiteral("en")} + arguments);
        EXPECT_TRUE(process.waitForFinished(120'000));
        return CliRun{process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                      QString::fromUtf8(process.readAllStandardError())};
    }

    QString store() const { return shop->url().toString(); }

    QTemporaryDir dataHome;
    InventoryExportDocument document;
    std::unique_ptr<DemoShop> shop;
};

TEST_F(ReloadCommandTest, PrintsTheReloadSummary) {
    const auto expected =
        reloadSummary(WooCommerceConnector(shop->url(), QStringLiteral("ck_demo"), QStringLiteral("cs_demo"))
                          .fetchCurrentStocksWithReport(document));
    ASSERT_TRUE(expected.has_value()); // the seed leaves some items without stock
    EXPECT_TRUE(expected->contains(QStringLiteral("WooCommerce did not return a stock quantity")));
    shop->clearRequestLog();

    const auto reload = run({QStringLiteral("reload"), samplePath, QStringLiteral("--store"), store()});
    EXPECT_EQ(reload.exitCode, 0);
    EXPECT_EQ(reload.out, *expected + u'\n');
    EXPECT_GT(shop->requestCount(), 0);
    EXPECT_EQ(shop->connectionCount(), 2); // one for the reload above, one for the command

    const auto json = run(
        {QStringLiteral("reload"), samplePath, QStringLiteral("--store"), store(), QStringLiteral("--json")});
    EXPECT_EQ(json.exitCode, 0);
    EXPECT_TRUE(json.out.contains(QStringLiteral("\"requestedItemCount\"")));
}

TEST_F(ReloadCommandTest, CorrectionsAfterAReloadShowDriftedStock) {
    const auto plain = run({QStringLiteral("corrections"), samplePath});
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_FALSE(plain.out.contains(QStringLiteral("remoteStockChanged ")));
    EXPECT_EQ(shop->requestCount(), 0);

    const auto reloaded = run({QStringLiteral("corrections"), samplePath, QStringLiteral("--reload"),
                               QStringLiteral("--store"), store()});
    EXPECT_EQ(reloaded.exitCode, 0);
    EXPECT_TRUE(reloaded.out.contains(QStringLiteral("remoteStockChanged "))) << reloaded.out.toStdString();
    EXPECT_TRUE(reloaded.out.contains(QStringLiteral("stockNotManaged "))) << reloaded.out.toStdString();
    EXPECT_GT(shop->requestCount(), 0);
}

TEST_F(ReloadCommandTest, FailsWithoutAUsableConnection) {
    struct Case {
        QStringList arguments;
        bool credentials;
        QString error;
    };
    const Case cases[] = {
        {{QStringLiteral("--store"), QStringLiteral("ftp://127.0.0.1")},
         true,
         QStringLiteral("Invalid WooCommerce URL.")},
        {{QStringLiteral("--store"), QStringLiteral("shop.example")},
         true,
         QStringLiteral("Invalid WooCommerce URL.")},
        {{QStringLiteral("--store"), store()},
         false,
         QStringLiteral("WooCommerce connection is not configured.")},
        {{}, true, QStringLiteral("WooCommerce connection is not configured.")},
    };
    for (const Case& c : cases) {
        const auto result =
            run(QStringList{QStringLiteral("reload"), samplePath} + c.arguments, c.credentials);
        EXPECT_EQ(result.exitCode, 1) << c.arguments.join(u' ').toStdString();
        EXPECT_TRUE(result.err.contains(c.error)) << result.err.toStdString();
        EXPECT_TRUE(result.out.isEmpty());
    }
    EXPECT_EQ(run({QStringLiteral("corrections"), samplePath, QStringLiteral("--store"), store()}).exitCode,
              2);
    EXPECT_EQ(shop->requestCount(), 0);
}

} // namespace
} // namespace tallybrook
