// The shop goes away in the middle of a stock reload and in the middle of a send: connections
// refused, connections reset, answers that never come, 500 errors, a maintenance page instead
// of JSON. Every row must still get its issue or its failed result line, the run must finish,
// the progress must be saved (a restarted application sees it), and once the shop is back a
// later run must pick up what failed. The real road: the control store and the corrections view
// model over a preferences file, the real connector over HTTP, the demo shop on 127.0.0.1.

#include "DrillSupport.h"
#include "app/TallybrookControlStore.h"
#include "app/WooCorrectionsViewModel.h"
#include "demo-shop/DemoShop.h"
#include "storage/InMemorySecretStore.h"
#include "woocommerce/QtHttpTransport.h"
#include "woocommerce/WooCommerceConnector.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <mutex>
#include <thread>

namespace tallybrook::drills {

namespace {

/// How the shop goes away: the answer it gives instead of the normal one, for how many
/// requests (-1: until it comes back), and whether it also closes its door (connections
/// refused once it has stopped listening, cut until then).
struct Outage {
    const char* name;
    DemoShopFault fault;
    int requests;
    bool closesDoor;
};
void PrintTo(const Outage& outage, std::ostream* out) {
    *out << outage.name;
}

/// One field of every row, by record key (the identity that survives rebuilds and restarts).
template <typename Field> auto byKey(const QList<WooCorrectionPreview>& previews, Field field) {
    QHash<QString, decltype(field(previews.constFirst()))> values;
    for (const WooCorrectionPreview& preview : previews) {
        values.insert(WooCorrectionProgressStore::recordKey(preview), field(preview));
    }
    return values;
}

const auto stockOf = [](const WooCorrectionPreview& preview) { return preview.currentRemoteQuantity; };
const auto statusOf = [](const WooCorrectionPreview& preview) { return preview.status; };

class ShopOutageDrill : public ::testing::TestWithParam<Outage> {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        preferences_ = openPreferences(dir_.filePath(u"preferences.sqlite3"_s));
        ASSERT_NE(preferences_, nullptr);
        decoded_ = sample();
        shop_ = std::make_unique<DemoShop>(DemoCatalog::fromDocument(decoded_.document));
        port_ = shop_->start(0);
        shop_->setSlowAnswerDelay(std::chrono::seconds(2));
        credentials().save(shop_->url(), u"Demo"_s, u"ck_demo"_s, u"cs_demo"_s);
        store_ = std::make_unique<TallybrookControlStore>(preferences_);
        store_->adoptSession(store_->prepareSession(TallybrookDecodedInventory(decoded_), u"boutique-lumiere.tallybrook"_s));
        corrections_ = std::make_unique<WooCorrectionsViewModel>(*store_, credentials(), connectorFactory());
    }
    void TearDown() override { comeBack(); }

    WooCredentialStore credentials() const {
        return WooCredentialStore(preferences_,
                                  KeychainService(KeychainService::wooCommerceServiceName(), secrets_));
    }

    /// The real connector, with a time-out short enough for a drill.
    static CommerceConnectorFactory connectorFactory() {
        return [](const WooStoredCredentials& saved, WooRequestMode mode) -> std::shared_ptr<CommerceStockConnector> {
            QtHttpTransport::Options options;
            options.transferTimeout = std::chrono::milliseconds(300);
            return std::make_shared<WooCommerceConnector>(saved.storeURL, saved.consumerKey,
                                                          saved.consumerSecret,
                                                          std::make_shared<QtHttpTransport>(options), systemNow, mode);
        };
    }

    /// The shop goes away once it has answered `answered` more requests. The observer runs
    /// before the answer leaves, so the next request already meets the outage.
    void goAwayAfter(int answered) {
        auto count = std::make_shared<std::atomic<int>>(0);
        shop_->setRequestObserver([this, count, answered](const DemoShopRequest&) {
            if (++*count == answered) {
                shop_->addFault({GetParam().fault, {}, GetParam().requests});
                if (GetParam().closesDoor) {
                    const std::lock_guard lock(stopperMutex_);
                    stopper_ = std::thread([this] { shop_->stop(); });
                }
            }
        });
    }

    void comeBack() {
        shop_->setRequestObserver({});
        const std::lock_guard lock(stopperMutex_);
        if (stopper_.joinable()) {
            stopper_.join();
            shop_->start(port_);
        }
        shop_->clearFaults();
    }

    void reload() {
        run(&WooCorrectionsViewModel::reloadStocks, &WooCorrectionsViewModel::isReloadingStocks);
    }
    void send() { run(&WooCorrectionsViewModel::sendSelected, &WooCorrectionsViewModel::isSending); }
    void run(void (WooCorrectionsViewModel::*start)(), bool (WooCorrectionsViewModel::*busy)() const) {
        (corrections_.get()->*start)();
        ASSERT_TRUE(waitUntil([&] { return !(corrections_.get()->*busy)(); })) << "the run never ended";
    }

    /// The previews a restarted application shows for the same file.
    QList<WooCorrectionPreview> afterRestart() const {
        TallybrookControlStore restarted(SqlitePreferencesStore::open(preferences_->path()));
        restarted.adoptSession(restarted.prepareSession(TallybrookDecodedInventory(decoded_), std::nullopt));
        return restarted.corrections();
    }

    QTemporaryDir dir_;
    std::shared_ptr<SqlitePreferencesStore> preferences_;
    std::shared_ptr<InMemorySecretStore> secrets_ = std::make_shared<InMemorySecretStore>();
    TallybrookDecodedInventory decoded_;
    std::unique_ptr<DemoShop> shop_;
    int port_ = 0;
    std::mutex stopperMutex_;
    std::thread stopper_;
    std::unique_ptr<TallybrookControlStore> store_;
    std::unique_ptr<WooCorrectionsViewModel> corrections_;
};

} // namespace

TEST_P(ShopOutageDrill, EveryRowGetsItsOutcomeProgressIsSavedAndALaterRunPicksUp) {
    // Mid-reload: the items read before the outage have their stock, every other one its issue.
    goAwayAfter(4);
    reload();
    const QString summary = corrections_->errorMessage().value_or(QString());
    const auto counts =
        QRegularExpression(u"^(\\d+) WooCommerce stock\\(s\\) reloaded out of (\\d+)\\. .+: .+"_s)
            .match(summary);
    ASSERT_TRUE(counts.hasMatch()) << summary.toStdString();
    EXPECT_GT(counts.captured(1).toInt(), 0);
    EXPECT_LT(counts.captured(1).toInt(), counts.captured(2).toInt());
    EXPECT_EQ(byKey(afterRestart(), stockOf), byKey(store_->corrections(), stockOf))
        << "the stock read before the outage was not saved";
    comeBack();
    reload();
    EXPECT_EQ(corrections_->errorMessage(), std::nullopt) << "the later reload did not read every item";

    // Mid-send: one result line per selected row, sent before the outage, failed after it.
    QList<WooCorrectionPreview> selected;
    std::copy_if(store_->corrections().cbegin(), store_->corrections().cend(), std::back_inserter(selected),
                 [](const WooCorrectionPreview& preview) { return preview.isSelected; });
    ASSERT_GE(selected.size(), 6);
    goAwayAfter(6); // three rows, each read again, then written
    send();
    ASSERT_EQ(store_->updateResults().size(), selected.size());
    qsizetype failures = 0;
    for (const WooUpdateResultLine& line : store_->updateResults()) {
        failures += line.success ? 0 : 1;
        EXPECT_FALSE(line.message.value_or(QString()).isEmpty());
    }
    EXPECT_GE(failures, 1);
    EXPECT_LE(failures, selected.size() - 3);
    const auto outcome = byKey(store_->corrections(), statusOf);
    const auto restarted = byKey(afterRestart(), statusOf);
    for (const WooCorrectionPreview& row : selected) {
        const QString key = WooCorrectionProgressStore::recordKey(row);
        EXPECT_TRUE(outcome[key] == WooCorrectionStatus::sent || outcome[key] == WooCorrectionStatus::failed);
        EXPECT_EQ(restarted[key], outcome[key]) << "the send's outcome was not saved";
    }

    // The shop is back: a reload and a send finish the job, sending only what failed (a
    // time-out may still have let its update land, and then there is nothing left to send).
    comeBack();
    reload();
    send();
    EXPECT_LE(store_->updateResults().size(), failures);
    for (const WooUpdateResultLine& line : store_->updateResults()) {
        EXPECT_TRUE(line.success) << line.message.value_or(QString()).toStdString();
    }
    const auto finished = byKey(store_->corrections(), statusOf);
    for (const WooCorrectionPreview& row : selected) {
        EXPECT_NE(finished[WooCorrectionProgressStore::recordKey(row)], WooCorrectionStatus::failed)
            << "the later run did not pick up " << row.itemName.toStdString();
        const auto variation =
            row.externalVariantId ? std::optional(row.externalVariantId->toLongLong()) : std::nullopt;
        EXPECT_EQ(shop_->stock(row.externalProductId->toLongLong(), variation), row.proposedQuantity);
    }
}

// A time-out costs the transport's whole wait, so that outage lasts only a few requests.
INSTANTIATE_TEST_SUITE_P(
    Drills, ShopOutageDrill,
    ::testing::Values(Outage{"ConnectionRefused", DemoShopFault::dropConnection, -1, true},
                      Outage{"ConnectionReset", DemoShopFault::dropConnection, -1, false},
                      Outage{"Timeout", DemoShopFault::slowAnswer, 3, false},
                      Outage{"ServerError", DemoShopFault::serverError, -1, false},
                      Outage{"HtmlInsteadOfJson", DemoShopFault::notJson, -1, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace tallybrook::drills
