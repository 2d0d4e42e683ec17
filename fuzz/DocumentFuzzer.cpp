// A `.tallybrook` file is written by another application: any bytes must give either a
// validated document with its warnings or exactly one TallybrookImportError that words itself
// in both languages, and the fast parser and the locator of syntax faults must agree on what
// is JSON. A document that imports then goes through what an import sets off (dashboard
// figures, differences, location lists, the correction previews), which must hold for
// whatever the file contained.

#include "FuzzSupport.h"
#include "analysis/InventoryAnalysisService.h"
#include "analysis/InventoryDifferenceAnalyzer.h"
#include "corrections/WooCorrectionBuilder.h"
#include "document/JsonSyntaxLocator.h"
#include "document/TallybrookFileDecoder.h"

#include <simdjson.h>

using namespace tallybrook;

namespace {

struct Outcome {
    std::optional<TallybrookDecodedInventory> decoded;
    std::optional<TallybrookImportError> error;
};

Outcome decode(const QByteArray& bytes) {
    try {
        return {TallybrookFileDecoder().decodeInventoryDocumentWithValidation(bytes), std::nullopt};
    } catch (const TallybrookImportError& error) {
        return {std::nullopt, error};
    } catch (const std::exception& error) {
        fuzz::fail("the decoder threw something else than its import error", QString::fromUtf8(error.what()));
    }
}

void checkError(const TallybrookImportError& error) {
    for (const AppLanguage language : {AppLanguage::french, AppLanguage::english}) {
        fuzz::check(!error.localizedDescription(language).isEmpty(), "an import error without words");
    }
}

// The fast parser only says that a file is not JSON; the locator says where. They must agree
// on what is JSON, or a user would read about a fault that is not there (or about none).
void checkLocatorAgrees(const QByteArray& bytes, const Outcome& outcome) {
    std::string_view text(bytes.constData(), std::size_t(bytes.size()));
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    const QString detail = outcome.error ? outcome.error->detail() : QString();
    const bool parserAccepts = !detail.startsWith(u"invalid JSON") && !detail.startsWith(u"the file is") &&
                               !detail.startsWith(u"not enough memory");
    const auto located = locateJsonSyntaxError(text, TallybrookFileDecoder::maximumNesting);
    if (parserAccepts) {
        fuzz::check(!located, "the locator finds a fault in JSON that the parser reads",
                    located ? located->description() : QString());
    } else if (detail.startsWith(u"invalid JSON: ")) {
        fuzz::fail("the parser refuses JSON in which the locator finds no fault", detail);
    }
}

void importDownstream(const InventoryExportDocument& document) {
    const QList<WooCorrectionPreview> previews = WooCorrectionBuilder().buildPreviews(document, {});
    fuzz::check(previews.size() == document.rows.size(), "not one correction preview per row");
    InventoryAnalysisService::makeAnalysis(document, previews);
    const QStringList locations = InventoryAnalysisService::inventoryLocations(document);
    for (const std::optional<QString>& location :
         {std::optional<QString>(), std::optional<QString>(locations.value(0))}) {
        InventoryDifferenceAnalyzer::differences(document, QString(), location);
        InventoryAnalysisService::unknownCodes(document, location);
    }
    for (const InventoryExportTemporaryItem& item : document.temporaryItems) {
        item.displayStatus(AppLanguage::french);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::useEnglish();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Half of the inputs come with room after their end, which the parser reads in place; the
    // others have none and must be copied (AddressSanitizer sees a read past the end).
    QByteArray bytes;
    if (size % 2 == 0) {
        bytes.reserve(qsizetype(size + simdjson::SIMDJSON_PADDING));
        bytes.append(reinterpret_cast<const char*>(data), qsizetype(size));
        fuzz::check(TallybrookFileDecoder::isReadableInPlace(bytes), "a roomy buffer is not read in place");
    } else {
        bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
        fuzz::check(!TallybrookFileDecoder::isReadableInPlace(bytes),
                    "a buffer without room is read in place");
    }
    const Outcome outcome = decode(bytes);
    checkLocatorAgrees(bytes, outcome);
    if (outcome.error) {
        checkError(*outcome.error);
    } else {
        importDownstream(outcome.decoded->document);
    }
    return 0;
}
