// The command line's `reload` and `corrections --reload` against the demo shop seeded from the
// sample inventory, run as a user would run them.

#include "WooTestSupport.h"
#include "corrections/WooCorrectionBuilder.h"
#include "corrections/WooCorrectionRoad.h"
#include "document/TallybrookFileDecoder.h"
#include "woocommerce/WooCommerceConnector.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
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
        startShop({});
    }

    void startShop(const DemoShopOptions& options) {
        if (shop) {
            shop->stop();
        }
        shop =
            std::make_unique<DemoShop>(DemoCatalog::fromDocument(document, DemoSeedOptions{4, 7}), options);
        shop->start(0);
    }

    // The first 16 rows of the sample, as a file of their own.
    QString sixteenRowFile() {
        QFile file(samplePath);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        QJsonObject json = QJsonDocument::fromJson(file.readAll()).object();
        QJsonArray rows = json.value(QLatin1StringView("rows")).toArray();
        while (rows.size() > 16) {
            rows.removeLast();
        }
        json.insert(QStringLiteral("rows"), rows);
        const QString path = dataHome.filePath(QStringLiteral("sixteen.tallybrook"));
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(QJsonDocument(json).toJson());
        return path;
    }

    qsizetype puts() const {
        qsizetype count = 0;
        for (const DemoShopRequest& request : shop->requestLog()) {
            count += request.method == u"PUT" ? 1 : 0;
        }
        return count;
    }

    CliRun run(const QStringList& arguments, bool withCredentials = true,
               const QString& secret = QStringLiteral("cs_demo")) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // A data folder of its own: the user's saved connection, if any, stays out of the runs.
        environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome.path());
        environment.remove(QStringLiteral("TALLYBROOK_WOO_CONSUMER_KEY"));
        environment.remove(QStringLiteral("TALLYBROOK_WOO_CONSUMER_SECRET"));
        if (withCredentials) {
            environment.insert(QStringLiteral("TALLYBROOK_WOO_CONSUMER_KEY"), QStringLiteral("ck_demo"));
            environment.insert(QStringLiteral("TALLYBROOK_WOO_CONSUMER_SECRET"), secret);
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

TEST_F(ReloadCommandTest, AWrongStoreAddressGivesShortMessages) {
    const QString sixteen = sixteenRowFile();
    const QString wrong = store() + QStringLiteral("/shop");
    const auto line = run({QStringLiteral("reload"), sixteen, QStringLiteral("--store"), wrong});
    EXPECT_EQ(line.exitCode, 0);
    EXPECT_TRUE(line.out.contains(QStringLiteral("an HTML page, not the WooCommerce API")))
        << line.out.toStdString();
    EXPECT_LT(line.out.size(), 500);
    const auto json =
        run({QStringLiteral("reload"), sixteen, QStringLiteral("--store"), wrong, QStringLiteral("--json")});
    const QJsonObject report = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(report.value(QLatin1StringView("issues")).toArray().size(),
              report.value(QLatin1StringView("requestedItemCount")).toInteger());
    EXPECT_EQ(report.value(QLatin1StringView("requestedItemCount")).toInteger(), 16);
    EXPECT_LT(json.out.toUtf8().size(), 20'000);
}

TEST_F(ReloadCommandTest, VerboseListsEveryIssueAndJsonDatesAreIso) {
    const auto reload = run({QStringLiteral("reload"), samplePath, QStringLiteral("--store"), store(),
                             QStringLiteral("--json"), QStringLiteral("--verbose")});
    const QJsonObject report = QJsonDocument::fromJson(reload.out.toUtf8()).object();
    const QJsonArray issues = report.value(QLatin1StringView("issues")).toArray();
    ASSERT_FALSE(issues.isEmpty());
    QString expected;
    for (const QJsonValue issue : issues) {
        const QJsonObject fields = issue.toObject();
        expected += QStringLiteral("issue: ") +
                    fields.value(QLatin1StringView("externalProductId")).toString() + u':' +
                    fields.value(QLatin1StringView("externalVariantId")).toString() + u' ' +
                    fields.value(QLatin1StringView("itemName")).toString() + QStringLiteral(": ") +
                    fields.value(QLatin1StringView("message")).toString() + u'\n';
    }
    EXPECT_EQ(reload.err, expected);
    const QRegularExpression iso(QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ$)"));
    for (const QJsonValue level : report.value(QLatin1StringView("levels")).toArray()) {
        EXPECT_TRUE(iso.match(level.toObject().value(QLatin1StringView("fetchedAt")).toString()).hasMatch());
    }
}

TEST_F(ReloadCommandTest, ARefusedSecretMakesOneRequestPerRun) {
    for (const QString& command : {QStringLiteral("reload"), QStringLiteral("send")}) {
        shop->clearRequestLog();
        const auto result =
            run({command, samplePath, QStringLiteral("--store"), store()}, true, QStringLiteral("no"));
        EXPECT_EQ(shop->requestCount(), 1) << command.toStdString();
        EXPECT_TRUE(result.out.contains(QStringLiteral("Consumer secret is invalid.")) ||
                    result.err.contains(QStringLiteral("Consumer secret is invalid.")));
        EXPECT_EQ(result.exitCode, command == u"send" ? 1 : 0);
    }
}

TEST_F(ReloadCommandTest, SendDryRunListsTheCorrectionsAndSendsNothing) {
    const auto dry = run({QStringLiteral("send"), samplePath, QStringLiteral("--store"), store(),
                          QStringLiteral("--dry-run")});
    EXPECT_EQ(dry.exitCode, 0);
    const QStringList lines = dry.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_GT(lines.size(), 1);
    EXPECT_EQ(lines.last(), QString::number(lines.size() - 1) + QStringLiteral(" to send (dry run)"));
    EXPECT_TRUE(lines.first().contains(QStringLiteral(" -> "))) << lines.first().toStdString();
    EXPECT_GT(shop->requestCount(), 0);
    EXPECT_EQ(puts(), 0);
}

TEST_F(ReloadCommandTest, SendReportsEveryLineAndFailsWhenOneFails) {
    // The shop refuses the stock of the first row the send will update.
    const auto previews = WooCorrectionBuilder().buildPreviews(
        document, WooCommerceConnector(shop->url(), QStringLiteral("ck_demo"), QStringLiteral("cs_demo"))
                      .fetchCurrentStocksWithReport(document)
                      .levels);
    const auto first = std::find_if(previews.cbegin(), previews.cend(), isSendable);
    ASSERT_NE(first, previews.cend());
    const qsizetype toSend = std::count_if(previews.cbegin(), previews.cend(), isSendable);
    shop->addFault(
        {DemoShopFault::serverError,
         first->externalVariantId ? u'/' + *first->externalVariantId : u'/' + *first->externalProductId, -1,
         QStringLiteral("PUT")});
    const auto sent = run({QStringLiteral("send"), samplePath, QStringLiteral("--store"), store(),
                           QStringLiteral("--report"), QStringLiteral("-"), QStringLiteral("--dialect"),
                           QStringLiteral("standard")});
    EXPECT_EQ(sent.exitCode, 1);
    const QStringList csv = sent.out.split(u'\n');
    EXPECT_EQ(csv.size(), toSend + 1);
    EXPECT_EQ(csv.filter(QRegularExpression(QStringLiteral("^1,"))).size(), toSend - 1);
    EXPECT_TRUE(
        csv.at(1).startsWith(QStringLiteral("0,") + first->itemName + u',' + *first->externalProductId))
        << csv.at(1).toStdString();
    EXPECT_TRUE(csv.at(1).contains(QStringLiteral("WooCommerce error 500")));
    EXPECT_TRUE(sent.err.endsWith(QString::number(toSend - 1) + QStringLiteral(" sent, 1 failed\n")))
        << sent.err.toStdString();
    EXPECT_EQ(puts(), toSend);
}

TEST_F(ReloadCommandTest, SendWithAReadOnlyKeyMakesOnePut) {
    DemoShopOptions options;
    options.keyPermissions = DemoKeyPermissions::read;
    startShop(options);
    const auto sent = run({QStringLiteral("send"), samplePath, QStringLiteral("--store"), store()});
    EXPECT_EQ(sent.exitCode, 1);
    EXPECT_EQ(puts(), 1);
    EXPECT_TRUE(sent.out.startsWith(QStringLiteral("0 sent, "))) << sent.out.toStdString();
    EXPECT_TRUE(sent.err.contains(QStringLiteral("does not have write permissions")))
        << sent.err.toStdString();
}

} // namespace
} // namespace tallybrook
