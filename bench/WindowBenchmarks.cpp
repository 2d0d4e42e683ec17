// The window on a 100,000-row count: what a user waits for on the main thread when typing a
// search, switching filter or location, opening the rows page, editing corrections, and how
// long the main thread is held during an import (the rest runs on a worker).

#include "BenchSupport.h"
#include "InventoryGenerator.h"

#include "app/InventoryImportViewModel.h"
#include "app/TallybrookControlStore.h"
#include "localization/PreferencesStore.h"
#include "storage/InMemorySecretStore.h"
#include "storage/SqlitePreferencesStore.h"
#include "ui/components/ControlTable.h"
#include "ui/components/SearchField.h"
#include "ui/models/CorrectionsModel.h"
#include "ui/pages/InventoryRowsView.h"
#include "ui/pages/WooCorrectionsView.h"
#include "ui/shell/MainWindow.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>
#include <ctime>
#include <sys/resource.h>
#include <unistd.h>

using namespace tallybrook;
using bench::runUntil;
using namespace Qt::StringLiterals;

namespace {

constexpr int rowCount = 100'000;

QString writeInventory() {
    static QTemporaryDir folder;
    const QString path = folder.filePath(u"large.tallybrook"_s);
    if (!QFile::exists(path)) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bench::generateInventory(rowCount));
    }
    return path;
}

std::unique_ptr<MainWindow> makeWindow(std::shared_ptr<PreferencesStore> preferences = nullptr) {
    WindowProfile profile;
    profile.preferences = preferences ? std::move(preferences) : std::make_shared<InMemoryPreferencesStore>();
    profile.preferences->setString(u"com.tallybrook.control.language"_s, u"fr"_s);
    profile.secrets = std::make_shared<InMemorySecretStore>();
    profile.remembersWindowGeometry = false;
    auto window = std::make_unique<MainWindow>(std::move(profile));
    window->resize(1280, 800);
    window->show();
    return window;
}

/// The window with the large count imported, shared by the benchmarks below.
MainWindow& loadedWindow() {
    // Kept until the process ends (never destroyed after the application object).
    static MainWindow* window = [] {
        MainWindow* made = makeWindow().release();
        InventoryImportViewModel& importer = made->context().importer;
        importer.startImport(writeInventory());
        runUntil([&] { return !importer.isImporting(); });
        return made;
    }();
    return *window;
}

/// Lets queued layouts run and paints the table's visible rows, as the screen would.
void settle(QTableView* table) {
    for (int pass = 0; pass < 4; ++pass) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    }
    table->viewport()->repaint();
}

void BM_Window_ImportMainThreadBlock(benchmark::State& state) {
    double longest = 0;
    for (auto _ : state) {
        auto window = makeWindow();
        InventoryImportViewModel& importer = window->context().importer;
        importer.startImport(writeInventory());
        longest = std::max(longest, runUntil([&] { return !importer.isImporting(); }));
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
    state.counters["main_thread_max_block_ms"] = longest;
}
BENCHMARK(BM_Window_ImportMainThreadBlock)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_Window_SearchKeystroke(benchmark::State& state) {
    MainWindow& window = loadedWindow();
    window.showDestination(SidebarDestination::rows);
    auto* page = static_cast<InventoryRowsView*>(window.currentPage());
    page->refreshIfStale();
    const QStringList typed{u"b"_s, u"bo"_s, u"bou"_s, u"boug"_s, u"bougi"_s, u"bougie"_s};
    qsizetype next = 0;
    for (auto _ : state) {
        page->searchField()->setText(typed.at(next++ % typed.size()));
        settle(page->table());
    }
    page->searchField()->clear();
}
BENCHMARK(BM_Window_SearchKeystroke)->Unit(benchmark::kMillisecond);

void BM_Window_SwitchFilter(benchmark::State& state) {
    MainWindow& window = loadedWindow();
    window.showDestination(SidebarDestination::rows);
    auto* page = static_cast<InventoryRowsView*>(window.currentPage());
    page->refreshIfStale();
    int next = 0;
    for (auto _ : state) {
        page->filterPicker()->setCurrentIndex(++next % 2);
        emit page->filterPicker()->activated(page->filterPicker()->currentIndex());
        settle(page->table());
    }
}
BENCHMARK(BM_Window_SwitchFilter)->Unit(benchmark::kMillisecond);

void BM_Window_SwitchLocation(benchmark::State& state) {
    MainWindow& window = loadedWindow();
    window.showDestination(SidebarDestination::rows);
    auto* page = static_cast<InventoryRowsView*>(window.currentPage());
    TallybrookControlStore& store = window.context().store;
    const QStringList locations = store.inventoryLocations();
    qsizetype next = 0;
    for (auto _ : state) {
        store.selectInventoryLocation(next++ % 2 == 0 ? std::optional<QString>(locations.constFirst()) : std::nullopt);
        page->refreshIfStale();
        settle(page->table());
    }
}
BENCHMARK(BM_Window_SwitchLocation)->Unit(benchmark::kMillisecond);

void BM_Window_OpenRowsPage(benchmark::State& state) {
    MainWindow& window = loadedWindow();
    TallybrookControlStore& store = window.context().store;
    for (auto _ : state) {
        state.PauseTiming();
        window.showDestination(SidebarDestination::dashboard);
        window.currentPage()->refreshIfStale();
        store.selectInventoryLocation(std::nullopt); // the hidden rows page is now stale
        state.ResumeTiming();
        window.showDestination(SidebarDestination::rows);
        settle(static_cast<InventoryRowsView*>(window.currentPage())->table());
    }
}
BENCHMARK(BM_Window_OpenRowsPage)->Unit(benchmark::kMillisecond);

WooCorrectionsView& correctionsPage() {
    MainWindow& window = loadedWindow();
    window.showDestination(SidebarDestination::wooCorrections);
    auto* page = static_cast<WooCorrectionsView*>(window.currentPage());
    page->refreshIfStale();
    return *page;
}

/// Finds the first manually correctable row of the corrections table.
int correctableRow(WooCorrectionsView& page, const TallybrookControlStore& store) {
    for (int row = 0; row < page.model().rowCount(); ++row) {
        if (isManuallyCorrectable(store.corrections().at(page.model().storeIndex(row)).status)) {
            return row;
        }
    }
    return -1;
}

void BM_Window_ToggleRow(benchmark::State& state) {
    WooCorrectionsView& page = correctionsPage();
    MainWindow& window = loadedWindow();
    CorrectionsModel& model = page.model();
    const QModelIndex cell = model.index(correctableRow(page, window.context().store), CorrectionsModel::selection);
    for (auto _ : state) {
        const bool on = cell.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        model.setData(cell, on ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }
    window.context().store.flushSaves();
}
BENCHMARK(BM_Window_ToggleRow)->Unit(benchmark::kMillisecond);

void BM_Window_EditProposal(benchmark::State& state) {
    WooCorrectionsView& page = correctionsPage();
    MainWindow& window = loadedWindow();
    CorrectionsModel& model = page.model();
    const QModelIndex cell = model.index(correctableRow(page, window.context().store), CorrectionsModel::proposed);
    int next = 0;
    for (auto _ : state) {
        model.setData(cell, QString::number(++next % 50));
    }
    window.context().store.flushSaves();
}
BENCHMARK(BM_Window_EditProposal)->Unit(benchmark::kMillisecond);

void BM_Window_SelectAllToggle(benchmark::State& state) {
    WooCorrectionsView& page = correctionsPage();
    for (auto _ : state) {
        page.viewModel().toggleVisibleSelection();
    }
    loadedWindow().context().store.flushSaves();
}
BENCHMARK(BM_Window_SelectAllToggle)->Unit(benchmark::kMillisecond);

/// What the worker spends saving the progress of 100,000 rows after an edit (off the main
/// thread, coalesced: quick edits end in one save).
void BM_Window_ProgressSaveOffMainThread(benchmark::State& state) {
    TallybrookControlStore& store = loadedWindow().context().store;
    for (auto _ : state) {
        store.saveProgress();
        store.flushSaves();
    }
}
BENCHMARK(BM_Window_ProgressSaveOffMainThread)->Unit(benchmark::kMillisecond)->Iterations(5);

double peakResidentMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0; // KiB on Linux
}

double residentNowMiB() {
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(statm);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

/// Peak memory of importing the large count the way the window does it: a shown window whose
/// import flow reads the file on a worker, hands the session to the store and records the file
/// in a history kept in SQLite. scripts/bench runs it alone, in a process of its own; the file
/// is written first and its bytes are let go before the window opens.
void PeakMemoryWindowImport(benchmark::State& state) {
    const QString path = writeInventory();
    const double before = peakResidentMiB();
    double heldMiB = 0;
    for (auto _ : state) {
        QTemporaryDir profile;
        auto window = makeWindow(SqlitePreferencesStore::open(profile.filePath(u"preferences.sqlite"_s)));
        InventoryImportViewModel& importer = window->context().importer;
        importer.startImport(path);
        runUntil([&] { return !importer.isImporting(); });
        window->context().store.flushSaves(); // the history's write of the file
        heldMiB = residentNowMiB();
        benchmark::DoNotOptimize(window->context().store.corrections().size());
    }
    state.counters["peak_MiB"] = peakResidentMiB();
    state.counters["before_MiB"] = before;
    state.counters["held_MiB"] = heldMiB;
}
BENCHMARK(PeakMemoryWindowImport)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
