// Row texts come from a file another application wrote, and leave again as CSV files and
// label sheets. Whatever the texts, each CSV export gives bytes or its one typed error (only a
// text that has no UTF-8 form, an unpaired surrogate, may refuse), and the bytes read back, by
// the rules any spreadsheet applies, into exactly the texts that went in. Each label gives a
// code image or a typed label error; the label sheet gives a PDF or a typed error; the file
// name offered for a location never carries a character a file system refuses.
//
// An input is one flag byte, then texts separated by 0x1F, eight per row (item name, variant,
// SKU, barcode, inventory code, location, note, category), at most four rows. Flag bit 0:
// texts are raw UTF-16 code units (so unpaired surrogates occur) instead of UTF-8; bit 1: QR
// codes instead of barcodes; bit 2: a whole PDF sheet instead of the first label's image and
// the other labels' codes; bits 3-4: the label size preset.

#include "FuzzSupport.h"
#include "analysis/InventoryDifferenceAnalyzer.h"
#include "export/InventoryCSVExportService.h"
#include "export/LabelFileName.h"
#include "export/LabelPDFError.h"
#include "export/LabelPDFService.h"
#include "export/LabelPrintableItem.h"
#include "export/LabelRenderer.h"
#include "export/LabelSheetGeometry.h"

#include <QGuiApplication>
#include <QStringDecoder>

using namespace tallybrook;

namespace {

constexpr qsizetype textsPerRow = 8;
constexpr qsizetype maximumRows = 4;

QString textOf(const QByteArray& bytes, bool utf16) {
    if (!utf16) {
        return QString::fromUtf8(bytes);
    }
    QString text(bytes.size() / 2, Qt::Uninitialized);
    std::memcpy(text.data(), bytes.constData(), size_t(text.size()) * 2);
    return text;
}

bool hasUnpairedSurrogate(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
        } else if (text[i].isSurrogate()) {
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// Reading a CSV file back, as RFC 4180 has it: a cell is bare, or between double quotes with
// inner quotes doubled; bare cells never hold a quote or a line break.

struct CsvDialectRules {
    QChar separator;
    QString lineEnd;
    bool byteOrderMark;
};

CsvDialectRules rulesOf(InventoryCSVDialect dialect) {
    if (dialect == InventoryCSVDialect::frenchExcel) {
        return {u';', QStringLiteral("\r\n"), true};
    }
    return {u',', QStringLiteral("\n"), false};
}

QList<QStringList> readCsv(const QByteArray& bytes, const CsvDialectRules& rules) {
    QByteArrayView view(bytes);
    const QByteArrayView mark("\xEF\xBB\xBF");
    fuzz::check(view.startsWith(mark) == rules.byteOrderMark, "byte-order mark present or missing");
    if (rules.byteOrderMark) {
        view = view.sliced(mark.size());
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(view);
    fuzz::check(!decoder.hasError(), "the CSV bytes are not UTF-8");

    QList<QStringList> records{{}};
    qsizetype pos = 0;
    while (true) {
        QString cell;
        if (pos < text.size() && text[pos] == u'"') {
            for (++pos;; ++pos) {
                fuzz::check(pos < text.size(), "a quoted cell is not closed");
                if (text[pos] == u'"') {
                    if (pos + 1 < text.size() && text[pos + 1] == u'"') {
                        ++pos;
                    } else {
                        ++pos;
                        break;
                    }
                }
                cell += text[pos];
            }
        } else {
            while (pos < text.size() && text[pos] != rules.separator &&
                   !QStringView(text).sliced(pos).startsWith(rules.lineEnd)) {
                fuzz::check(text[pos] != u'"' && text[pos] != u'\r' && text[pos] != u'\n',
                            "a bare cell holds a quote or a line break", text);
                cell += text[pos++];
            }
        }
        records.last().append(cell);
        if (pos == text.size()) {
            return records;
        }
        if (text[pos] == rules.separator) {
            ++pos;
        } else {
            fuzz::check(QStringView(text).sliced(pos).startsWith(rules.lineEnd),
                        "a cell runs on after its quote");
            pos += rules.lineEnd.size();
            records.append(QStringList());
        }
    }
}

using Cells = QList<std::pair<qsizetype, std::optional<QString>>>;

/// The cells of each line holding outside text, by column, in the order the lines are written.
template <typename Line, typename CellsOf> QList<Cells> cellsOf(const QList<Line>& lines, CellsOf cells) {
    QList<Cells> result;
    for (const Line& line : lines) {
        result.append(cells(line));
    }
    return result;
}

/// Runs one export and reads it back: none when it refused with its encoding error, which it
/// must do exactly when one of the texts it writes has no UTF-8 form; otherwise every text
/// must read back from its cell.
template <typename Export>
void expectExport(Export makeBytes, InventoryCSVDialect dialect, const QList<Cells>& lines,
                  qsizetype columns) {
    bool encodable = true;
    for (const Cells& cells : lines) {
        for (const auto& [column, text] : cells) {
            encodable = encodable && !(text && hasUnpairedSurrogate(*text));
        }
    }
    QByteArray bytes;
    try {
        bytes = makeBytes(dialect);
    } catch (const InventoryCSVExportError& error) {
        fuzz::check(!encodable, "a CSV export refused texts that UTF-8 can carry");
        fuzz::check(!error.localizedDescription().isEmpty(), "a CSV error without words");
        return;
    }
    fuzz::check(encodable, "a CSV export wrote a text that UTF-8 cannot carry");
    const QList<QStringList> records = readCsv(bytes, rulesOf(dialect));
    fuzz::check(records.size() == lines.size() + 1, "not one CSV record per line written");
    for (const QStringList& record : records) {
        fuzz::check(record.size() == columns, "a CSV record with the wrong number of cells",
                    record.join(u'|'));
    }
    for (qsizetype i = 0; i < lines.size(); ++i) {
        for (const auto& [column, text] : lines[i]) {
            const QString cell = records[i + 1].value(column);
            fuzz::check(cell == text.value_or(QString()), "a CSV cell does not read back as written",
                        cell + u" != " + text.value_or(QString()));
        }
    }
}

InventoryExportDocument documentOf(const QList<QByteArray>& parts, bool utf16) {
    InventoryExportDocument document;
    document.session.id = QStringLiteral("0C1D2E3F-4A5B-4C6D-8E7F-901234567890");
    for (qsizetype first = 0; first < parts.size() && document.rows.size() < maximumRows;
         first += textsPerRow) {
        const auto text = [&](qsizetype i) -> std::optional<QString> {
            if (first + i >= parts.size()) {
                return std::nullopt;
            }
            return textOf(parts[first + i], utf16);
        };
        InventoryExportRow row;
        row.sessionId = document.session.id;
        row.localItemId = QStringLiteral("item-%1").arg(document.rows.size());
        row.itemName = text(0);
        row.variantName = text(1);
        row.sku = text(2);
        row.barcode = text(3);
        row.inventoryCode = text(4);
        row.location = text(5);
        row.note = text(6);
        row.category = text(7);
        row.referenceQuantity = 10;
        row.countedQuantity = 10 - (document.rows.size() + 1);
        row.difference = -(document.rows.size() + 1);
        row.status = InventoryExportRowStatus::difference;
        row.inventoryDate = QDateTime(QDate(2024, 3, 17), QTime(23, 0), Qt::UTC);
        document.rows.append(row);
    }
    return document;
}

void fuzzCsv(const InventoryExportDocument& document) {
    QList<WooCorrectionPreview> previews;
    QList<WooUpdateResultLine> results;
    for (const InventoryExportRow& row : document.rows) {
        WooCorrectionPreview preview;
        preview.itemName = row.itemName.value_or(QString());
        preview.variantName = row.variantName;
        preview.sku = row.sku;
        preview.barcode = row.barcode;
        preview.externalProductId = row.inventoryCode;
        preview.externalVariantId = row.location;
        preview.message = row.note;
        preview.countedQuantity = row.countedQuantity;
        previews.append(preview);
        WooUpdateResultLine result;
        result.itemName = preview.itemName;
        result.externalProductId = row.sku;
        result.externalVariantId = row.barcode;
        result.message = row.note;
        result.updatedAt = row.inventoryDate;
        results.append(result);
    }
    QList<InventoryExportRow> differences;
    for (const InventoryExportRow* row :
         InventoryDifferenceAnalyzer::differences(document, QString(), std::nullopt)) {
        differences.append(*row);
    }
    const QList<Cells> differenceCells = cellsOf(differences, [](const InventoryExportRow& row) {
        return Cells{{7, row.itemName},       {8, row.variantName}, {9, row.sku},       {10, row.barcode},
                     {11, row.inventoryCode}, {12, row.category},   {13, row.location}, {18, row.note}};
    });
    const QList<Cells> correctionCells = cellsOf(previews, [](const WooCorrectionPreview& preview) {
        return Cells{{2, preview.itemName}, {3, preview.variantName},       {4, preview.sku},
                     {5, preview.barcode},  {6, preview.externalProductId}, {7, preview.externalVariantId},
                     {14, preview.message}};
    });
    const QList<Cells> resultCells = cellsOf(results, [](const WooUpdateResultLine& result) {
        return Cells{{1, result.itemName},
                     {2, result.externalProductId},
                     {3, result.externalVariantId},
                     {6, result.message}};
    });
    for (const InventoryCSVDialect dialect :
         {InventoryCSVDialect::frenchExcel, InventoryCSVDialect::standard}) {
        expectExport(
            [&](InventoryCSVDialect d) {
                return InventoryCSVExportService::exportDifferencesCSV(document, std::nullopt, d);
            },
            dialect, differenceCells, 20);
        expectExport(
            [&](InventoryCSVDialect d) {
                return InventoryCSVExportService::exportCorrectionsCSV(previews, d);
            },
            dialect, correctionCells, 15);
        expectExport(
            [&](InventoryCSVDialect d) {
                return InventoryCSVExportService::exportUpdateReportCSV(results, d);
            },
            dialect, resultCells, 8);
    }
}

void expectLabelError(const LabelPDFError& error) {
    fuzz::check(error.kind() == LabelPDFError::Kind::invalidBarcodeValue ||
                    error.kind() == LabelPDFError::Kind::renderingFailed ||
                    error.kind() == LabelPDFError::Kind::noPrintableRows,
                "a label error that texts cannot cause");
    fuzz::check(!error.localizedDescription().isEmpty(), "a label error without words");
}

void fuzzLabels(const InventoryExportDocument& document, std::uint8_t flags) {
    LabelPrintConfiguration configuration;
    configuration.codeKind = (flags & 2) ? LabelCodeKind::qrCode : LabelCodeKind::barcode;
    configuration.sizePreset = allLabelSizePresets[(flags >> 3) % allLabelSizePresets.size()];
    const auto geometry = LabelSheetGeometry::make(configuration);
    fuzz::check(geometry.has_value(), "a preset gives no grid");

    const QList<InventoryExportRow>& rows = document.rows;
    if (flags & 4) {
        try {
            const LabelPDFResult result =
                LabelPDFService().makeLabelPDF(rows, &document, configuration, AppLanguage::english);
            fuzz::check(result.pdf.startsWith("%PDF-"), "the label sheet is not a PDF");
            fuzz::check(result.labelsDrawn + result.rowsSkipped == rows.size(),
                        "labels and skipped rows miscounted");
        } catch (const LabelPDFError& error) {
            expectLabelError(error);
        }
    } else {
        const LabelPrintableItems printable =
            makePrintableItems(rows, &document, configuration.codeKind, AppLanguage::french);
        // Drawing a label costs far more than choosing its code, so only the first is drawn;
        // every code is encoded.
        const LabelRenderer renderer(configuration.codeKind, geometry->labelSize);
        for (const LabelPrintableItem& item : printable.items) {
            fuzz::check(!item.encodedValue.isEmpty() && !item.title.isEmpty(),
                        "a label without code or title");
            try {
                if (&item == &printable.items.constFirst()) {
                    fuzz::check(!renderer.render(item).isNull(), "an empty label image");
                } else {
                    LabelRenderer::codeModules(item.encodedValue, configuration.codeKind);
                }
            } catch (const LabelPDFError& error) {
                expectLabelError(error);
            }
        }
    }

    for (const InventoryExportRow& row : rows) {
        const QString safe = safeLabelFileLocation(row.location.value_or(QString()));
        fuzz::check(safe.size() <= 100, "a file name part longer than 100 characters");
        for (const QChar c : safe) {
            fuzz::check(c.unicode() >= 0x20 && !QStringView(u"/:\\?%*|\"<>").contains(c),
                        "a character a file system refuses in a file name", safe);
        }
        const QString name = labelSheetDefaultFileName(row.location);
        fuzz::check(name.startsWith(u"tallybrook-etiquettes") && name.endsWith(u".pdf"),
                    "a strange file name", name);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Fonts need a GUI application; it lives as long as the process.
    new QGuiApplication(*argc, *argv);
    fuzz::useEnglish();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::uint8_t flags = data[0];
    const InventoryExportDocument document =
        documentOf(fuzz::splitParts(fuzz::bytesOf(data + 1, size - 1), '\x1f'), flags & 1);
    fuzzCsv(document);
    fuzzLabels(document, flags);
    return 0;
}
