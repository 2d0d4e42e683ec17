#include "UiTestSupport.h"

#include "app/TallybrookControlStore.h"
#include "export/InventoryCSVExportService.h"
#include "ui/components/ControlTable.h"
#include "ui/components/DecimalField.h"
#include "ui/components/SearchField.h"
#include "ui/components/SegmentedPicker.h"
#include "ui/components/SymbolLabel.h"
#include "ui/pages/DifferencesView.h"
#include "ui/pages/InventoryRowsView.h"
#include "ui/pages/LabelPrintOptionsView.h"
#include "ui/pages/TemporaryItemsView.h"
#include "ui/shell/SidebarView.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace tallybrook::testing {

TEST_F(WindowTest, SearchAndLocationNarrowTheListsButNeverTheDifferencesFile) {
    open();
    ASSERT_TRUE(importFile(samplePath()));
    const TallybrookControlStore& store = window->context().store;
    auto* rows = show<InventoryRowsView>(SidebarDestination::rows);
    QAbstractItemModelTester rowsTester(&rows->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(rows->countLabel()->text(), u"56 lignes"_s);
    EXPECT_FALSE(find<QWidget>(u"locationBadge"_s)->isVisibleTo(window.get()));

    QComboBox* picker = window->sidebar()->locationPicker();
    picker->setCurrentIndex(picker->findText(u"Vitrine"_s));
    emit picker->activated(picker->currentIndex());
    EXPECT_EQ(store.selectedInventoryLocation(), u"Vitrine"_s);
    rows->refreshIfStale();
    const int inVitrine = rows->model().rowCount();
    EXPECT_LT(inVitrine, 56);
    EXPECT_EQ(rows->countLabel()->text(), QString::number(inVitrine) + u" lignes"_s);

    rows->searchField()->setText(u"zzz-nothing"_s);
    EXPECT_EQ(rows->model().rowCount(), 0);
    EXPECT_FALSE(rows->printButton()->isEnabled());

    auto* differences = show<DifferencesView>(SidebarDestination::differences);
    QAbstractItemModelTester differencesTester(&differences->model(),
                                                QAbstractItemModelTester::FailureReportingMode::Fatal);
    const int differencesInVitrine = differences->model().rowCount();
    differences->searchField()->setText(u"plaid"_s);
    EXPECT_LT(differences->model().rowCount(), differencesInVitrine);
    EXPECT_EQ(differences->countLabel()->text(), QString::number(differences->model().rowCount()) + u" écarts"_s);

    nextSavePath = folder.filePath(u"ecarts.csv"_s);
    differences->exportCSV();
    EXPECT_TRUE(offeredSavePaths.constLast().endsWith(u"/tallybrook-ecarts.csv"_s));
    QFile written(*nextSavePath);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), InventoryCSVExportService::exportDifferencesCSV(*store.document(), u"Vitrine"_s,
                                                                                 InventoryCSVDialect::frenchExcel));
    EXPECT_FALSE(differences->errorLine()->isVisibleTo(window.get()));

    // A cancelled dialog is no error; a folder that does not exist is one, shown under the table.
    nextSavePath.reset();
    differences->exportCSV();
    EXPECT_FALSE(differences->errorLine()->isVisibleTo(window.get()));
    nextSavePath = folder.filePath(u"missing/ecarts.csv"_s);
    differences->exportCSV();
    EXPECT_TRUE(differences->errorLine()->isVisibleTo(window.get()));
    EXPECT_TRUE(differences->errorLine()->text().startsWith(u"Impossible d’enregistrer"_s));
}

TEST_F(WindowTest, PrintCodesOpensTheLabelSheetForExactlyTheRowsShown) {
    open();
    ASSERT_TRUE(importFile(samplePath()));
    auto* rows = show<InventoryRowsView>(SidebarDestination::rows);
    rows->searchField()->setText(u"bougie"_s);
    const int shown = rows->model().rowCount();
    ASSERT_GT(shown, 0);
    rows->printButton()->click();
    auto* sheet = window->findChild<LabelPrintOptionsView*>();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->countLabel()->text().endsWith(u"sur "_s + QString::number(shown) + u" lignes affichées"_s))
        << sheet->countLabel()->text().toStdString();
    EXPECT_TRUE(sheet->skippedMessage()->isHidden()) << "every candle has a SKU";
    sheet->close();
}

TEST_F(WindowTest, LabelSheetCountsSkipsAndWarns) {
    numberLocale = QLocale(QLocale::French, QLocale::France);
    QJsonArray rows;
    for (int i = 0; i < 40; ++i) {
        QJsonObject row{{u"itemName"_s, u"Article %1"_s.arg(i)}, {u"status"_s, u"counted"_s}, {u"countedQuantity"_s, 1}};
        if (i >= 12) {
            row.insert(u"barcode"_s, u"4006381333931"_s);
        }
        rows.append(row);
    }
    open();
    ASSERT_TRUE(importFile(writeDocument(rows)));
    const TallybrookControlStore& store = window->context().store;
    InventoryRowList all;
    for (const InventoryExportRow& row : store.document()->rows) {
        all.append(&row);
    }
    LabelPrintOptionsView sheet(window->context(), store.document(), all, u"tallybrook-etiquettes.pdf"_s);
    EXPECT_EQ(sheet.countLabel()->text(), u"28 étiquettes générables sur 40 lignes affichées"_s);
    EXPECT_FALSE(sheet.skippedMessage()->isHidden());
    EXPECT_EQ(sheet.skippedMessage()->text(),
              u"12 ligne(s) seront ignorées faute de code produit, code inventaire ou SKU."_s);

    // The small-QR warning: QR codes on labels under 25 mm only.
    EXPECT_TRUE(sheet.smallQRMessage()->isHidden());
    sheet.codeKindPicker()->button(1)->click();
    EXPECT_FALSE(sheet.smallQRMessage()->isHidden());
    QComboBox* size = sheet.sizePicker();
    size->setCurrentIndex(size->findData(u"qr35"_s));
    emit size->activated(size->currentIndex());
    EXPECT_TRUE(sheet.smallQRMessage()->isHidden());

    size->setCurrentIndex(size->findData(u"custom"_s));
    emit size->activated(size->currentIndex());
    EXPECT_FALSE(sheet.widthField()->isHidden());
    EXPECT_EQ(sheet.widthField()->lineEdit()->text(), u"38,1"_s);
    EXPECT_EQ(sheet.heightField()->lineEdit()->text(), u"21,2"_s);
    // Under 25 mm high, not at 25 mm.
    EXPECT_FALSE(sheet.smallQRMessage()->isHidden());
    sheet.heightField()->lineEdit()->clear();
    QTest::keyClicks(sheet.heightField()->lineEdit(), u"25"_s);
    EXPECT_TRUE(sheet.smallQRMessage()->isHidden());
    // The system's number format, not the language's: a French system takes a comma.
    sheet.marginField()->lineEdit()->clear();
    QTest::keyClicks(sheet.marginField()->lineEdit(), u"2,5"_s);
    EXPECT_EQ(sheet.configuration().marginMM, 2.5);
}

// The location menu of a temporary item without one: what is chosen in the table reaches the
// store, "unassigned" removes it.
TEST_F(WindowTest, ALocationChosenInATemporaryItemsMenuReachesTheStore) {
    const QJsonArray items{QJsonObject{{u"id"_s, u"T-1"_s}, {u"provisionalName"_s, u"Vase"_s}, {u"quantity"_s, 1}},
                           QJsonObject{{u"id"_s, u"T-2"_s}, {u"provisionalName"_s, u"abricot"_s},
                                       {u"quantity"_s, 2}, {u"sessionId"_s, u""_s}}};
    open();
    ASSERT_TRUE(importFile(writeDocument({QJsonObject{{u"itemName"_s, u"A"_s}, {u"location"_s, u"Réserve"_s},
                                                      {u"status"_s, u"counted"_s}}},
                                         items)));
    auto* page = show<TemporaryItemsView>(SidebarDestination::temporaryItems);
    TemporaryItemsModel& legacy = page->legacyModel();
    using Mode = QAbstractItemModelTester::FailureReportingMode;
    QAbstractItemModelTester tester(&legacy, Mode::Fatal);
    QAbstractItemModelTester emptyTester(&page->currentModel(), Mode::Fatal); // redrawn with no rows
    ASSERT_EQ(legacy.rowCount(), 2);
    EXPECT_EQ(legacy.index(0, TemporaryItemsModel::warning).data().toString(), u"Session absente"_s);
    EXPECT_EQ(legacy.index(1, TemporaryItemsModel::session).data().toString(), u"-"_s);

    auto* table = find<ControlTable>(u"temporary.legacy"_s);
    const QModelIndex location = legacy.index(0, TemporaryItemsModel::location);
    for (const QString& choice : {u"Réserve"_s, u"Non affecté"_s}) {
        const QString before = location.data().toString();
        table->edit(location);
        QComboBox* menu = nullptr;
        for (QComboBox* editor : table->viewport()->findChildren<QComboBox*>()) {
            menu = editor->isVisible() ? editor : menu;
        }
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->currentText(), before);
        menu->setCurrentIndex(menu->findText(choice));
        emit menu->activated(menu->currentIndex());
        EXPECT_EQ(location.data().toString(), choice);
        EXPECT_EQ(window->context().store.temporaryItemLocationAssignments().size(),
                  qsizetype(choice == u"Réserve"_s));
    }

    // Names sort as a reader expects, whatever their case.
    legacy.sort(TemporaryItemsModel::provisionalName);
    EXPECT_EQ(legacy.index(0, TemporaryItemsModel::provisionalName).data().toString(), u"abricot"_s);
}

} // namespace tallybrook::testing
