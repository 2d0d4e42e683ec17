#include "UiTestSupport.h"

#include "demo-shop/DemoShop.h"
#include "app/TallybrookControlStore.h"
#include "document/TallybrookFileDecoder.h"
#include "export/InventoryCSVExportService.h"
#include "ui/components/ControlMetricTile.h"
#include "ui/components/ControlProcessingOverlay.h"
#include "ui/components/ControlStatusBadge.h"
#include "ui/components/ControlTable.h"
#include "ui/components/SearchField.h"
#include "ui/components/SegmentedPicker.h"
#include "ui/components/SymbolLabel.h"
#include "ui/pages/WooConnectionView.h"
#include "ui/pages/WooCorrectionsView.h"
#include "ui/pages/WooUpdateResultView.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace tallybrook::testing {

namespace {

/// The window in front of a demo shop seeded from the sample inventory, every fifth item's
/// store stock drifted away from the count's reference, and the first product missing.
class StoreWindowTest : public WindowTest {
protected:
    void SetUp() override {
        QFile sample(samplePath());
        ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
        const auto decoded = TallybrookFileDecoder().decodeInventoryDocumentWithValidation(sample.readAll());
        DemoCatalog catalog = DemoCatalog::fromDocument(decoded.document, {5, 0});
        catalog.products.removeFirst();
        shop = std::make_unique<DemoShop>(catalog);
        shop->start();
    }

    qsizetype puts() const {
        const QList<DemoShopRequest> log = shop->requestLog();
        return std::count_if(log.cbegin(), log.cend(), [](const DemoShopRequest& r) { return r.method == u"PUT"; });
    }

    qint64 tile(const WooCorrectionsView& page, int index) const {
        return page.tiles().at(index)->value().toLongLong();
    }

    /// Saves and tests the demo shop's connection on the connection page.
    void connectShop() {
        auto* page = show<WooConnectionView>(SidebarDestination::wooConnection);
        EXPECT_EQ(page->statusBadge()->title(), u"Non testée"_s);
        QTest::keyClicks(find<QLineEdit>(u"woo.url"_s), shop->url().toString());
        QTest::keyClicks(find<QLineEdit>(u"woo.consumerKey"_s), u"ck_demo"_s);
        QTest::keyClicks(find<QLineEdit>(u"woo.consumerSecret"_s), u"cs_demo"_s);
        find<QPushButton>(u"woo.save"_s)->click();
        EXPECT_TRUE(page->errorLine()->isHidden());
        find<QPushButton>(u"woo.testConnection"_s)->click();
        EXPECT_EQ(page->statusText()->text(), u"Test en cours"_s);
        ASSERT_TRUE(waitUntil([page] {
            return page->viewModel().validationState().kind != WooConnectionViewModel::ValidationState::Kind::testing;
        }));
        EXPECT_EQ(page->statusBadge()->title(), u"Connexion valide."_s);
        EXPECT_EQ(page->statusBadge()->tint(), Palette::green());
        // Secrets go to the secret store only.
        EXPECT_EQ(secrets->itemCount(), 2);
        EXPECT_FALSE(preferences->string(u"woocommerce.consumerSecret"_s).has_value());
    }

    WooCorrectionsView* reload() {
        auto* page = show<WooCorrectionsView>(SidebarDestination::wooCorrections);
        page->reloadButton()->click();
        EXPECT_TRUE(page->overlay()->isVisible());
        EXPECT_TRUE(waitUntil([page] { return !page->viewModel().isReloadingStocks(); }));
        EXPECT_FALSE(page->overlay()->isVisible());
        page->refreshIfStale();
        return page;
    }

    std::unique_ptr<DemoShop> shop;
};

} // namespace

TEST_F(StoreWindowTest, TheWholeRoadFromConnectionToResultSurvivesARestart) {
    open();
    ASSERT_TRUE(importFile(samplePath()));
    connectShop();
    WooCorrectionsView* page = reload();
    QAbstractItemModelTester tester(&page->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    const TallybrookControlStore& store = window->context().store;
    EXPECT_GT(tile(*page, 2), 0) << "drifted store stock is to be reviewed";
    const auto changed = std::find_if(store.corrections().cbegin(), store.corrections().cend(), [](const auto& p) {
        return p.status == WooCorrectionStatus::remoteStockChanged;
    });
    ASSERT_NE(changed, store.corrections().cend());
    EXPECT_TRUE(changed->currentRemoteQuantity.has_value());
    EXPECT_TRUE(find<SymbolLabel>(u"corrections.reloadedAt"_s)->text().startsWith(u"Relu "_s));

    // The missing product: the message line names the first problem, the details list them all.
    const qsizetype issues = page->viewModel().lastReloadReport()->issues.size();
    ASSERT_GE(issues, 1);
    EXPECT_FALSE(page->messageLine()->isHidden());
    EXPECT_FALSE(page->messageLine()->text().isEmpty());
    ASSERT_FALSE(page->detailsButton()->isHidden());
    page->detailsButton()->click();
    auto* details = find<QTableView>(u"corrections.detailsTable"_s);
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(details->model()->rowCount(), issues);
    details->window()->close();

    // Keep three ready rows selected, one of them with an adjusted proposal.
    CorrectionsModel& model = page->model();
    int kept = 0;
    for (int row = 0; row < model.rowCount(); ++row) {
        const WooCorrectionPreview& preview = store.corrections().at(model.storeIndex(row));
        if (preview.isSelected && ++kept > 3) {
            model.setData(model.index(row, CorrectionsModel::selection), Qt::Unchecked, Qt::CheckStateRole);
        }
        if (kept == 1 && preview.isSelected) {
            EXPECT_TRUE(model.setData(model.index(row, CorrectionsModel::proposed), u" 7 "_s));
            EXPECT_EQ(model.index(row, CorrectionsModel::proposed).data().toString(), u"7"_s);
        }
    }
    ASSERT_EQ(tile(*page, 1), 3);

    page->sendButton()->click();
    ASSERT_NE(page->confirmationDialog(), nullptr);
    page->confirmationDialog()->findChild<QPushButton*>(u"corrections.cancelButton"_s)->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(puts(), 0);
    EXPECT_TRUE(store.updateResults().isEmpty());

    page->sendButton()->click();
    page->confirmationDialog()->findChild<QPushButton*>(u"corrections.confirmButton"_s)->click();
    ASSERT_TRUE(waitUntil([page] { return !page->isSending(); }));
    EXPECT_EQ(puts(), 3);
    auto* result = show<WooUpdateResultView>(SidebarDestination::wooResult);
    EXPECT_EQ(result->model().rowCount(), 3);
    EXPECT_EQ(result->tiles().at(0)->value(), u"3"_s);
    EXPECT_EQ(result->tiles().at(1)->value(), u"0"_s);
    EXPECT_EQ(result->tiles().at(2)->value(), QString::number(store.corrections().size() - 3));
    nextSavePath = folder.filePath(u"report.csv"_s);
    result->exportButton()->click();
    EXPECT_TRUE(offeredSavePaths.constLast().endsWith(u"/tallybrook-rapport-envoi.csv"_s));
    QFile report(*nextSavePath);
    ASSERT_TRUE(report.open(QIODevice::ReadOnly));
    EXPECT_EQ(report.readAll(),
              InventoryCSVExportService::exportUpdateReportCSV(store.updateResults(), InventoryCSVDialect::frenchExcel));

    window.reset(); // the next start reopens the last import with its saved progress
    open();
    ASSERT_TRUE(waitUntil([this] { return window->context().store.hasDocument(); }));
    result = show<WooUpdateResultView>(SidebarDestination::wooResult);
    EXPECT_EQ(result->model().rowCount(), 3);
    show(SidebarDestination::wooConnection);
    EXPECT_EQ(find<QLineEdit>(u"woo.url"_s)->text(), shop->url().toString());
    EXPECT_EQ(find<QLineEdit>(u"woo.consumerKey"_s)->text(), u"ck_demo"_s);
    const auto& restored = window->context().store.corrections();
    EXPECT_EQ(std::count_if(restored.cbegin(), restored.cend(),
                            [](const auto& p) { return p.status == WooCorrectionStatus::sent; }),
              3);
}

TEST_F(StoreWindowTest, StoppingASendPartWayKeepsWhatWasSentAndTheToggleFollowsTheVisibleRows) {
    open();
    ASSERT_TRUE(importFile(samplePath()));
    connectShop();
    WooCorrectionsView* page = reload();

    // Nothing visible: the toggle offers to select and changes nothing.
    page->searchField()->setText(u"zzz-nothing"_s);
    EXPECT_EQ(page->toggleButton()->text(), u"Tout sélectionner"_s);
    const qint64 selected = tile(*page, 1);
    page->toggleButton()->click();
    EXPECT_EQ(tile(*page, 1), selected);
    page->searchField()->clear();
    ASSERT_GT(selected, 3);

    // One status shown, all of it selected: the toggle deselects. A switch turns with a click or
    // the space bar, and says where it stands.
    auto* status = find<QComboBox>(u"corrections.statusFilter"_s);
    EXPECT_EQ(status->itemText(0), u"Tous les statuts"_s);
    status->setCurrentIndex(status->findText(u"Prêt"_s));
    emit status->activated(status->currentIndex());
    const TallybrookControlStore& store = window->context().store;
    CorrectionsModel& model = page->model();
    EXPECT_EQ(model.rowCount(), std::count_if(store.corrections().cbegin(), store.corrections().cend(),
                                              [](const auto& p) { return p.status == WooCorrectionStatus::ready; }));
    ASSERT_GT(model.rowCount(), 0);
    EXPECT_EQ(page->toggleButton()->text(), u"Tout désélectionner"_s);
    auto* table = find<ControlTable>(u"corrections.table"_s);
    const QModelIndex first = model.index(0, CorrectionsModel::selection);
    QSignalSpy redrawn(&model, &QAbstractItemModel::dataChanged);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(first).center());
    EXPECT_EQ(tile(*page, 1), selected - 1);
    ASSERT_FALSE(redrawn.isEmpty()) << "the switched row is redrawn";
    EXPECT_EQ(redrawn.constLast().at(0).toModelIndex().row(), 0);
    EXPECT_EQ(first.data(Qt::AccessibleTextRole).toString(), u"Sélection: Désactivé"_s);
    EXPECT_EQ(page->toggleButton()->text(), u"Tout sélectionner"_s);
    table->setCurrentIndex(first);
    QTest::keyClick(table, Qt::Key_Space);
    EXPECT_EQ(tile(*page, 1), selected);
    EXPECT_EQ(first.data(Qt::AccessibleTextRole).toString(), u"Sélection: Activé"_s);
    status->setCurrentIndex(0);
    emit status->activated(0);

    shop->setLatency(std::chrono::milliseconds(150));
    page->sendButton()->click();
    page->confirmationDialog()->findChild<QPushButton*>(u"corrections.confirmButton"_s)->click();
    ASSERT_TRUE(waitUntil([page] { return page->viewModel().progressDone() >= 1; }));
    EXPECT_TRUE(page->overlay()->progressText().endsWith(u" / "_s + QString::number(selected)));
    find<QPushButton>(u"processingOverlay.stop"_s)->click();
    EXPECT_TRUE(find<QPushButton>(u"processingOverlay.stop"_s)->isHidden()) << "asked once";
    ASSERT_TRUE(waitUntil([page] { return !page->isSending(); }));
    const qsizetype sent = window->context().store.updateResults().size();
    EXPECT_GE(sent, 1);
    EXPECT_LT(sent, selected);
    EXPECT_EQ(puts(), sent);

    // Closing during a send asks first, then stops it and closes once its outcome is saved.
    page->sendButton()->click();
    page->confirmationDialog()->findChild<QPushButton*>(u"corrections.confirmButton"_s)->click();
    ASSERT_TRUE(waitUntil([page] { return page->viewModel().progressDone() >= 1; }));
    window->close();
    EXPECT_TRUE(window->isVisible());
    auto* question = window->findChild<QMessageBox*>(u"quit.sending"_s);
    ASSERT_NE(question, nullptr);
    question->findChild<QPushButton*>(u"quit.stopAndClose"_s)->click();
    ASSERT_TRUE(waitUntil([this] { return !window->isVisible(); }));
    const qsizetype sentAgain = window->context().store.updateResults().size();
    EXPECT_GE(sentAgain, 1);
    window.reset();
    open();
    ASSERT_TRUE(waitUntil([this] { return window->context().store.hasDocument(); }));
    EXPECT_EQ(window->context().store.updateResults().size(), sentAgain);
}

// The request mode chosen in the settings is stored and carries the next reload: include= reads.
TEST_F(StoreWindowTest, BatchesChosenInTheSettingsCarryTheNextReload) {
    open();
    ASSERT_TRUE(importFile(samplePath()));
    connectShop();
    show(SidebarDestination::settings);
    auto* picker = find<SegmentedPicker>(u"settings.requestMode"_s);
    EXPECT_EQ(picker->button(1)->text(), u"Par lots (plus rapide sur les grandes boutiques)"_s);
    picker->button(1)->click();
    EXPECT_EQ(preferences->string(u"com.tallybrook.control.woo-request-mode"_s), u"batch"_s);
    shop->clearRequestLog();
    reload();
    ASSERT_FALSE(shop->requestLog().isEmpty());
    EXPECT_TRUE(shop->requestLog().first().target.contains(u"include="_s));
}

} // namespace tallybrook::testing
