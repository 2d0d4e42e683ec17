#include "UiTestSupport.h"

#include "app/TallybrookControlStore.h"
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
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
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
    EXPECT_EQ(window->windowTitle(), u"Importer — Tallybrook Control"_s);
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
}

TEST_F(WindowTest, ImportRunsOffTheMainThreadAndAFailureLeavesTheInventoryAsItWas) {
    open();
    ASSERT_TRUE(importFile(samplePath()));
    auto* store = &window->context().store;
    const auto document = store->document();
    ASSERT_EQ(document->rows.size(), 56);
    EXPECT_TRUE(window->sidebar()->locationPicker()->isEnabled());
    EXPECT_EQ(window->sidebar()->locationPicker()->itemText(0), u"Tous les emplacements"_s);
    EXPECT_EQ(window->sidebar()->locationPicker()->count(), 1 + store->inventoryLocations().size());

    const QString bad = folder.filePath(u"notes.tallybrook"_s);
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is not JSON");
    file.close();
    InventoryImportViewModel& importer = window->context().importer;
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
    open();
    ASSERT_TRUE(importFile(samplePath()));
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

} // namespace tallybrook::testing
