// The commands that talk to a shop (`reload`, `corrections --reload`, `send`) run as a user
// runs them, against the demo shop seeded from the sample inventory.

#include "CliTestSupport.h"
#include "corrections/WooCorrectionBuilder.h"
#include "corrections/WooCorrectionRoad.h"
#include "document/TallybrookFileDecoder.h"
#include "woocommerce/WooCommerceConnector.h"
#include "woocommerce/WooTestSupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tallybrook {
namespace {

using namespace Qt::StringLiterals;

const QString& sample = test::sampleInventory;

class CliShopCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::useLanguage(AppLanguage::english);
        QFile file(sample);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        document = TallybrookFileDecoder().decodeInventoryDocumentWithValidation(file.readAll()).document;
        startShop({});
    }

    void startShop(const DemoShopOptions& options) {
        shop =
            std::make_unique<DemoShop>(DemoCatalog::fromDocument(document, DemoSeedOptions{4, 7}), options);
        shop->start(0);
    }

    /// Runs `COMMAND FILE --store SHOP ARGUMENTS...` in English with the given secret.
    test::CliRun run(const QString& command, const QStringList& arguments = {}, const QString& file = sample,
                     const QString& secret = u"cs_demo"_s) {
        return test::runCli(dataHome.path(), QStringList{u"--lang"_s, u"en"_s, command, file} + arguments,
                            std::pair(u"ck_demo"_s, secret));
    }
    QStringList atShop(QStringList arguments = {}) const {
        return QStringList{u"--store"_s, store()} + arguments;
    }
    QString store() const { return shop->url().toString(); }

    qsizetype puts() const {
        const auto log = shop->requestLog();
        return std::count_if(log.cbegin(), log.cend(),
                             [](const DemoShopRequest& r) { return r.method == u"PUT"; });
    }

    QTemporaryDir dataHome;
    InventoryExportDocument document;
    std::unique_ptr<DemoShop> shop;
};

TEST_F(CliShopCommandsTest, ReloadPrintsTheSummaryAndCorrectionsFollowTheShop) {
    const auto expected = reloadSummary(
        WooCommerceConnector(shop->url(), u"ck_demo"_s, u"cs_demo"_s).fetchCurrentStocksWithReport(document));
    ASSERT_TRUE(expected.has_value()); // the seed leaves some items without stock
    const auto reload = run(u"reload"_s, atShop());
    EXPECT_EQ(reload.outText(), *expected + u'\n');
    EXPECT_EQ(reload.exitCode, 0); // some quantities were read
    EXPECT_EQ(shop->connectionCount(), 2); // one for the reload above, one for the command
    EXPECT_EQ(run(u"reload"_s, atShop({u"--batch"_s})).outText(), *expected + u'\n');

    const qint64 requests = shop->requestCount();
    EXPECT_FALSE(run(u"corrections"_s).outText().contains(u"remoteStockChanged "_s));
    EXPECT_EQ(shop->requestCount(), requests);
    const auto reloaded = run(u"corrections"_s, atShop({u"--reload"_s}));
    EXPECT_EQ(reloaded.exitCode, 0);
    EXPECT_TRUE(reloaded.outText().contains(u"remoteStockChanged "_s));
    EXPECT_TRUE(reloaded.outText().contains(u"stockNotManaged "_s));
}

TEST_F(CliShopCommandsTest, FailsWithoutAUsableConnection) {
    const std::tuple<QStringList, bool, QString> cases[] = {
        {{u"--store"_s, u"ftp://127.0.0.1"_s}, true, u"Invalid WooCommerce URL."_s},
        {{u"--store"_s, store()}, false, u"WooCommerce connection is not configured."_s},
        {{}, true, u"WooCommerce connection is not configured."_s},
    };
    for (const auto& [arguments, credentials, error] : cases) {
        for (const QString& command : {u"reload"_s, u"send"_s}) {
            const auto result = test::runCli(
                dataHome.path(), QStringList{u"--lang"_s, u"en"_s, command, sample} + arguments,
                credentials ? std::optional(std::pair(u"ck_demo"_s, u"cs_demo"_s)) : std::nullopt);
            EXPECT_EQ(result.exitCode, 1) << arguments.join(u' ').toStdString();
            EXPECT_EQ(result.errText(), error + u'\n');
            EXPECT_TRUE(result.out.isEmpty());
        }
    }
    EXPECT_EQ(run(u"corrections"_s, atShop()).exitCode, 2); // --store goes with --reload
    EXPECT_EQ(shop->requestCount(), 0);
}

// The first request meets WordPress's themed 404 page (some 50 kB): the run stops there, the
// message names the page in a few words, and a reload that read nothing fails.
TEST_F(CliShopCommandsTest, AWrongStoreAddressGivesShortMessages) {
    const QStringList wrong{u"--store"_s, store() + u"/shop"_s};
    const auto line = run(u"reload"_s, wrong);
    EXPECT_EQ(line.exitCode, 1);
    EXPECT_EQ(shop->requestCount(), 1);
    EXPECT_TRUE(line.errText().contains(u"an HTML page, not the WooCommerce API"_s)) << line.err.toStdString();
    EXPECT_LT(line.errText().size(), 500);
    const QJsonObject report = QJsonDocument::fromJson(run(u"reload"_s, wrong + QStringList{u"--json"_s}).out).object();
    const QJsonArray issues = report.value(QLatin1StringView("issues")).toArray();
    EXPECT_GE(issues.size(), report.value(QLatin1StringView("requestedItemCount")).toInteger());
    EXPECT_GT(issues.size(), 16);
    for (const QJsonValue issue : issues) {
        EXPECT_LT(issue.toObject().value(QLatin1StringView("message")).toString().size(), 200);
    }
}

TEST_F(CliShopCommandsTest, VerboseListsEveryIssueAndJsonDatesAreIso) {
    const auto reload = run(u"reload"_s, atShop({u"--json"_s, u"--verbose"_s}));
    const QJsonObject report = QJsonDocument::fromJson(reload.out).object();
    const QJsonArray issues = report.value(QLatin1StringView("issues")).toArray();
    ASSERT_FALSE(issues.isEmpty());
    QString expected;
    for (const QJsonValue issue : issues) {
        const auto field = [&](const char* key) {
            return issue.toObject().value(QLatin1StringView(key)).toString();
        };
        expected += u"issue: "_s + field("externalProductId") + u':' + field("externalVariantId") + u' ' +
                    field("itemName") + u": "_s + field("message") + u'\n';
    }
    EXPECT_EQ(reload.errText(), expected);
    const QRegularExpression iso(uR"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ$)"_s);
    for (const QJsonValue level : report.value(QLatin1StringView("levels")).toArray()) {
        EXPECT_TRUE(iso.match(level.toObject().value(QLatin1StringView("fetchedAt")).toString()).hasMatch());
    }
}

// A refused secret stops a run after its first request, a read-only key a send after its first
// update; only the first failure is printed (--verbose would list them all).
TEST_F(CliShopCommandsTest, ARefusedKeyStopsTheRunAtTheFirstRefusal) {
    const std::tuple<QString, QString, DemoKeyPermissions, int, QString> cases[] = {
        {u"reload"_s, u"wrong"_s, DemoKeyPermissions::readWrite, 1, u"Consumer secret is invalid."_s},
        {u"send"_s, u"wrong"_s, DemoKeyPermissions::readWrite, 1, u"Consumer secret is invalid."_s},
        {u"send"_s, u"cs_demo"_s, DemoKeyPermissions::read, 1, u"does not have write permissions"_s},
    };
    for (const auto& [command, secret, permissions, exitCode, refusal] : cases) {
        SCOPED_TRACE(command.toStdString() + " " + secret.toStdString());
        DemoShopOptions options;
        options.keyPermissions = permissions;
        startShop(options);
        const auto result = run(command, atShop(), sample, secret);
        EXPECT_EQ(result.exitCode, exitCode);
        EXPECT_EQ(permissions == DemoKeyPermissions::read ? puts() : shop->requestCount(), 1);
        EXPECT_EQ(QString(result.outText() + result.errText()).count(refusal), 1) << result.err.toStdString();
    }
}

TEST_F(CliShopCommandsTest, SendListsOrSendsTheReadyRowsAndFailsWhenOneFails) {
    const auto previews = WooCorrectionBuilder().buildPreviews(
        document, WooCommerceConnector(shop->url(), u"ck_demo"_s, u"cs_demo"_s)
                      .fetchCurrentStocksWithReport(document)
                      .levels);
    const qsizetype toSend = std::count_if(previews.cbegin(), previews.cend(), isSendable);
    const auto first = std::find_if(previews.cbegin(), previews.cend(), isSendable);
    ASSERT_NE(first, previews.cend());

    const auto dry = run(u"send"_s, atShop({u"--dry-run"_s}));
    EXPECT_EQ(dry.exitCode, 0);
    const QStringList listed = dry.outText().split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(listed.size(), toSend + 1);
    EXPECT_EQ(listed.first(), *first->externalProductId + u':' +
                                  first->externalVariantId.value_or(QString()) + u' ' + first->itemName +
                                  u": "_s + QString::number(*first->currentRemoteQuantity) + u" -> "_s +
                                  QString::number(*first->proposedQuantity));
    EXPECT_EQ(listed.last(), QString::number(toSend) + u" to send (dry run)"_s);
    const qsizetype correctable = std::count_if(previews.cbegin(), previews.cend(), [](const auto& preview) {
        return isManuallyCorrectable(preview.status) && preview.proposedQuantity;
    });
    ASSERT_GT(correctable, toSend);
    EXPECT_TRUE(run(u"send"_s, atShop({u"--dry-run"_s, u"--select"_s, u"all-correctable"_s}))
                    .outText()
                    .endsWith(u'\n' + QString::number(correctable) + u" to send (dry run)\n"_s));
    EXPECT_EQ(puts(), 0);

    // The shop refuses the first row the send updates; the others go through.
    shop->addFault({DemoShopFault::serverError,
                    u'/' + first->externalVariantId.value_or(*first->externalProductId), -1, u"PUT"_s});
    const auto sent = run(u"send"_s, atShop({u"--report"_s, u"-"_s, u"--dialect"_s, u"standard"_s}));
    EXPECT_EQ(sent.exitCode, 1);
    const QStringList csv = sent.outText().split(u'\n');
    ASSERT_EQ(csv.size(), toSend + 1);
    EXPECT_EQ(csv.filter(QRegularExpression(u"^1,"_s)).size(), toSend - 1);
    EXPECT_TRUE(csv.at(1).startsWith(u"0,"_s + first->itemName + u',' + *first->externalProductId))
        << csv.at(1).toStdString();
    EXPECT_TRUE(csv.at(1).contains(u"WooCommerce error 500"_s));
    EXPECT_TRUE(sent.errText().endsWith(QString::number(toSend - 1) + u" sent, 1 failed\n"_s))
        << sent.err.toStdString();
    EXPECT_EQ(puts(), toSend);
}

// The same shop gives the same send report in both modes (dates aside).
TEST_F(CliShopCommandsTest, SendInBatchesReportsLikeOneByOne) {
    QStringList reports;
    for (const QStringList& mode : {QStringList{}, QStringList{u"--batch"_s}}) {
        startShop({});
        const auto sent = run(u"send"_s, atShop(mode + QStringList{u"--report"_s, u"-"_s, u"--dialect"_s, u"standard"_s}));
        EXPECT_EQ(sent.exitCode, 0) << sent.err.toStdString();
        reports.append(sent.outText().remove(QRegularExpression(u"\\d{4}-\\d\\d-\\d\\dT[0-9:.]+Z"_s)));
    }
    EXPECT_GT(reports[0].count(u'\n'), 5);
    EXPECT_EQ(reports[1], reports[0]);
}

} // namespace
} // namespace tallybrook
