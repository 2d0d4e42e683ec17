// The correction road at a real shop's size, as the window runs it: a reload and a send of
// the ready rows against the demo shop answering each request after 100 ms (a shop hosted far
// away), one request per item or in batches. Prints the wall time, the requests made and the
// longest stretch the main thread was held.

#include "BenchSupport.h"

#include "app/InventoryImportViewModel.h"
#include "app/TallybrookControlStore.h"
#include "demo-shop/DemoShop.h"
#include "document/TallybrookDocumentWriter.h"
#include "localization/AppSettings.h"
#include "localization/PreferencesStore.h"
#include "storage/InMemorySecretStore.h"
#include "ui/pages/WooCorrectionsView.h"
#include "ui/shell/MainWindow.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QUuid>

#include <benchmark/benchmark.h>

using namespace tallybrook;
using namespace Qt::StringLiterals;

namespace {

constexpr int latencyMs = 100;

/// A count of `simple` simple products and `variations` variations spread over `parents`
/// variable products; every row was in stock 10 at the count, and 30 % of them were counted
/// 11 (ready to send), the others 10 (nothing to send).
InventoryExportDocument roadDocument(int simple, int variations, int parents) {
    InventoryExportDocument document;
    document.format = u"com.tallybrook.inventory-export"_s;
    document.formatVersion = 1;
    document.session.id = u"6B1F3A52-7C0D-4E59-9D3A-1F2E3D4C5B6A"_s;
    document.session.name = u"Road"_s;
    auto addRow = [&](qint64 product, std::optional<qint64> variation) {
        InventoryExportRow row;
        row.sessionId = document.session.id;
        row.source = u"woocommerce"_s;
        row.localItemId = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
        row.externalProductId = QString::number(product);
        if (variation) {
            row.externalVariantId = QString::number(*variation);
            row.variantName = u"V"_s + QString::number(*variation);
        }
        row.itemName = u"Article "_s + QString::number(product);
        row.referenceQuantity = 10;
        row.countedQuantity = document.rows.size() % 10 < 3 ? 11 : 10;
        row.difference = *row.countedQuantity - 10;
        row.status = row.difference == 0 ? InventoryExportRowStatus::counted : InventoryExportRowStatus::difference;
        document.rows.append(row);
    };
    for (int i = 0; i < simple; ++i) {
        addRow(100'000 + i, std::nullopt);
    }
    for (int i = 0; i < variations; ++i) {
        addRow(10 + i % parents, 500'000 + i);
    }
    return document;
}

struct RoadFigures {
    double reloadSeconds = 0;
    double sendSeconds = 0;
    qint64 reloadRequests = 0;
    qint64 sendRequests = 0;
    double mainThreadMaxBlockMs = 0;
    qint64 sent = 0;
};

RoadFigures runRoad(const InventoryExportDocument& document, WooRequestMode mode) {
    DemoShop shop(DemoCatalog::fromDocument(document));
    shop.start(0);
    shop.setLatency(std::chrono::milliseconds(latencyMs));

    QTemporaryDir folder;
    const QString path = folder.filePath(u"road.tallybrook"_s);
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(TallybrookDocumentWriter().write(document));
    }
    WindowProfile profile;
    profile.preferences = std::make_shared<InMemoryPreferencesStore>();
    profile.secrets = std::make_shared<InMemorySecretStore>();
    profile.remembersWindowGeometry = false;
    MainWindow window(std::move(profile));
    AppContext& context = window.context();
    context.settings.setRequestMode(mode);
    context.credentialStore().save(shop.url(), std::nullopt, u"ck_demo"_s, u"cs_demo"_s);
    context.importer.startImport(path);
    bench::runUntil([&] { return !context.importer.isImporting(); });
    WooCorrectionsViewModel& corrections = window.findChild<WooCorrectionsView*>()->viewModel();

    RoadFigures figures;
    QElapsedTimer timer;
    timer.start();
    corrections.reloadStocks();
    figures.mainThreadMaxBlockMs = bench::runUntil([&] { return !corrections.isReloadingStocks(); });
    figures.reloadSeconds = double(timer.nsecsElapsed()) / 1e9;
    figures.reloadRequests = shop.requestCount();

    timer.restart();
    corrections.sendSelected();
    figures.mainThreadMaxBlockMs =
        std::max(figures.mainThreadMaxBlockMs, bench::runUntil([&] { return !corrections.isSending(); }));
    figures.sendSeconds = double(timer.nsecsElapsed()) / 1e9;
    figures.sendRequests = shop.requestCount() - figures.reloadRequests;
    for (const WooUpdateResultLine& line : context.store.updateResults()) {
        figures.sent += line.success ? 1 : 0;
    }
    return figures;
}

/// Arguments: simple products, variations, parents, mode (0 one by one, 1 batches). One-by-one
/// runs take a twentieth of the count: their figures are also given for 10,000 rows.
void BM_Road(benchmark::State& state) {
    const auto mode = state.range(3) ? WooRequestMode::batch : WooRequestMode::oneByOne;
    const InventoryExportDocument document =
        roadDocument(int(state.range(0)), int(state.range(1)), int(state.range(2)));
    RoadFigures figures;
    for (auto _ : state) {
        figures = runRoad(document, mode);
    }
    const double scale = 10'000.0 / double(document.rows.size());
    state.counters["rows"] = double(document.rows.size());
    state.counters["sent"] = double(figures.sent);
    state.counters["reload_s"] = figures.reloadSeconds;
    state.counters["send_s"] = figures.sendSeconds;
    state.counters["total_s"] = figures.reloadSeconds + figures.sendSeconds;
    state.counters["total_s_at_10000_rows"] = (figures.reloadSeconds + figures.sendSeconds) * scale;
    state.counters["requests"] = double(figures.reloadRequests + figures.sendRequests);
    state.counters["requests_at_10000_rows"] = double(figures.reloadRequests + figures.sendRequests) * scale;
    state.counters["main_thread_max_block_ms"] = figures.mainThreadMaxBlockMs;
}

// clang-format off
BENCHMARK(BM_Road)->ArgNames({"simple", "variations", "parents", "batch"})
    ->Args({10'000, 0, 1, 1})->Args({2'000, 8'000, 400, 1})
    ->Args({500, 0, 1, 0})->Args({100, 400, 20, 0})
    ->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
// clang-format on

} // namespace
