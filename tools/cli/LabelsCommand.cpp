// `labels FILE --pdf PATH ...`: the label sheet of the rows the rows page would show, written
// as a PDF, with the options page's success line.

#include "CliSupport.h"
#include "analysis/InventoryAnalysisService.h"
#include "analysis/InventoryRowFilter.h"
#include "export/LabelPDFError.h"
#include "export/LabelPDFService.h"
#include "localization/AppText.h"

namespace tallybrook::cli {

namespace {

using namespace Qt::StringLiterals;

const QString labelsUsage =
    u"labels FILE --pdf PATH [--kind barcode|qrCode] [--preset standard381x212|avery5167|qr35|custom] "
    u"[--width MM] [--height MM] [--margin MM] [--hgap MM] [--vgap MM] [--no-border] "
    u"[--filter F] [--search S] [--location L]"_s;

template <typename Value, typename Parse>
Value enumOption(const Arguments& arguments, const QString& name, Value fallback, Parse parse) {
    const auto text = arguments.option(name);
    if (!text) {
        return fallback;
    }
    const auto value = parse(*text);
    if (!value) {
        throw UsageError{u"--"_s + name + u" does not take "_s + *text};
    }
    return *value;
}

LabelPrintConfiguration configurationFrom(const Arguments& arguments) {
    LabelPrintConfiguration configuration;
    configuration.codeKind = enumOption(arguments, u"kind"_s, configuration.codeKind,
                                        [](const QString& raw) { return labelCodeKindFromRawValue(raw); });
    configuration.sizePreset =
        enumOption(arguments, u"preset"_s, configuration.sizePreset,
                   [](const QString& raw) { return labelSizePresetFromRawValue(raw); });
    const auto width = arguments.numberOption(u"width"_s);
    const auto height = arguments.numberOption(u"height"_s);
    if ((width || height) && configuration.sizePreset != LabelSizePreset::custom) {
        throw UsageError{u"--width and --height apply to --preset custom"_s};
    }
    configuration.customWidthMM = width.value_or(configuration.customWidthMM);
    configuration.customHeightMM = height.value_or(configuration.customHeightMM);
    configuration.marginMM = arguments.numberOption(u"margin"_s).value_or(configuration.marginMM);
    configuration.horizontalGapMM = arguments.numberOption(u"hgap"_s).value_or(configuration.horizontalGapMM);
    configuration.verticalGapMM = arguments.numberOption(u"vgap"_s).value_or(configuration.verticalGapMM);
    configuration.drawsLabelBorder = !arguments.flag(u"no-border"_s);
    return configuration;
}

int runLabels(const QStringList& args) {
    const Arguments arguments(args,
                              {u"pdf"_s, u"kind"_s, u"preset"_s, u"width"_s, u"height"_s, u"margin"_s,
                               u"hgap"_s, u"vgap"_s, u"filter"_s, u"search"_s, u"location"_s},
                              {u"no-border"_s});
    const QString path = arguments.file();
    const auto pdfPath = arguments.option(u"pdf"_s);
    if (!pdfPath || pdfPath->isEmpty()) {
        throw UsageError{u"--pdf PATH is required"_s};
    }
    const LabelPrintConfiguration configuration = configurationFrom(arguments);
    const InventoryRowFilter filter =
        enumOption(arguments, u"filter"_s, InventoryRowFilter::all,
                   [](const QString& raw) { return inventoryRowFilterFromRawValue(raw); });

    const auto document = loadDocument(path);
    if (!document) {
        return failure;
    }
    const InventoryRowList rows = InventoryAnalysisService::filteredRows(
        document, arguments.option(u"search"_s).value_or(QString()), filter, arguments.option(u"location"_s));
    try {
        const LabelPDFResult result =
            LabelPDFService().makeLabelPDF(rows, document.get(), configuration, AppText::currentLanguage());
        if (!writeBytes(*pdfPath, result.pdf)) {
            return failure;
        }
        const QString line = labelsGeneratedMessage(result.labelsDrawn, result.rowsSkipped) + u'\n';
        // With the sheet on standard output, the line goes to standard error to keep the PDF clean.
        if (*pdfPath == u"-") {
            printErr(line);
        } else {
            printOut(line);
        }
        return success;
    } catch (const LabelPDFError& error) {
        printErr(error.localizedDescription() + u'\n');
        return failure;
    }
}

const CommandRegistration labelsCommand(u"labels"_s, labelsUsage, runLabels);

} // namespace

} // namespace tallybrook::cli
