#include "analysis/InventoryDifferenceAnalyzer.h"

#include <algorithm>
#include <vector>

namespace tallybrook {

namespace {

// UTF-16 code units ranked in code point order: surrogates (D800..DFFF, which stand for code
// points above FFFF) move past E000..FFFF. Fits in 16 bits.
inline quint16 codePointRank(char16_t unit) {
    if (unit >= 0xE000) {
        return quint16(unit - 0x800);
    }
    if (unit >= 0xD800) {
        return quint16(unit + 0x2000);
    }
    return unit;
}

// |d| without overflow: the most negative value has magnitude 2^63, which fits unsigned.
quint64 magnitude(qint64 difference) {
    return difference < 0 ? quint64(0) - quint64(difference) : quint64(difference);
}

// Text below U+0300 holds no combining character and nothing that composes, so it is already
// in composed form and the normalisation can be skipped.
bool isComposedForSure(QStringView text) {
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x300; });
}

QStringView displayKey(const InventoryExportRow& row) {
    if (row.itemName) {
        return *row.itemName;
    }
    if (row.barcode) {
        return *row.barcode;
    }
    return {};
}

struct SortEntry {
    quint64 magnitude;
    quint64 prefix; // the first four ranked units of the key, zero-padded
    qsizetype keyStart;
    qsizetype keyLength;
    const InventoryExportRow* row;
};

// The keys are composed once, before sorting, into one buffer (close together in memory, as
// the comparisons of a sort want them), and their first units are packed into an integer so
// that most comparisons never read the text. Equal prefixes fall back to the whole keys.
InventoryRowList sortedDifferences(const InventoryRowList& rows) {
    std::vector<SortEntry> entries;
    entries.reserve(size_t(rows.size()));
    QString keys;
    keys.reserve(rows.size() * 24);
    for (const InventoryExportRow* row : rows) {
        const QStringView key = displayKey(*row);
        const qsizetype start = keys.size();
        if (isComposedForSure(key)) {
            keys.append(key);
        } else {
            keys.append(key.toString().normalized(QString::NormalizationForm_C));
        }
        const qsizetype length = keys.size() - start;
        quint64 prefix = 0;
        for (qsizetype i = 0; i < 4; ++i) {
            prefix = (prefix << 16) | (i < length ? codePointRank(keys.at(start + i).unicode()) : 0);
        }
        entries.push_back(SortEntry{magnitude(row->difference.value_or(0)), prefix, start, length, row});
    }
    const QStringView allKeys(keys);
    std::stable_sort(entries.begin(), entries.end(), [allKeys](const SortEntry& a, const SortEntry& b) {
        if (a.magnitude != b.magnitude) {
            return a.magnitude > b.magnitude;
        }
        if (a.prefix != b.prefix) {
            return a.prefix < b.prefix;
        }
        return InventoryDifferenceAnalyzer::compareCodePoints(allKeys.sliced(a.keyStart, a.keyLength),
                                                              allKeys.sliced(b.keyStart, b.keyLength)) < 0;
    });
    InventoryRowList result;
    result.reserve(rows.size());
    for (const SortEntry& entry : entries) {
        result.append(entry.row);
    }
    return result;
}

} // namespace

int InventoryDifferenceAnalyzer::compareCodePoints(QStringView a, QStringView b) {
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        const char16_t x = a[i].unicode();
        const char16_t y = b[i].unicode();
        if (x == y) {
            continue;
        }
        return codePointRank(x) < codePointRank(y) ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

InventoryRowList InventoryDifferenceAnalyzer::differences(const InventoryExportDocument& document,
                                                          const QString& searchText,
                                                          const std::optional<QString>& location) {
    return sortedDifferences(InventoryAnalysisService::filteredRows(
        document, searchText, InventoryRowFilter::differencesOnly, location));
}

InventoryRowList
InventoryDifferenceAnalyzer::differences(const std::shared_ptr<const InventoryExportDocument>& document,
                                         const QString& searchText, const std::optional<QString>& location) {
    return sortedDifferences(InventoryAnalysisService::filteredRows(
        document, searchText, InventoryRowFilter::differencesOnly, location));
}

} // namespace tallybrook
