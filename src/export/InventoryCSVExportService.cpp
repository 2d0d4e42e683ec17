#include "export/InventoryCSVExportService.h"

#include "analysis/InventoryDifferenceAnalyzer.h"
#include "corrections/WooCorrectionStatus.h"
#include "localization/AppText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

namespace tallybrook {

namespace {

bool needsQuotes(QStringView text, QChar separator) {
    return std::any_of(text.cbegin(), text.cend(), [separator](QChar c) {
        return c == u'"' || c == separator || c == u'\n' || c == u'\r';
    });
}

qint64 floorDivide(qint64 value, qint64 divisor) {
    const qint64 quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

char* writeTwoDigits(char* out, qint64 value) {
    *out++ = char('0' + value / 10);
    *out++ = char('0' + value % 10);
    return out;
}

// Room for the longest text writeIso8601 produces (a year of up to 12 digits and a sign).
constexpr qsizetype iso8601MaximumSize = 40;

// Proleptic Gregorian calendar, as QDate uses; written out because formatting through QDateTime
// costs more than the rest of a line, and drops years beyond 9999.
char* writeIso8601(char* out, const QDateTime& instant) {
    if (!instant.isValid()) {
        return out;
    }
    const qint64 seconds = floorDivide(instant.toMSecsSinceEpoch(), 1000);
    const qint64 days = floorDivide(seconds, 86400);
    const qint64 secondOfDay = seconds - days * 86400;

    const qint64 shifted = days + 719468; // days since 0000-03-01
    const qint64 era = floorDivide(shifted, 146097);
    const qint64 dayOfEra = shifted - era * 146097;
    const qint64 yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 monthIndex = (5 * dayOfYear + 2) / 153;
    const qint64 day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const qint64 month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const qint64 year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);

    if (year >= 0 && year <= 9999) {
        out = writeTwoDigits(out, year / 100);
        out = writeTwoDigits(out, year % 100);
    } else {
        if (year < 0) {
            *out++ = '-';
        }
        const qint64 magnitude = year < 0 ? -year : year;
        for (qint64 width = 1000; width > 1 && magnitude < width; width /= 10) {
            *out++ = '0';
        }
        out = std::to_chars(out, out + 20, magnitude).ptr;
    }
    *out++ = '-';
    out = writeTwoDigits(out, month);
    *out++ = '-';
    out = writeTwoDigits(out, day);
    *out++ = 'T';
    out = writeTwoDigits(out, secondOfDay / 3600);
    *out++ = ':';
    out = writeTwoDigits(out, secondOfDay / 60 % 60);
    *out++ = ':';
    out = writeTwoDigits(out, secondOfDay % 60);
    *out++ = 'Z';
    return out;
}

/// Writes the UTF-8 bytes of one file straight into its buffer: escaping, encoding and the
/// check for unpaired surrogates happen in one pass over each cell.
class CsvWriter {
public:
    /// `fileStart`: whether the bytes begin a file (and take the dialect's byte-order mark).
    CsvWriter(InventoryCSVDialect dialect, qsizetype expectedLines, bool fileStart = true)
        : rules_(rulesOf(dialect)) {
        bytes_.resize(expectedLines * 192 + 1024);
        if (fileStart && rules_.byteOrderMark) {
            writeAscii("\xEF\xBB\xBF");
        }
    }

    void headerLine(std::initializer_list<QStringView> headers) {
        for (const QStringView header : headers) {
            cell(header);
        }
    }
    void nextLine() {
        writeAscii(rules_.lineEnd);
        firstCell_ = true;
    }
    /// Starts a line without a line end before it (a line kept apart, see `written`).
    void startLine() { firstCell_ = true; }
    /// Appends bytes already written by another writer of the same dialect.
    void append(std::string_view bytes) { writeAscii(bytes); }

    qsizetype size() const { return size_; }
    /// The bytes written from `start` to `end`.
    std::string_view written(qsizetype start, qsizetype end) const {
        return std::string_view(bytes_.constData() + start, std::size_t(end - start));
    }

    void cell(QStringView text) {
        separate();
        writeEscaped(text);
    }
    void cell(const std::optional<QString>& text) {
        separate();
        if (text) {
            writeEscaped(*text);
        }
    }
    void cell(const std::optional<qint64>& value) {
        separate();
        if (value) {
            char* out = room(24);
            size_ += std::to_chars(out, out + 24, *value).ptr - out;
        }
    }
    void cell(bool value) {
        separate();
        writeAscii(value ? "1" : "0");
    }
    // Digits, dashes, colons: never escaped.
    void dateCell(const QDateTime& instant) {
        separate();
        char* out = room(iso8601MaximumSize);
        size_ += writeIso8601(out, instant) - out;
    }
    void dateCell(const std::optional<QDateTime>& instant) {
        if (instant) {
            dateCell(*instant);
        } else {
            separate();
        }
    }

    /// The file's bytes; the writer is spent afterwards.
    QByteArray take() {
        bytes_.truncate(size_);
        return std::move(bytes_);
    }

private:
    char* room(qsizetype needed) {
        if (size_ + needed > bytes_.size()) {
            bytes_.resize(std::max(bytes_.size() * 2, size_ + needed));
        }
        return bytes_.data() + size_;
    }
    void writeAscii(std::string_view text) {
        std::copy(text.cbegin(), text.cend(), room(qsizetype(text.size())));
        size_ += qsizetype(text.size());
    }
    void separate() {
        if (!firstCell_) {
            *room(1) = char(rules_.separator.unicode());
            ++size_;
        }
        firstCell_ = false;
    }

    void writeEscaped(QStringView text) {
        const bool quoted = needsQuotes(text, rules_.separator);
        // At most three bytes per code unit (a doubled quote takes two), plus the quotes.
        char* const first = room(text.size() * 3 + 2);
        char* out = first;
        if (quoted) {
            *out++ = '"';
        }
        const qsizetype size = text.size();
        const char16_t* source = text.utf16();
        for (qsizetype i = 0; i < size; ++i) {
            const char16_t unit = source[i];
            if (unit < 0x80) {
                *out++ = char(unit);
                if (unit == u'"') {
                    *out++ = '"';
                }
            } else if (unit < 0x800) {
                *out++ = char(0xC0 | (unit >> 6));
                *out++ = char(0x80 | (unit & 0x3F));
            } else if (!QChar::isSurrogate(unit)) {
                *out++ = char(0xE0 | (unit >> 12));
                *out++ = char(0x80 | ((unit >> 6) & 0x3F));
                *out++ = char(0x80 | (unit & 0x3F));
            } else if (QChar::isHighSurrogate(unit) && i + 1 < size && QChar::isLowSurrogate(source[i + 1])) {
                const char32_t c = QChar::surrogateToUcs4(unit, source[++i]);
                *out++ = char(0xF0 | (c >> 18));
                *out++ = char(0x80 | ((c >> 12) & 0x3F));
                *out++ = char(0x80 | ((c >> 6) & 0x3F));
                *out++ = char(0x80 | (c & 0x3F));
            } else {
                // Half a pair: no UTF-8 for it, and replacing it would change the data.
                throw InventoryCSVExportError::encodingFailed();
            }
        }
        if (quoted) {
            *out++ = '"';
        }
        size_ += out - first;
    }

    struct Rules {
        QChar separator;
        std::string_view lineEnd;
        bool byteOrderMark;
    };
    static Rules rulesOf(InventoryCSVDialect dialect) {
        if (dialect == InventoryCSVDialect::frenchExcel) {
            return {u';', "\r\n", true};
        }
        return {u',', "\n", false};
    }

    Rules rules_;
    QByteArray bytes_;
    qsizetype size_ = 0;
    bool firstCell_ = true;
};

} // namespace

QByteArray InventoryCSVExportService::exportDifferencesCSV(const InventoryExportDocument& document,
                                                           const std::optional<QString>& location,
                                                           InventoryCSVDialect dialect) {
    const InventoryRowList rows = InventoryDifferenceAnalyzer::differences(document, QString(), location);
    const bool french = dialect == InventoryCSVDialect::frenchExcel;
    std::array<QString, allInventoryExportRowStatuses.size()> statusCells;
    const AppLanguage language = AppText::currentLanguage();
    for (const InventoryExportRowStatus status : allInventoryExportRowStatuses) {
        statusCells[size_t(status)] = french ? label(status, language) : rawValue(status);
    }

    // The lines are written in document order, the order in which the rows' texts lie in
    // memory, and only then copied out in the sorted order: walking a large document in the
    // sorted order would wait on memory for nearly every cell.
    std::vector<qsizetype> placeOfRow(size_t(document.rows.size()), -1);
    for (qsizetype place = 0; place < rows.size(); ++place) {
        placeOfRow[size_t(rows[place] - document.rows.constData())] = place;
    }
    std::vector<std::pair<qsizetype, qsizetype>> lineOfPlace(size_t(rows.size()));
    CsvWriter lines(dialect, rows.size(), false);
    for (qsizetype index = 0; index < document.rows.size(); ++index) {
        const qsizetype place = placeOfRow[size_t(index)];
        if (place < 0) {
            continue;
        }
        const InventoryExportRow* row = &document.rows[index];
        const qsizetype start = lines.size();
        lines.startLine();
        lines.cell(row->sessionId);
        lines.cell(QStringView(row->sessionName));
        lines.dateCell(row->inventoryDate);
        lines.cell(QStringView(row->source));
        lines.cell(row->externalProductId);
        lines.cell(row->externalVariantId);
        lines.cell(row->localItemId);
        lines.cell(row->itemName);
        lines.cell(row->variantName);
        lines.cell(row->sku);
        lines.cell(row->barcode);
        lines.cell(row->inventoryCode);
        lines.cell(row->category);
        lines.cell(row->location);
        lines.cell(row->referenceQuantity);
        lines.cell(row->countedQuantity);
        lines.cell(row->difference);
        lines.cell(QStringView(statusCells[size_t(row->status)]));
        lines.cell(row->note);
        lines.dateCell(row->lastScannedAt);
        lineOfPlace[size_t(place)] = {start, lines.size()};
    }

    CsvWriter csv(dialect, rows.size());
    if (french) {
        csv.headerLine({u"ID session",
                        u"Nom session",
                        u"Date inventaire",
                        u"Source",
                        u"ID produit externe",
                        u"ID variation externe",
                        u"ID local",
                        u"Article",
                        u"Variation",
                        u"SKU",
                        u"Code-barres",
                        u"Code inventaire",
                        u"Categorie",
                        u"Emplacement",
                        u"Quantité de référence",
                        u"Quantité comptée",
                        u"Écart",
                        u"Statut",
                        u"Note",
                        u"Dernier scan"});
    } else {
        csv.headerLine({u"session_id",
                        u"session_name",
                        u"inventory_date",
                        u"source",
                        u"external_product_id",
                        u"external_variant_id",
                        u"local_item_id",
                        u"item_name",
                        u"variant_name",
                        u"sku",
                        u"barcode",
                        u"inventory_code",
                        u"category",
                        u"location",
                        u"reference_quantity",
                        u"counted_quantity",
                        u"difference",
                        u"status",
                        u"note",
                        u"last_scanned_at"});
    }
    for (const auto& [start, end] : lineOfPlace) {
        csv.nextLine();
        csv.append(lines.written(start, end));
    }
    return csv.take();
}

QByteArray InventoryCSVExportService::exportCorrectionsCSV(const QList<WooCorrectionPreview>& corrections,
                                                           InventoryCSVDialect dialect) {
    const bool french = dialect == InventoryCSVDialect::frenchExcel;
    std::array<QString, allWooCorrectionStatuses.size()> statusCells;
    const AppLanguage language = AppText::currentLanguage();
    for (const WooCorrectionStatus status : allWooCorrectionStatuses) {
        statusCells[size_t(status)] = french ? displayName(status, language) : rawValue(status);
    }

    CsvWriter csv(dialect, corrections.size());
    if (french) {
        csv.headerLine({u"Selection", u"Statut", u"Article", u"Variation", u"SKU", u"Code-barres",
                        u"ID produit", u"ID variation", u"Stock reference", u"Stock Woo actuel",
                        u"Quantité comptée", u"Quantité proposée", u"Écart référence", u"Écart Woo actuel",
                        u"Message"});
    } else {
        csv.headerLine({u"is_selected", u"status", u"item_name", u"variant_name", u"sku", u"barcode",
                        u"external_product_id", u"external_variant_id", u"reference_quantity",
                        u"current_remote_quantity", u"counted_quantity", u"proposed_quantity",
                        u"difference_from_reference", u"difference_from_current_remote", u"message"});
    }
    for (const WooCorrectionPreview& preview : corrections) {
        csv.nextLine();
        csv.cell(preview.isSelected);
        csv.cell(QStringView(statusCells[size_t(preview.status)]));
        csv.cell(QStringView(preview.itemName));
        csv.cell(preview.variantName);
        csv.cell(preview.sku);
        csv.cell(preview.barcode);
        csv.cell(preview.externalProductId);
        csv.cell(preview.externalVariantId);
        csv.cell(preview.referenceQuantityAtInventory);
        csv.cell(preview.currentRemoteQuantity);
        csv.cell(preview.countedQuantity);
        csv.cell(preview.proposedQuantity);
        csv.cell(preview.differenceFromReference);
        csv.cell(preview.differenceFromCurrentRemote);
        csv.cell(preview.message);
    }
    return csv.take();
}

QByteArray InventoryCSVExportService::exportUpdateReportCSV(const QList<WooUpdateResultLine>& results,
                                                            InventoryCSVDialect dialect) {
    CsvWriter csv(dialect, results.size());
    if (dialect == InventoryCSVDialect::frenchExcel) {
        csv.headerLine({u"Succes", u"Article", u"ID produit", u"ID variation", u"Quantité demandée",
                        u"Stock Woo après", u"Message", u"Date envoi"});
    } else {
        csv.headerLine({u"success", u"item_name", u"external_product_id", u"external_variant_id",
                        u"requested_quantity", u"remote_quantity_after_update", u"message", u"updated_at"});
    }
    for (const WooUpdateResultLine& line : results) {
        csv.nextLine();
        csv.cell(line.success);
        csv.cell(QStringView(line.itemName));
        csv.cell(line.externalProductId);
        csv.cell(line.externalVariantId);
        csv.cell(line.requestedQuantity);
        csv.cell(line.remoteQuantityAfterUpdate);
        csv.cell(line.message);
        csv.dateCell(line.updatedAt);
    }
    return csv.take();
}

QString InventoryCSVExportService::escape(QStringView text, QChar separator) {
    if (!needsQuotes(text, separator)) {
        return text.toString();
    }
    QString out;
    out.reserve(text.size() + 4);
    out.append(u'"');
    for (const QChar c : text) {
        out.append(c);
        if (c == u'"') {
            out.append(u'"');
        }
    }
    out.append(u'"');
    return out;
}

QString InventoryCSVExportService::iso8601Text(const QDateTime& instant) {
    std::array<char, iso8601MaximumSize> buffer{};
    const char* end = writeIso8601(buffer.data(), instant);
    return QString::fromLatin1(buffer.data(), end - buffer.data());
}

} // namespace tallybrook
