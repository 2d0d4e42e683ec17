// `analyze`, `rows`, `differences` and `corrections`: the figures, lists and CSV files that the
// dashboard, the rows and differences pages and the CSV pages give for an inventory file.

#include "CliSupport.h"
#include "ConnectorOptions.h"
#include "analysis/InventoryAnalysisService.h"
#include "analysis/InventoryDifferenceAnalyzer.h"
#include "analysis/InventoryRowFilter.h"
#include "core/TextRules.h"
#include "corrections/WooCorrectionBuilder.h"
#include "corrections/WooCorrectionRoad.h"
#include "corrections/WooCorrectionStatus.h"
#include "export/InventoryCSVExportService.h"
#include "woocommerce/WooCommerceConnector.h"

#include <optional>
#include <utility>

namespace tallybrook::cli {

namespace {

using namespace Qt::StringLiterals;

InventoryRowFilter filterFrom(const Arguments& arguments) {
    const auto raw = arguments.option(u"filter"_s);
    if (!raw) {
        return InventoryRowFilter::all;
    }
    if (const auto filter = inventoryRowFilterFromRawValue(*raw)) {
        return *filter;
    }
    QStringList choices;
    for (const InventoryRowFilter filter : allInventoryRowFilters) {
        choices.append(rawValue(filter));
    }
    throw UsageError{u"--filter takes one of "_s + choices.join(u'|') + u", found "_s + *raw};
}

QString rowIdLines(const InventoryRowList& rows) {
    QString text;
    for (const InventoryExportRow* row : rows) {
        text += row->id() + u'\n';
    }
    return text;
}

// A JSON string literal; unpaired surrogates are written as escapes rather than lost.
QString jsonString(const QString& text) {
    QString out = u"\""_s;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += c;
            out += text[++i];
        } else if (c == u'"' || c == u'\\') {
            out += u'\\';
            out += c;
        } else if (c == u'\n') {
            out += u"\\n"_s;
        } else if (c.unicode() < 0x20 || c.isSurrogate()) {
            out += u"\\u"_s + QString::number(c.unicode(), 16).rightJustified(4, u'0');
        } else {
            out += c;
        }
    }
    return out + u'"';
}

// Field name, text value and JSON value of every field of the analysis, in declaration order.
QList<std::tuple<QString, QString, QString>> analysisFields(const InventorySessionAnalysis& analysis) {
    const auto text = [](const QString& name, const QString& value) {
        return std::make_tuple(name, value, jsonString(value));
    };
    const auto number = [](const QString& name, qint64 value) {
        return std::make_tuple(name, QString::number(value), QString::number(value));
    };
    return {
        text(u"sessionId"_s, uuidText(analysis.sessionId)),
        text(u"sessionName"_s, analysis.sessionName),
        text(u"exportedAt"_s, InventoryCSVExportService::iso8601Text(analysis.exportedAt)),
        text(u"sourceDisplayName"_s, analysis.sourceDisplayName),
        number(u"totalRows"_s, analysis.totalRows),
        number(u"countedRows"_s, analysis.countedRows),
        number(u"notCountedRows"_s, analysis.notCountedRows),
        number(u"differenceRows"_s, analysis.differenceRows),
        number(u"unknownCodesCount"_s, analysis.unknownCodesCount),
        number(u"temporaryItemsCount"_s, analysis.temporaryItemsCount),
        number(u"possibleWooCorrectionsCount"_s, analysis.possibleWooCorrectionsCount),
        number(u"legacyTemporaryItemsCount"_s, analysis.legacyTemporaryItemsCount),
        number(u"ignoredTemporaryItemsCount"_s, analysis.ignoredTemporaryItemsCount),
    };
}

int runAnalyze(const QStringList& args) {
    const Arguments arguments(args, {}, {u"json"_s});
    const auto document = loadDocument(arguments.file());
    if (!document) {
        return failure;
    }
    // The window counts possible corrections from the previews it builds right after import.
    const QList<WooCorrectionPreview> corrections = WooCorrectionBuilder().buildPreviews(*document, {});
    const auto fields = analysisFields(InventoryAnalysisService::makeAnalysis(*document, corrections));
    QString out;
    if (arguments.flag(u"json"_s)) {
        QStringList members;
        for (const auto& [name, text, json] : fields) {
            members.append(jsonString(name) + u": "_s + json);
        }
        out = u"{"_s + members.join(u", "_s) + u"}\n"_s;
    } else {
        for (const auto& [name, text, json] : fields) {
            out += name + u": "_s + text + u'\n';
        }
    }
    printOut(out);
    return success;
}

int runRows(const QStringList& args) {
    const Arguments arguments(args, {u"filter"_s, u"search"_s, u"location"_s}, {});
    const QString path = arguments.file();
    const InventoryRowFilter filter = filterFrom(arguments);
    const auto document = loadDocument(path);
    if (!document) {
        return failure;
    }
    printOut(rowIdLines(
        InventoryAnalysisService::filteredRows(document, arguments.option(u"search"_s).value_or(QString()),
                                               filter, arguments.option(u"location"_s))));
    return success;
}

int runDifferences(const QStringList& args) {
    const Arguments arguments(args, {u"search"_s, u"location"_s, u"csv"_s, u"dialect"_s}, {});
    const QString path = arguments.file();
    const InventoryCSVDialect dialect = dialectFrom(arguments);
    const auto document = loadDocument(path);
    if (!document) {
        return failure;
    }
    const auto location = arguments.option(u"location"_s);
    if (const auto csvPath = arguments.option(u"csv"_s)) {
        // As the window's export: every difference of the location, whatever the search.
        return writeCsv(*csvPath,
                        [&] {
                            return InventoryCSVExportService::exportDifferencesCSV(*document, location,
                                                                                   dialect);
                        })
                   ? success
                   : failure;
    }
    printOut(rowIdLines(InventoryDifferenceAnalyzer::differences(
        document, arguments.option(u"search"_s).value_or(QString()), location)));
    return success;
}

/// The options of `corrections`, besides FILE: value options and flags.
const QStringList correctionsValueOptions{u"csv"_s, u"dialect"_s, storeOption};
const QStringList correctionsFlags{u"reload"_s, batchFlag, verboseFlag};

/// The correction previews `corrections` writes: built from the document without stock
/// levels, exactly as the window builds them right after an import. The one place to extend
/// when the previews are to follow a stock reload. On failure, prints the reason on stderr
/// and returns none (the command then exits with `failure`).
std::optional<QList<WooCorrectionPreview>> buildCorrectionsForCli(const InventoryExportDocument& document,
                                                                  const Arguments& arguments) {
    if (!arguments.flag(u"reload"_s)) {
        if (arguments.option(storeOption) || arguments.flag(batchFlag)) {
            throw UsageError{u"--store and --batch go with --reload"_s};
        }
        return WooCorrectionBuilder().buildPreviews(document, {});
    }
    // As the corrections page's reload: read the shop's stock, rebuild the previews from it,
    // and tell the reload's summary (on stderr, so the CSV on stdout stays clean).
    const auto connector = connectorFromOptions(arguments);
    if (!connector) {
        return std::nullopt;
    }
    const RemoteStockReloadReport report = reloadStock(*connector, document, arguments);
    if (const auto summary = reloadSummary(report)) {
        printErr(*summary + u'\n');
    }
    return WooCorrectionBuilder().buildPreviews(document, report.levels);
}

int runCorrections(const QStringList& args) {
    const Arguments arguments(args, correctionsValueOptions, correctionsFlags);
    const QString path = arguments.file();
    const InventoryCSVDialect dialect = dialectFrom(arguments);
    const auto document = loadDocument(path);
    if (!document) {
        return failure;
    }
    const auto corrections = buildCorrectionsForCli(*document, arguments);
    if (!corrections) {
        return failure;
    }
    if (const auto csvPath = arguments.option(u"csv"_s)) {
        return writeCsv(
                   *csvPath,
                   [&] { return InventoryCSVExportService::exportCorrectionsCSV(*corrections, dialect); })
                   ? success
                   : failure;
    }
    QString out;
    for (const WooCorrectionPreview& preview : *corrections) {
        out += rawValue(preview.status) + u' ' + preview.itemName + u'\n';
    }
    printOut(out);
    return success;
}

const CommandRegistration analyzeRegistration(u"analyze"_s, u"analyze FILE [--json]"_s, runAnalyze);
const CommandRegistration rowsRegistration(u"rows"_s, u"rows FILE [--filter F] [--search S] [--location L]"_s,
                                           runRows);
const CommandRegistration differencesRegistration(
    u"differences"_s,
    u"differences FILE [--search S] [--location L] [--csv PATH|-] [--dialect french|standard]"
    u"  (the CSV, like the window's export, holds every difference of the location: --search narrows the ids only)"_s,
    runDifferences);
const CommandRegistration correctionsRegistration(
    u"corrections"_s,
    u"corrections FILE [--reload [--store URL] [--batch] [--verbose]] [--csv PATH|-] [--dialect french|standard]"_s,
    runCorrections);

} // namespace

} // namespace tallybrook::cli
