#include "document/TallybrookFileDecoder.h"

#include "core/TextRules.h"
#include "document/InternetDateTime.h"
#include "document/JsonSyntaxLocator.h"
#include "document/SnakeCaseKey.h"
#include "localization/AppText.h"

#include <simdjson.h>

#include <array>
#include <bitset>
#include <functional>
#include <initializer_list>
#include <new>
#include <string>
#include <string_view>
#include <vector>

namespace tallybrook {

namespace {

using simdjson::dom::element;
using simdjson::dom::element_type;

// ---------------------------------------------------------------------------------------------
// Paths: where a value sits in the document, for error messages. Nodes live on the stack of the
// reading functions and are rendered only when something fails.

struct Path {
    const Path* parent = nullptr;
    std::string_view key; // field name; empty for an array element
    qsizetype index = -1; // array index; -1 for a field
};

QString pathText(const Path* path) {
    std::vector<const Path*> nodes;
    for (const Path* node = path; node; node = node->parent) {
        nodes.push_back(node);
    }
    QString text;
    for (auto it = nodes.rbegin(); it != nodes.rend(); ++it) {
        const Path* node = *it;
        if (node->index >= 0) {
            text += u'[' + QString::number(node->index) + u']';
        } else {
            if (!text.isEmpty()) {
                text += u'.';
            }
            text += QString::fromUtf8(node->key.data(), qsizetype(node->key.size()));
        }
    }
    return text;
}

// Inventories repeat the same short texts on every row (session id and name, source,
// category, location): equal bytes get one shared QString instead of an allocation per row.
// Equal bytes always decode to equal text, so sharing never changes a value.
QString utf8Text(std::string_view bytes) {
    constexpr std::size_t longestShared = 48;
    if (bytes.size() > longestShared) {
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    }
    struct Recent {
        std::string bytes;
        QString text;
        bool used = false;
    };
    thread_local std::array<Recent, 256> recent;
    Recent& entry = recent[std::hash<std::string_view>{}(bytes) % recent.size()];
    if (!entry.used || entry.bytes != bytes) {
        entry.bytes.assign(bytes);
        entry.text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
        entry.used = true;
    }
    return entry.text;
}

// A value quoted for a message; long values are cut so that a huge string cannot make a huge
// message.
QString quoted(std::string_view bytes) {
    constexpr qsizetype shownCharacters = 64;
    const QString head = utf8Text(bytes.substr(0, size_t(shownCharacters) * 4));
    if (head.size() > shownCharacters || bytes.size() > size_t(shownCharacters) * 4) {
        return u'"' + head.left(shownCharacters) + QStringLiteral("…\"");
    }
    return u'"' + head + u'"';
}

QString foundText(element value) {
    switch (value.type()) {
    case element_type::STRING:
        return quoted(value.get_string().value_unsafe());
    case element_type::ARRAY:
        return QStringLiteral("an array");
    case element_type::OBJECT:
        return QStringLiteral("an object");
    case element_type::INT64:
    case element_type::UINT64:
    case element_type::DOUBLE:
    case element_type::BOOL:
    case element_type::NULL_VALUE:
        break;
    }
    return QString::fromStdString(simdjson::minify(value));
}

[[noreturn]] void fail(const Path& path, const QString& message) {
    const QString where = pathText(&path);
    throw TallybrookImportError::invalidFormat(where.isEmpty() ? message
                                                               : where + QStringLiteral(": ") + message);
}

[[noreturn]] void typeMismatch(const Path& path, const char* expected, element value) {
    fail(path, QStringLiteral("expected ") + QString::fromLatin1(expected) + QStringLiteral(", found ") +
                   foundText(value));
}

// ---------------------------------------------------------------------------------------------
// Keys. Each record has a table of the camel-case keys it reads; the index of a key in its
// table is the field's slot.

template <std::size_t N> struct KeyTable {
    std::array<std::string_view, N> keys;

    // Few keys per record, so a scan that rejects on length first beats hashing.
    int indexOf(std::string_view key) const {
        for (std::size_t i = 0; i < N; ++i) {
            if (keys[i].size() == key.size() && keys[i] == key) {
                return int(i);
            }
        }
        return -1;
    }
};

namespace documentKeys {
enum : int {
    format,
    formatVersion,
    exportedAt,
    appName,
    appVersion,
    deviceName,
    source,
    session,
    summary,
    rows,
    unknownCodes,
    temporaryItems,
    scanAliasesCreated,
};
constexpr KeyTable<13> table{{"format", "formatVersion", "exportedAt", "appName", "appVersion", "deviceName",
                              "source", "session", "summary", "rows", "unknownCodes", "temporaryItems",
                              "scanAliasesCreated"}};
} // namespace documentKeys

namespace sourceKeys {
enum : int { type, displayName, locationId, locationName };
constexpr KeyTable<4> table{{"type", "displayName", "locationId", "locationName"}};
} // namespace sourceKeys

namespace sessionKeys {
enum : int { id, name, status, createdAt, startedAt, closedAt, inventoryDate, stockReferenceDate };
constexpr KeyTable<8> table{
    {"id", "name", "status", "createdAt", "startedAt", "closedAt", "inventoryDate", "stockReferenceDate"}};
} // namespace sessionKeys

namespace summaryKeys {
constexpr KeyTable<11> table{{"totalRows", "countedRows", "notCountedRows", "differenceRows",
                              "unknownCodeRows", "temporaryItemRows", "errorRows", "totalCountedQuantity",
                              "unknownCodesCount", "temporaryItemsCount", "scanAliasesCreatedCount"}};
} // namespace summaryKeys

namespace rowKeys {
enum : int {
    sessionId,
    sessionName,
    inventoryDate,
    source,
    externalProductId,
    externalVariantId,
    localItemId,
    itemName,
    variantName,
    sku,
    barcode,
    barCode,
    codeBarres,
    ean,
    gtin,
    upc,
    globalUniqueId,
    globalUniqueID,
    inventoryCode,
    scannedCode,
    category,
    location,
    referenceQuantity,
    countedQuantity,
    difference,
    status,
    note,
    lastScannedAt,
};
constexpr KeyTable<28> table{{"sessionId",
                              "sessionName",
                              "inventoryDate",
                              "source",
                              "externalProductId",
                              "externalVariantId",
                              "localItemId",
                              "itemName",
                              "variantName",
                              "sku",
                              "barcode",
                              "barCode",
                              "codeBarres",
                              "ean",
                              "gtin",
                              "upc",
                              "globalUniqueId",
                              "globalUniqueID",
                              "inventoryCode",
                              "scannedCode",
                              "category",
                              "location",
                              "referenceQuantity",
                              "countedQuantity",
                              "difference",
                              "status",
                              "note",
                              "lastScannedAt"}};
} // namespace rowKeys

namespace unknownCodeKeys {
enum : int { sessionId, code, quantity, location, note, lastScannedAt };
constexpr KeyTable<6> table{{"sessionId", "code", "quantity", "location", "note", "lastScannedAt"}};
} // namespace unknownCodeKeys

namespace temporaryItemKeys {
enum : int {
    id,
    sessionId,
    scannedCode,
    provisionalName,
    quantity,
    location,
    note,
    photoLocalPath,
    createdAt,
    status,
};
constexpr KeyTable<10> table{{"id", "sessionId", "scannedCode", "provisionalName", "quantity", "location",
                              "note", "photoLocalPath", "createdAt", "status"}};
} // namespace temporaryItemKeys

namespace scanAliasKeys {
enum : int { id, code, itemLocalId, itemName, source, createdAt };
constexpr KeyTable<6> table{{"id", "code", "itemLocalId", "itemName", "source", "createdAt"}};
} // namespace scanAliasKeys

// The values of one JSON object by slot. A null value counts as absent; of repeated keys the
// last one wins, as in a dictionary.
template <std::size_t N> struct Fields {
    std::array<element, N> values;
    std::bitset<N> present;
};

// ---------------------------------------------------------------------------------------------
// Scalars

QString readText(element value, const Path& path) {
    if (value.type() != element_type::STRING) {
        typeMismatch(path, "text", value);
    }
    return utf8Text(value.get_string().value_unsafe());
}

qint64 readInteger(element value, const Path& path) {
    switch (value.type()) {
    case element_type::INT64:
        return value.get_int64().value_unsafe();
    case element_type::UINT64:
        typeMismatch(path, "a whole number within 64 bits", value);
    default:
        typeMismatch(path, "a whole number", value);
    }
}

// Empty text is no date; anything else must be an internet date-time with a zone.
std::optional<QDateTime> readDate(element value, const Path& path) {
    if (value.type() != element_type::STRING) {
        typeMismatch(path, "a date text (ISO 8601)", value);
    }
    const std::string_view text = value.get_string().value_unsafe();
    if (text.empty()) {
        return std::nullopt;
    }
    if (auto date = parseInternetDateTime(text)) {
        return date;
    }
    const QString shown = text.size() > 256 ? quoted(text) : utf8Text(text);
    fail(path, AppText::formatted(u"date.invalidISO8601", {shown}));
}

InventoryExportRowStatus readStatus(element value, const Path& path) {
    // The raw values as bytes, built once from the one definition of the raw values.
    static const std::array<QByteArray, allInventoryExportRowStatuses.size()> rawBytes = [] {
        std::array<QByteArray, allInventoryExportRowStatuses.size()> bytes;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            bytes[i] = rawValue(allInventoryExportRowStatuses[i]).toUtf8();
        }
        return bytes;
    }();
    if (value.type() != element_type::STRING) {
        typeMismatch(path, "a row status text", value);
    }
    const std::string_view text = value.get_string().value_unsafe();
    for (std::size_t i = 0; i < rawBytes.size(); ++i) {
        if (text == std::string_view(rawBytes[i].constData(), size_t(rawBytes[i].size()))) {
            return allInventoryExportRowStatuses[i];
        }
    }
    QStringList accepted;
    for (const QByteArray& raw : rawBytes) {
        accepted.append(QString::fromUtf8(raw));
    }
    fail(path, QStringLiteral("expected one of ") + accepted.join(QStringLiteral(", ")) +
                   QStringLiteral(", found ") + quoted(text));
}

// Reads the slots of one record, naming each value's path after its field.
template <std::size_t N> class FieldReader {
public:
    FieldReader(const Fields<N>& fields, const KeyTable<N>& table, const Path* parent)
        : fields_(fields)
        , table_(table)
        , parent_(parent) {}

    bool has(int slot) const { return fields_.present[std::size_t(slot)]; }
    element value(int slot) const { return fields_.values[std::size_t(slot)]; }
    Path path(int slot) const { return Path{parent_, table_.keys[std::size_t(slot)], -1}; }

    void text(int slot, QString& out) const {
        if (has(slot)) {
            out = readText(value(slot), path(slot));
        }
    }
    void text(int slot, std::optional<QString>& out) const {
        if (has(slot)) {
            out = readText(value(slot), path(slot));
        }
    }
    void integer(int slot, qint64& out) const {
        if (has(slot)) {
            out = readInteger(value(slot), path(slot));
        }
    }
    void integer(int slot, std::optional<qint64>& out) const {
        if (has(slot)) {
            out = readInteger(value(slot), path(slot));
        }
    }
    std::optional<QDateTime> date(int slot) const {
        return has(slot) ? readDate(value(slot), path(slot)) : std::nullopt;
    }
    void date(int slot, QDateTime& out) const {
        if (auto read = date(slot)) {
            out = std::move(*read);
        }
    }
    void date(int slot, std::optional<QDateTime>& out) const { out = date(slot); }

    // The first key of `keySlots` holding non-blank text, trimmed; none when every key is absent,
    // null or blank. A key that is not text fails even when a later key would do.
    std::optional<QString> aliasText(std::initializer_list<int> keySlots) const {
        for (const int slot : keySlots) {
            if (!has(slot)) {
                continue;
            }
            QString text = readText(value(slot), path(slot)).trimmed();
            if (!text.isEmpty()) {
                return text;
            }
        }
        return std::nullopt;
    }

private:
    const Fields<N>& fields_;
    const KeyTable<N>& table_;
    const Path* parent_;
};

// ---------------------------------------------------------------------------------------------
// Records

class DocumentReader {
public:
    InventoryExportDocument document(element root);

private:
    template <std::size_t N> Fields<N> fields(element value, const KeyTable<N>& table, const Path& path);

    template <class Record, class ReadOne>
    void list(element value, const Path& path, QList<Record>& out, ReadOne readOne);

    InventoryExportSource readSource(element value, const Path& path);
    InventoryExportSession readSession(element value, const Path& path);
    InventoryExportSummary readSummary(element value, const Path& path);
    void readRow(element value, const Path& path, InventoryExportRow& row);
    void readUnknownCode(element value, const Path& path, InventoryExportUnknownCode& code);
    void readTemporaryItem(element value, const Path& path, InventoryExportTemporaryItem& item);
    void readScanAlias(element value, const Path& path, InventoryExportScanAlias& alias);

    std::string keyBuffer_;
};

template <std::size_t N>
Fields<N> DocumentReader::fields(element value, const KeyTable<N>& table, const Path& path) {
    if (value.type() != element_type::OBJECT) {
        typeMismatch(path, "an object", value);
    }
    const simdjson::dom::object object = value.get_object().value_unsafe();
    Fields<N> result;
    for (const simdjson::dom::key_value_pair field : object) {
        const int slot = table.indexOf(convertFromSnakeCase(field.key, keyBuffer_));
        if (slot < 0) {
            continue;
        }
        if (field.value.type() == element_type::NULL_VALUE) {
            result.present.reset(std::size_t(slot));
        } else {
            result.present.set(std::size_t(slot));
            result.values[std::size_t(slot)] = field.value;
        }
    }
    return result;
}

template <class Record, class ReadOne>
void DocumentReader::list(element value, const Path& path, QList<Record>& out, ReadOne readOne) {
    if (value.type() != element_type::ARRAY) {
        typeMismatch(path, "an array", value);
    }
    const simdjson::dom::array array = value.get_array().value_unsafe();
    out.reserve(qsizetype(array.size()));
    qsizetype index = 0;
    for (const element item : array) {
        const Path itemPath{&path, {}, index++};
        (this->*readOne)(item, itemPath, out.emplace_back());
    }
}

InventoryExportDocument DocumentReader::document(element root) {
    using namespace documentKeys;
    if (root.type() != element_type::OBJECT) {
        throw TallybrookImportError::invalidFormat(
            QStringLiteral("the document must be a JSON object, found ") + foundText(root));
    }
    const Fields<13> values = fields(root, table, Path{});
    const FieldReader reader(values, table, nullptr);
    InventoryExportDocument document;
    reader.text(format, document.format);
    reader.integer(formatVersion, document.formatVersion);
    reader.date(exportedAt, document.exportedAt);
    reader.text(appName, document.appName);
    reader.text(appVersion, document.appVersion);
    reader.text(deviceName, document.deviceName);
    if (reader.has(source)) {
        const Path path = reader.path(source);
        document.source = readSource(reader.value(source), path);
    }
    if (!reader.has(session)) {
        throw TallybrookImportError::missingSession();
    }
    {
        const Path path = reader.path(session);
        document.session = readSession(reader.value(session), path);
    }
    if (reader.has(summary)) {
        const Path path = reader.path(summary);
        document.summary = readSummary(reader.value(summary), path);
    }
    if (reader.has(rows)) {
        const Path path = reader.path(rows);
        list(reader.value(rows), path, document.rows, &DocumentReader::readRow);
    }
    if (reader.has(unknownCodes)) {
        const Path path = reader.path(unknownCodes);
        list(reader.value(unknownCodes), path, document.unknownCodes, &DocumentReader::readUnknownCode);
    }
    if (reader.has(temporaryItems)) {
        const Path path = reader.path(temporaryItems);
        list(reader.value(temporaryItems), path, document.temporaryItems, &DocumentReader::readTemporaryItem);
    }
    if (reader.has(scanAliasesCreated)) {
        const Path path = reader.path(scanAliasesCreated);
        list(reader.value(scanAliasesCreated), path, document.scanAliasesCreated,
             &DocumentReader::readScanAlias);
    }
    return document;
}

InventoryExportSource DocumentReader::readSource(element value, const Path& path) {
    using namespace sourceKeys;
    const Fields<4> values = fields(value, table, path);
    const FieldReader reader(values, table, &path);
    InventoryExportSource source;
    // The only required keys below the top level. Each is checked and read in field order, so
    // a wrong `type` is reported before a missing `displayName`.
    const std::pair<int, QString*> requiredFields[] = {{type, &source.type},
                                                       {displayName, &source.displayName}};
    for (const auto& [required, field] : requiredFields) {
        if (!reader.has(required)) {
            const std::string_view key = table.keys[std::size_t(required)];
            throw TallybrookImportError::invalidFormat(
                AppText::formatted(u"importError.missingKey", {utf8Text(key), pathText(&path)}));
        }
        reader.text(required, *field);
    }
    reader.text(locationId, source.locationId);
    reader.text(locationName, source.locationName);
    return source;
}

InventoryExportSession DocumentReader::readSession(element value, const Path& path) {
    using namespace sessionKeys;
    const Fields<8> values = fields(value, table, path);
    const FieldReader reader(values, table, &path);
    InventoryExportSession session;
    reader.text(id, session.id);
    reader.text(name, session.name);
    reader.text(status, session.status);
    reader.date(createdAt, session.createdAt);
    reader.date(startedAt, session.startedAt);
    reader.date(closedAt, session.closedAt);
    session.inventoryDate = reader.date(inventoryDate).value_or(session.createdAt);
    reader.date(stockReferenceDate, session.stockReferenceDate);
    return session;
}

InventoryExportSummary DocumentReader::readSummary(element value, const Path& path) {
    const Fields<11> values = fields(value, summaryKeys::table, path);
    const FieldReader reader(values, summaryKeys::table, &path);
    InventoryExportSummary summary;
    qint64* const counts[] = {&summary.totalRows,
                              &summary.countedRows,
                              &summary.notCountedRows,
                              &summary.differenceRows,
                              &summary.unknownCodeRows,
                              &summary.temporaryItemRows,
                              &summary.errorRows,
                              &summary.totalCountedQuantity,
                              &summary.unknownCodesCount,
                              &summary.temporaryItemsCount,
                              &summary.scanAliasesCreatedCount};
    for (int slot = 0; slot < int(std::size(counts)); ++slot) {
        reader.integer(slot, *counts[slot]);
    }
    return summary;
}

void DocumentReader::readRow(element value, const Path& path, InventoryExportRow& row) {
    using namespace rowKeys;
    const Fields<28> values = fields(value, table, path);
    const FieldReader reader(values, table, &path);
    reader.text(sessionId, row.sessionId);
    reader.text(sessionName, row.sessionName);
    reader.date(inventoryDate, row.inventoryDate);
    reader.text(source, row.source);
    reader.text(externalProductId, row.externalProductId);
    reader.text(externalVariantId, row.externalVariantId);
    reader.text(localItemId, row.localItemId);
    reader.text(itemName, row.itemName);
    reader.text(variantName, row.variantName);
    reader.text(sku, row.sku);
    row.barcode =
        reader.aliasText({barcode, barCode, codeBarres, ean, gtin, upc, globalUniqueId, globalUniqueID});
    row.inventoryCode = reader.aliasText({inventoryCode, scannedCode});
    reader.text(category, row.category);
    reader.text(location, row.location);
    reader.integer(referenceQuantity, row.referenceQuantity);
    reader.integer(countedQuantity, row.countedQuantity);
    reader.integer(difference, row.difference);
    if (reader.has(status)) {
        row.status = readStatus(reader.value(status), reader.path(status));
    }
    reader.text(note, row.note);
    reader.date(lastScannedAt, row.lastScannedAt);
}

void DocumentReader::readUnknownCode(element value, const Path& path, InventoryExportUnknownCode& code) {
    using namespace unknownCodeKeys;
    const Fields<6> values = fields(value, table, path);
    const FieldReader reader(values, table, &path);
    reader.text(sessionId, code.sessionId);
    reader.text(unknownCodeKeys::code, code.code);
    reader.integer(quantity, code.quantity);
    reader.text(location, code.location);
    reader.text(note, code.note);
    reader.date(lastScannedAt, code.lastScannedAt);
}

void DocumentReader::readTemporaryItem(element value, const Path& path, InventoryExportTemporaryItem& item) {
    using namespace temporaryItemKeys;
    const Fields<10> values = fields(value, table, path);
    const FieldReader reader(values, table, &path);
    item.id = reader.has(id) ? readText(reader.value(id), reader.path(id)) : newUuidText();
    reader.text(sessionId, item.sessionId);
    reader.text(scannedCode, item.scannedCode);
    reader.text(provisionalName, item.provisionalName);
    reader.integer(quantity, item.quantity);
    reader.text(location, item.location);
    reader.text(note, item.note);
    reader.text(photoLocalPath, item.photoLocalPath);
    reader.date(createdAt, item.createdAt);
    reader.text(status, item.status);
}

void DocumentReader::readScanAlias(element value, const Path& path, InventoryExportScanAlias& alias) {
    using namespace scanAliasKeys;
    const Fields<6> values = fields(value, table, path);
    const FieldReader reader(values, table, &path);
    alias.id = reader.has(id) ? readText(reader.value(id), reader.path(id)) : newUuidText();
    reader.text(code, alias.code);
    reader.text(itemLocalId, alias.itemLocalId);
    reader.text(itemName, alias.itemName);
    reader.text(source, alias.source);
    reader.date(createdAt, alias.createdAt);
}

// ---------------------------------------------------------------------------------------------

QString invalidJsonDetail(std::string_view input, std::size_t skippedPrefix, simdjson::error_code error) {
    switch (error) {
    case simdjson::EMPTY:
        return QStringLiteral("the file is empty (no JSON value found)");
    case simdjson::CAPACITY:
        return QStringLiteral("the file is too large to be read");
    case simdjson::MEMALLOC:
        return QStringLiteral("not enough memory to read the file");
    default:
        break;
    }
    if (auto located = locateJsonSyntaxError(input, TallybrookFileDecoder::maximumNesting)) {
        located->offset += qsizetype(skippedPrefix);
        return QStringLiteral("invalid JSON at ") + located->description();
    }
    return QStringLiteral("invalid JSON: ") + QString::fromUtf8(simdjson::error_message(error));
}

static_assert(TallybrookFileDecoder::roomAfterEndForReadingInPlace == qsizetype(simdjson::SIMDJSON_PADDING),
              "readers reserve the room the parser reads past the end");
static_assert(TallybrookFileDecoder::maximumNesting == simdjson::DEFAULT_MAX_DEPTH,
              "the error locator must report the parser's own nesting limit");

} // namespace

InventoryExportDocument TallybrookFileDecoder::readDocument(const QByteArray& bytes) {
    std::string_view input(bytes.constData(), std::size_t(bytes.size()));
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    std::size_t skippedPrefix = 0;
    if (input.substr(0, byteOrderMark.size()) == byteOrderMark) {
        input.remove_prefix(byteOrderMark.size());
        skippedPrefix = byteOrderMark.size();
    }
    try {
        // A byte array read from a file usually has spare room after its end, which saves
        // copying a large file; otherwise the parser gets a padded copy.
        simdjson::dom::parser parser;
        simdjson::padded_string copy;
        const bool hasPadding = isReadableInPlace(bytes);
        if (!hasPadding) {
            copy = simdjson::padded_string(input);
            if (copy.size() != input.size()) {
                throw std::bad_alloc();
            }
        }
        element root;
        const auto parsed = hasPadding ? parser.parse(input.data(), input.size(), false) : parser.parse(copy);
        if (const auto error = parsed.get(root)) {
            throw TallybrookImportError::invalidFormat(invalidJsonDetail(input, skippedPrefix, error));
        }
        return DocumentReader().document(root);
    } catch (const std::bad_alloc&) {
        throw TallybrookImportError::invalidFormat(QStringLiteral("not enough memory to read the file"));
    }
}

bool TallybrookFileDecoder::isReadableInPlace(const QByteArray& bytes) {
    // The parser reads up to SIMDJSON_PADDING bytes past the end of its input (never using
    // them), so that much room must lie after the end. capacity() - size() is not that room: it
    // also counts free space before the data, which remove(0, n) and sliced() leave behind.
    // Qt tells the room after the end only through the non-const accessor, which neither
    // detaches nor changes anything.
    const qsizetype roomAfterEnd = const_cast<QByteArray&>(bytes).data_ptr().freeSpaceAtEnd();
    return roomAfterEnd >= roomAfterEndForReadingInPlace;
}

TallybrookDecodedInventory
TallybrookFileDecoder::decodeInventoryDocumentWithValidation(const QByteArray& bytes) const {
    TallybrookDecodedInventory decoded{readDocument(bytes), {}};
    decoded.validation = validator_.validate(decoded.document);
    return decoded;
}

InventoryExportDocument TallybrookFileDecoder::decodeInventoryDocument(const QByteArray& bytes) const {
    return decodeInventoryDocumentWithValidation(bytes).document;
}

} // namespace tallybrook
