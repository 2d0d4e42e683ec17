#include "UiTestSupport.h"

#include "app/TallybrookControlStore.h"
#include "export/InventoryCSVExportService.h"
#include "localization/AppSettings.h"
#include "ui/components/ControlMetricTile.h"
#include "ui/components/ControlPageHeader.h"
#include "ui/components/SearchField.h"
#include "ui/components/SegmentedPicker.h"
#include "ui/components/SymbolLabel.h"
#include "ui/pages/CSVExportView.h"
#include "ui/pages/ImportView.h"
#include "ui/pages/InventoryDashboardView.h"
#include "ui/pages/InventoryPageView.h"
#include "ui/pages/InventoryRowsView.h"
#include "ui/shell/SidebarView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QTest>

namespace tallybrook::testing {

namespace {

QString sidebarText(const SidebarView& sidebar, SidebarDestination destination) {
    return sidebar.item(destination)->text();
}

QString inventoryHeading(const SidebarView& sidebar) {
    return sidebar.findChild<QLabel*>(u"sidebar.heading.inventory"_s)->text();
}

} // namespace

TEST_F(WindowTest, WithoutInventoryEveryInventoryPageShowsTheEmptyStateAndThePickerIsOff) {
    open();
    EXPECT_EQ(window->sidebar()->selection(), SidebarDestination::importInventory);
    const QComboBox* picker = window->sidebar()->locationPicker();
    EXPECT_FALSE(picker->isEnabled());
    EXPECT_EQ(picker->currentText(), u"Tous les emplacements"_s);
    for (const SidebarDestination destination :
         {SidebarDestination::dashboard, SidebarDestination::rows, SidebarDestination::differences,
          SidebarDestination::unknownCodes, SidebarDestination::temporaryItems}) {
        EXPECT_TRUE(show<InventoryPageView>(destination)->showsEmptyState()) << rawValue(destination).toStdString();
    }
    show(SidebarDestination::importInventory);
    EXPECT_EQ(window->findChild<ImportView*>()->findChild<QLabel*>(u"header.subtitle"_s)->text(),
              u"Aucun fichier chargé"_s);
    show(SidebarDestination::csvCorrections);
    EXPECT_FALSE(find<QPushButton>(u"csv.export"_s)->isEnabled());
    show(SidebarDestination::wooCorrections);
    EXPECT_FALSE(find<QPushButton>(u"corrections.reload"_s)->isEnabled());
    show(SidebarDestination::settings);
    EXPECT_TRUE(find<SegmentedPicker>(u"settings.requestMode"_s)->button(0)->isChecked());
}

TEST_F(WindowTest, ADroppedFileImportsOffTheMainThreadAndAFailureLeavesTheInventoryAsItWas) {
    open();
    InventoryImportViewModel& importer = window->context().importer;
    auto* dropZone = window->findChild<DropZone*>();
    // Only a file of this computer is taken; anything else is refused and starts nothing.
    for (const QUrl& url : {QUrl(u"https://example.com/stock.tallybrook"_s), QUrl::fromLocalFile(samplePath())}) {
        const bool local = url.isLocalFile();
        QMimeData mime;
        mime.setUrls({url});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(dropZone, &enter);
        EXPECT_EQ(enter.isAccepted(), local);
        EXPECT_EQ(dropZone->headline(), local ? u"Relâcher pour importer"_s : u"Déposer un fichier .tallybrook"_s);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(dropZone, &drop);
        EXPECT_EQ(importer.isImporting(), local);
    }
    ASSERT_TRUE(waitUntil([&] { return !importer.isImporting(); }));
    auto* store = &window->context().store;
    const auto document = store->document();
    ASSERT_EQ(document->rows.size(), 56);
    EXPECT_TRUE(window->sidebar()->locationPicker()->isEnabled());
    EXPECT_EQ(window->sidebar()->locationPicker()->count(), 1 + store->inventoryLocations().size());

    const QString bad = folder.filePath(u"notes.tallybrook"_s);
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is not JSON");
    file.close();
    ASSERT_TRUE(importer.startImport(bad));
    EXPECT_FALSE(importer.startImport(samplePath())) << "a second import while one runs is ignored";
    EXPECT_EQ(window->findChild<DropZone*>()->headline(), u"Import en cours"_s);
    ASSERT_TRUE(waitUntil([&] { return !importer.isImporting(); }));
    EXPECT_EQ(store->document(), document);
    auto* error = find<SymbolLabel>(u"import.error"_s);
    show(SidebarDestination::importInventory);
    EXPECT_TRUE(error->isVisibleTo(window.get()));
    EXPECT_TRUE(error->text().startsWith(u"Format Tallybrook invalide"_s)) << error->text().toStdString();
    EXPECT_EQ(window->findChild<DropZone*>()->headline(), u"Déposer un fichier .tallybrook"_s);
}

TEST_F(WindowTest, ChoosingALanguageRenamesTheWholeWindowAtOnceAndIsStored) {
    startupFile = samplePath(); // as given on the command line
    open();
    ASSERT_TRUE(waitUntil([this] { return window->context().store.hasDocument(); }));
    // Shown again, as after a minimise, the window imports nothing more.
    window->hide();
    window->show();
    EXPECT_FALSE(window->context().importer.isImporting());
    const SidebarView& sidebar = *window->sidebar();
    EXPECT_EQ(inventoryHeading(sidebar), u"Inventaire"_s);
    EXPECT_EQ(sidebarText(sidebar, SidebarDestination::dashboard), u"Synthèse"_s);
    auto* dashboard = show<InventoryDashboardView>(SidebarDestination::dashboard);
    EXPECT_TRUE(dashboard->header()->subtitle().startsWith(u"18 mars 2024"_s))
        << dashboard->header()->subtitle().toStdString();

    show(SidebarDestination::settings);
    find<SegmentedPicker>(u"settings.language"_s)->button(2)->click();
    EXPECT_EQ(preferences->string(u"com.tallybrook.control.language"_s), u"en"_s);
    EXPECT_EQ(inventoryHeading(sidebar), u"Inventory"_s);
    EXPECT_EQ(sidebarText(sidebar, SidebarDestination::dashboard), u"Overview"_s);
    EXPECT_EQ(sidebar.locationPicker()->toolTip(),
              u"Filters inventory rows, differences and unknown codes."_s);
    EXPECT_EQ(sidebar.locationPicker()->itemText(0), u"All locations"_s);
    EXPECT_EQ(sidebar.list(SidebarDestination::settings)->accessibleName(), u"Settings"_s);
    EXPECT_EQ(dashboard->tiles().at(1)->title(), u"Counted items"_s);
    EXPECT_EQ(window->menuBar()->actions().constFirst()->text(), u"File"_s);
    show(SidebarDestination::dashboard);
    EXPECT_TRUE(dashboard->header()->subtitle().startsWith(u"Mar 18, 2024"_s))
        << dashboard->header()->subtitle().toStdString();
    EXPECT_EQ(window->locale().name(), u"en_US"_s);
}

TEST_F(WindowTest, BothCsvDestinationsShowTheSamePageWithTheirKind) {
    open();
    ASSERT_TRUE(importFile(samplePath()));
    auto* differences = show<CSVExportView>(SidebarDestination::csvDifferences);
    EXPECT_EQ(differences->kind(), CSVExportKind::differences);
    EXPECT_EQ(find<SymbolLabel>(u"csv.fileName"_s)->text(), u"tallybrook-ecarts.csv"_s);
    auto* corrections = show<CSVExportView>(SidebarDestination::csvCorrections);
    EXPECT_EQ(corrections, differences);
    EXPECT_EQ(corrections->kind(), CSVExportKind::corrections);
    EXPECT_EQ(corrections->header()->title(), u"CSV corrections"_s);
    EXPECT_EQ(find<SymbolLabel>(u"csv.fileName"_s)->text(), u"tallybrook-corrections.csv"_s);
    EXPECT_TRUE(corrections->exportButton()->isEnabled());
    nextSavePath = folder.filePath(u"corrections.csv"_s);
    corrections->exportButton()->click();
    QFile written(*nextSavePath);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), InventoryCSVExportService::exportCorrectionsCSV(window->context().store.corrections(),
                                                                                InventoryCSVDialect::frenchExcel));

    // An inventory without rows has nothing to correct: the corrections export stays off.
    ASSERT_TRUE(importFile(QStringLiteral(TALLYBROOK_SOURCE_DIR "/tests/fixtures/minimal.tallybrook")));
    show(SidebarDestination::csvCorrections);
    EXPECT_FALSE(corrections->exportButton()->isEnabled());
    show(SidebarDestination::csvDifferences);
    EXPECT_TRUE(differences->exportButton()->isEnabled());
}

TEST_F(WindowTest, KeyboardReachesThePagesAndTheirSearch) {
    open();
    ASSERT_TRUE(importFile(samplePath()));
    QListWidget* list = window->sidebar()->list(SidebarDestination::importInventory);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down); // over the section boundary, the location filter is no arrow stop
    EXPECT_EQ(window->sidebar()->selection(), SidebarDestination::dashboard);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(window->sidebar()->selection(), SidebarDestination::rows);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(window->sidebar()->selection(), SidebarDestination::importInventory);
    // A click that would leave no row selected keeps the page and its row.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualItemRect(window->sidebar()->item(SidebarDestination::importInventory)).center());
    EXPECT_EQ(window->sidebar()->selection(), SidebarDestination::importInventory);
    EXPECT_EQ(list->selectedItems().size(), 1);

    auto* rows = show<InventoryRowsView>(SidebarDestination::rows);
    window->activateWindow();
    QTest::keySequence(window.get(), QKeySequence::Find);
    EXPECT_TRUE(rows->searchField()->hasFocus());
    QTest::keyClicks(rows->searchField(), u"bougie"_s);
    EXPECT_LT(rows->model().rowCount(), 56);
    QTest::keyClick(rows->searchField(), Qt::Key_Escape);
    EXPECT_TRUE(rows->searchField()->text().isEmpty());
    EXPECT_EQ(rows->model().rowCount(), 56);
}

// `--screenshots` writes a picture of every page and says through its exit status whether it
// could: scripts rely on it.
TEST(LaunchTest, ScreenshotsOfEveryPageAndAnExitStatusThatSaysWhetherAllWereWritten) {
    QTemporaryDir folder;
    // A folder where the settings picture goes: that one cannot be written.
    ASSERT_TRUE(QDir(folder.path()).mkpath(u"blocked/settings.png"_s));
    for (const auto& [name, status] : {std::pair{u"free"_s, 0}, std::pair{u"blocked"_s, 1}}) {
        QProcess app;
        app.start(QStringLiteral(TALLYBROOK_CONTROL),
                  {u"--screenshots"_s, folder.filePath(name), u"--lang"_s, u"en"_s, samplePath()});
        ASSERT_TRUE(app.waitForFinished(120'000));
        EXPECT_EQ(app.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(app.exitCode(), status) << app.readAllStandardError().toStdString();
        for (const SidebarDestination destination : allSidebarDestinations) {
            EXPECT_EQ(QFileInfo(folder.filePath(name + u'/' + rawValue(destination) + u".png"_s)).isFile(),
                      status == 0 || destination != SidebarDestination::settings)
                << name.toStdString() << ' ' << rawValue(destination).toStdString();
        }
    }
}

} // namespace tallybrook::testing
