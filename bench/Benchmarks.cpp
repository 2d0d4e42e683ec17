// The core measured on large counts: reading documents, previews and progress, the searches and
// lists the pages redraw, the exports, label sheets and a stock reload over loopback.
// Run through scripts/bench, which prints the medians as one table.

#include "InventoryGenerator.h"

#include "analysis/InventoryAnalysisService.h"
#include "analysis/InventoryDifferenceAnalyzer.h"
#include "core/TextRules.h"
#include "corrections/WooCorrectionBuilder.h"
#include "demo-shop/DemoCatalog.h"
#include "demo-shop/DemoShop.h"
#include "document/TallybrookFileDecoder.h"
#include "export/InventoryCSVExportService.h"
#include "export/LabelPDFService.h"
#include "localization/PreferencesStore.h"
#include "storage/WooCorrectionProgressStore.h"
#include "ui/style/Palette.h"
#include "ui/style/Symbols.h"
#include "woocommerce/QtHttpTransport.h"
#include "woocommerce/WooCommerceConnector.h"

#include <QElapsedTimer>
#include <QApplication>

#include <benchmark/benchmark.h>
#include <simdjson.h>
#include <sys/resource.h>

#include <map>
#include <memory>

using namespace tallybrook;
using namespace Qt::StringLiterals;

namespace {

struct Fixture {
    QByteArray bytes;
    std::shared_ptr<const InventoryExportDocument> document;
    QList<RemoteStockLevel> levels;
    QList<WooCorrectionPreview> previews;
};

// Documents are generated once per size and shared by every benchmark.
const Fixture& fixture(int rows) {
    static std::map<int, Fixture> fixtures;
    auto it = fixtures.find(rows);
    if (it == fixtures.end()) {
        Fixture f;
        f.bytes = bench::generateInventory(rows);
        f.document = std::make_shared<const InventoryExportDocument>(
            TallybrookFileDecoder().decodeInventoryDocumentWithValidation(f.bytes).document);
        const QDateTime now = QDateTime::currentDateTimeUtc();
        for (const InventoryExportRow& row : f.document->rows) {
            if (!row.externalProductId) {
                continue;
            }
            RemoteStockLevel level;
            level.localItemId = row.localItemId ? parseUuidText(*row.localItemId) : std::nullopt;
            level.externalProductId = row.externalProductId;
            level.externalVariantId = row.externalVariantId;
            level.quantity = row.referenceQuantity.value_or(0) + (f.levels.size() % 9 == 0 ? 1 : 0);
            level.stockManaged = true;
            level.fetchedAt = now;
            f.levels.append(level);
        }
        f.previews = WooCorrectionBuilder().buildPreviews(*f.document, f.levels);
        it = fixtures.emplace(rows, std::move(f)).first;
    }
    return it->second;
}

void sizes(benchmark::internal::Benchmark* b) {
    b->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
}

void BM_DecodeAndValidate(benchmark::State& state) {
    const Fixture& f = fixture(int(state.range(0)));
    const TallybrookFileDecoder decoder;
    for (auto _ : state) {
        auto decoded = decoder.decodeInventoryDocumentWithValidation(f.bytes);
        benchmark::DoNotOptimize(decoded.document.rows.size());
        state.PauseTiming(); // freeing the document is not part of reading it
        decoded = {};
        state.ResumeTiming();
    }
    state.counters["MB"] = double(f.bytes.size()) / 1e6;
}
BENCHMARK(BM_DecodeAndValidate)->Apply(sizes);

// The floor: simdjson's own parse of the same bytes (fresh parser, as the decoder uses).
void BM_SimdjsonBareParse(benchmark::State& state) {
    const Fixture& f = fixture(int(state.range(0)));
    const simdjson::padded_string padded(f.bytes.constData(), size_t(f.bytes.size()));
    for (auto _ : state) {
        simdjson::dom::parser parser;
        simdjson::dom::element root;
        if (parser.parse(padded).get(root) != simdjson::SUCCESS) {
            state.SkipWithError("parse failed");
        }
        benchmark::DoNotOptimize(root);
    }
}
BENCHMARK(BM_SimdjsonBareParse)->Apply(sizes);

void BM_BuildPreviews(benchmark::State& state) {
    const Fixture& f = fixture(int(state.range(0)));
    const bool withLevels = state.range(1) != 0;
    const QList<RemoteStockLevel> none;
    const WooCorrectionBuilder builder;
    for (auto _ : state) {
        auto previews = builder.buildPreviews(*f.document, withLevels ? f.levels : none);
        benchmark::DoNotOptimize(previews.size());
    }
    state.counters["levels"] = withLevels ? double(f.levels.size()) : 0.0;
}
BENCHMARK(BM_BuildPreviews)
    ->Args({10'000, 0})
    ->Args({10'000, 1})
    ->Args({100'000, 0})
    ->Args({100'000, 1})
    ->Unit(benchmark::kMillisecond);

// Every row carries a record: each preview has a remote quantity and a changed proposal.
void BM_SaveAndApplyProgress(benchmark::State& state) {
    const Fixture& f = fixture(int(state.range(0)));
    const bool apply = state.range(1) != 0;
    auto preferences = std::make_shared<InMemoryPreferencesStore>();
    WooCorrectionProgressStore store(preferences);
    QList<WooCorrectionPreview> edited = f.previews;
    for (WooCorrectionPreview& preview : edited) {
        preview.currentRemoteQuantity = preview.currentRemoteQuantity.value_or(3);
        preview.proposedQuantity = preview.countedQuantity.value_or(0) + 1;
        preview.message = u"Quantité proposée ajustée manuellement."_s;
    }
    const QUuid sessionId = f.previews.isEmpty() ? QUuid() : f.previews.first().sessionId;
    store.saveProgress(sessionId, edited, {});
    for (auto _ : state) {
        if (apply) {
            auto applied = store.applyProgress(f.previews, sessionId);
            benchmark::DoNotOptimize(applied.size());
        } else {
            store.saveProgress(sessionId, edited, {});
        }
    }
    state.counters["blob_MB"] =
        double(preferences->data(WooCorrectionProgressStore::defaultStorageKey()).value_or(QByteArray()).size()) / 1e6;
}
BENCHMARK(BM_SaveAndApplyProgress)
    ->ArgNames({"rows", "apply"})
    ->Args({10'000, 0})
    ->Args({10'000, 1})
    ->Args({100'000, 0})
    ->Args({100'000, 1})
    ->Unit(benchmark::kMillisecond);

// The first search on a freshly imported document (folded texts not yet cached).
void BM_SearchFirstCall(benchmark::State& state) {
    const Fixture& f = fixture(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto fresh = std::make_shared<const InventoryExportDocument>(*f.document);
        state.ResumeTiming();
        auto rows = InventoryAnalysisService::filteredRows(fresh, u"bougie rouge"_s, InventoryRowFilter::all,
                                                           std::nullopt);
        benchmark::DoNotOptimize(rows.size());
        state.PauseTiming();
        fresh.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SearchFirstCall)->Apply(sizes);

// One keystroke after another, as the user types a two-word search.
void BM_SearchKeystroke(benchmark::State& state) {
    const Fixture& f = fixture(int(state.range(0)));
    const QStringList typed{u"b"_s, u"bo"_s, u"bou"_s, u"boug"_s, u"bougi"_s, u"bougie"_s, u"bougie "_s,
                            u"bougie r"_s, u"bougie ro"_s, u"bougie rou"_s, u"bougie roug"_s, u"bougie rouge"_s};
    InventoryAnalysisService::filteredRows(f.document, typed.first(), InventoryRowFilter::all, std::nullopt);
    qsizetype next = 0;
    qsizetype shown = 0;
    for (auto _ : state) {
        auto rows = InventoryAnalysisService::filteredRows(f.document, typed.at(next), InventoryRowFilter::all,
                                                           std::nullopt);
        shown = rows.size();
        next = (next + 1) % typed.size();
    }
    state.counters["rows_shown_last"] = double(shown);
}
BENCHMARK(BM_SearchKeystroke)->Apply(sizes);

void BM_Differences(benchmark::State& state) {
    const Fixture& f = fixture(int(state.range(0)));
    for (auto _ : state) {
        auto rows = InventoryDifferenceAnalyzer::differences(f.document, QString(), std::nullopt);
        benchmark::DoNotOptimize(rows.size());
    }
}
BENCHMARK(BM_Differences)->Apply(sizes);

void BM_InventoryLocations(benchmark::State& state) {
    const Fixture& f = fixture(int(state.range(0)));
    for (auto _ : state) {
        auto locations = InventoryAnalysisService::inventoryLocations(*f.document);
        benchmark::DoNotOptimize(locations.size());
    }
}
BENCHMARK(BM_InventoryLocations)->Apply(sizes);

void BM_CsvDifferences(benchmark::State& state) {
    const Fixture& f = fixture(int(state.range(0)));
    qsizetype bytes = 0;
    for (auto _ : state) {
        bytes = InventoryCSVExportService::exportDifferencesCSV(*f.document, std::nullopt, InventoryCSVDialect::frenchExcel)
                    .size();
    }
    state.counters["MB"] = double(bytes) / 1e6;
}
BENCHMARK(BM_CsvDifferences)->Apply(sizes);

void BM_CsvCorrections(benchmark::State& state) {
    const Fixture& f = fixture(int(state.range(0)));
    qsizetype bytes = 0;
    for (auto _ : state) {
        bytes = InventoryCSVExportService::exportCorrectionsCSV(f.previews, InventoryCSVDialect::frenchExcel).size();
    }
    state.counters["MB"] = double(bytes) / 1e6;
}
BENCHMARK(BM_CsvCorrections)->Apply(sizes);

void BM_CsvSendReport(benchmark::State& state) {
    const Fixture& f = fixture(int(state.range(0)));
    QList<WooUpdateResultLine> lines;
    lines.reserve(f.previews.size());
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const WooCorrectionPreview& preview : f.previews) {
        lines.append({QUuid::createUuid(), preview.id, preview.externalProductId, preview.externalVariantId,
                      preview.itemName, preview.proposedQuantity, preview.proposedQuantity, true,
                      u"Stock WooCommerce mis à jour."_s, now});
    }
    qsizetype bytes = 0;
    for (auto _ : state) {
        bytes = InventoryCSVExportService::exportUpdateReportCSV(lines, InventoryCSVDialect::frenchExcel).size();
    }
    state.counters["MB"] = double(bytes) / 1e6;
}
BENCHMARK(BM_CsvSendReport)->Apply(sizes);

void BM_LabelSheet1000(benchmark::State& state) {
    const Fixture& f = fixture(10'000);
    QList<InventoryExportRow> rows;
    for (const InventoryExportRow& row : f.document->rows) {
        if (row.barcode || row.sku) {
            rows.append(row);
        }
        if (rows.size() == 1000) {
            break;
        }
    }
    LabelPrintConfiguration configuration;
    configuration.codeKind = state.range(0) == 0 ? LabelCodeKind::barcode : LabelCodeKind::qrCode;
    LabelPDFService service;
    qsizetype bytes = 0;
    for (auto _ : state) {
        const LabelPDFResult result = service.makeLabelPDF(rows, f.document.get(), configuration, AppLanguage::french);
        bytes = result.pdf.size();
    }
    state.counters["labels"] = double(rows.size());
    state.counters["PDF_KB"] = double(bytes) / 1024.0;
    state.counters["KB_per_label"] = double(bytes) / 1024.0 / double(rows.size());
}
BENCHMARK(BM_LabelSheet1000)->ArgName("qr")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

// A document of `keys` rows, each naming its own product (so each is one request).
std::shared_ptr<const InventoryExportDocument> reloadDocument(int keys) {
    auto document = std::make_shared<InventoryExportDocument>(*fixture(10'000).document);
    QList<InventoryExportRow> rows;
    for (const InventoryExportRow& row : document->rows) {
        if (row.externalProductId && !row.externalVariantId) {
            rows.append(row);
        }
        if (rows.size() == keys) {
            break;
        }
    }
    document->rows = rows;
    return document;
}

struct ShopRun {
    std::unique_ptr<DemoShop> shop;
    std::shared_ptr<const InventoryExportDocument> document;
};

ShopRun startShop(int keys, int latencyMs) {
    ShopRun run;
    run.document = reloadDocument(keys);
    DemoShopOptions options;
    run.shop = std::make_unique<DemoShop>(DemoCatalog::fromDocument(*run.document), options);
    run.shop->start(0);
    run.shop->setLatency(std::chrono::milliseconds(latencyMs));
    return run;
}

// Wall time per request of a run of `requests` requests that took `elapsedMs` in all.
void reportRequests(benchmark::State& state, qint64 requests, double elapsedMs) {
    state.counters["requests"] = double(requests);
    state.counters["ms_per_request"] = requests > 0 ? elapsedMs / double(requests) : 0.0;
    state.counters["requests_per_s"] = elapsedMs > 0 ? double(requests) * 1000.0 / elapsedMs : 0.0;
}

// The whole reload through the connector: one request per key, one at a time.
void BM_ReloadThroughConnector(benchmark::State& state) {
    ShopRun run = startShop(1000, int(state.range(0)));
    qint64 requests = 0;
    double elapsedMs = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        WooCommerceConnector connector(run.shop->url(), u"ck_demo"_s, u"cs_demo"_s);
        const qint64 before = run.shop->requestCount();
        const RemoteStockReloadReport report = connector.fetchCurrentStocksWithReport(*run.document);
        requests = run.shop->requestCount() - before;
        benchmark::DoNotOptimize(report.levels.size());
        elapsedMs = double(timer.nsecsElapsed()) / 1e6;
    }
    reportRequests(state, requests, elapsedMs);
}

// The same requests sent straight through the transport: the client's overhead is the difference.
void BM_ReloadRawTransport(benchmark::State& state) {
    ShopRun run = startShop(1000, int(state.range(0)));
    const QByteArray authorization = "Basic " + QByteArray("ck_demo:cs_demo").toBase64();
    QList<QUrl> urls;
    for (const InventoryExportRow& row : run.document->rows) {
        QUrl url = run.shop->url();
        url.setPath(url.path() + u"/wp-json/wc/v3/products/"_s + *row.externalProductId);
        urls.append(url);
    }
    double elapsedMs = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        QtHttpTransport transport;
        for (const QUrl& url : urls) {
            HttpRequest request;
            request.url = url;
            request.headers = {{"Accept", "application/json"}, {"Authorization", authorization}};
            benchmark::DoNotOptimize(transport.send(request).body.size());
        }
        elapsedMs = double(timer.nsecsElapsed()) / 1e6;
    }
    reportRequests(state, urls.size(), elapsedMs);
}

BENCHMARK(BM_ReloadThroughConnector)->ArgName("latency_ms")->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_ReloadRawTransport)->ArgName("latency_ms")->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_ReloadThroughConnector)->ArgName("latency_ms")->Arg(20)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->UseRealTime();
BENCHMARK(BM_ReloadRawTransport)->ArgName("latency_ms")->Arg(20)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->UseRealTime();

double residentMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0; // KiB on Linux
}

// Peak memory of holding a 100,000-row document and its previews; scripts/bench runs it alone.
void PeakMemory(benchmark::State& state) {
    const double before = residentMiB();
    double documentMiB = 0;
    for (auto _ : state) {
        const QByteArray bytes = bench::generateInventory(100'000);
        auto document = std::make_shared<const InventoryExportDocument>(
            TallybrookFileDecoder().decodeInventoryDocumentWithValidation(bytes).document);
        documentMiB = residentMiB() - before;
        auto previews = WooCorrectionBuilder().buildPreviews(*document, {});
        benchmark::DoNotOptimize(previews.size());
    }
    state.counters["peak_MiB"] = residentMiB();
    state.counters["document_MiB"] = documentMiB;
}
BENCHMARK(PeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv); // fonts for the label sheets, an event loop for the transport, the window
    Palette::applyTo(app);
    Symbols::installIconTheme();
    PreferencesStore::setStandard(std::make_shared<InMemoryPreferencesStore>());
    PreferencesStore::standard()->setString(u"com.tallybrook.control.language"_s, u"fr"_s);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
