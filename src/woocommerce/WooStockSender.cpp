#include "woocommerce/WooStockSender.h"

#include "localization/AppText.h"
#include "woocommerce/WooCommerceAPIError.h"
#include "woocommerce/WooRequestGate.h"
#include "woocommerce/WooStockReader.h"
#include "woocommerce/WooStockUpdateService.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <utility>

namespace tallybrook {

namespace {

/// A preview on its way to the shop.
struct Row {
    qsizetype index = 0; ///< position in the previews given
    WooStockKey key;
    qint64 quantity = 0; ///< the proposed quantity

    qint64 itemId() const { return key.variationId.value_or(key.productId); }
};

/// Rows of one route (products, or the variations of `parent`) checked and written together.
struct Chunk {
    std::optional<qint64> parent;
    QList<Row> rows;
    QSet<qint64> itemIds;
};

QString quantityText(std::optional<qint64> quantity) {
    return quantity ? QString::number(*quantity) : QStringLiteral("—");
}

/// Why a row must not be written after its check read; none when it may be.
std::optional<QString> refusalAfterCheck(const WooCorrectionPreview& preview, const WooStockRead& read) {
    if (read.stockManagedByParent) {
        return AppText::formatted(u"wooCorrection.stockManagedByParent",
                                  {preview.itemName, preview.externalProductId.value_or(QString())});
    }
    if (read.stockManaged == false) {
        return AppText::localized(u"wooCorrection.stockNotManaged");
    }
    if (!read.quantity) {
        return read.issue.value_or(AppText::localized(u"wooCorrection.noRemoteQuantity"));
    }
    // What the preview was built against: the last reload's stock, or before any reload the
    // stock the count was compared with (a row is only ready while the shop still holds it).
    const std::optional<qint64> baseline = preview.currentRemoteQuantity ? preview.currentRemoteQuantity
                                                                         : preview.referenceQuantityAtInventory;
    if (baseline && *baseline != *read.quantity) {
        return AppText::formatted(u"wooUpdate.remoteChangedSinceReload",
                                  {quantityText(baseline), quantityText(read.quantity)});
    }
    return std::nullopt;
}

QList<QList<Row>> split(const QList<Row>& rows, qsizetype size) {
    QList<QList<Row>> parts;
    for (qsizetype start = 0; start < rows.size(); start += size) {
        parts.append(rows.mid(start, size));
    }
    return parts;
}

/// Groups rows by route in batches of up to the shop's limit, a repeated item opening a new
/// batch; batches keep the order in which their first row came.
QList<Chunk> chunksOf(const QList<Row>& rows) {
    QList<Chunk> chunks;
    QHash<std::pair<bool, qint64>, qsizetype> open;
    for (const Row& row : rows) {
        const std::pair<bool, qint64> route{row.key.variationId.has_value(),
                                            row.key.variationId ? row.key.productId : 0};
        const auto found = open.constFind(route);
        if (found == open.cend() || chunks.at(*found).rows.size() == WooCommerceAPIClient::batchLimit ||
            chunks.at(*found).itemIds.contains(row.itemId())) {
            Chunk chunk;
            if (row.key.variationId) {
                chunk.parent = row.key.productId;
            }
            open.insert(route, chunks.size());
            chunks.append(std::move(chunk));
        }
        Chunk& chunk = chunks[open.value(route)];
        chunk.rows.append(row);
        chunk.itemIds.insert(row.itemId());
    }
    return chunks;
}

} // namespace

WooStockSender::WooStockSender(const WooCommerceAPIClient& client, WooRequestMode mode, Clock clock)
    : client_(client)
    , mode_(mode)
    , clock_(std::move(clock)) {}

QList<WooUpdateResultLine> WooStockSender::send(const QList<WooCorrectionPreview>& previews,
                                                const WorkObserver& observer) {
    QList<std::optional<WooUpdateResultLine>> lines(previews.size());
    const qint64 total = previews.size();
    qint64 done = 0;
    qint64 reported = 0;
    // The overlay counts rows: it hears of a request once rows got their lines from it.
    auto report = [&] {
        if (done != reported) {
            reported = done;
            observer.report(done, total);
        }
    };
    auto finish = [&](const Row& row, bool success, std::optional<qint64> after, QString message) {
        lines[row.index] = makeResultLine(previews.at(row.index), success, after, std::move(message), clock_());
        ++done;
    };
    // What the shop answered to a write of `row`: the stock it now holds must be what was sent.
    auto finishWritten = [&](const Row& row, std::optional<qint64> returned, bool batch) {
        const qint64 sent = std::max<qint64>(row.quantity, 0);
        if (returned == sent || (!returned && !batch)) {
            finish(row, true, returned.value_or(row.quantity), AppText::localized(u"wooUpdate.updated"));
        } else {
            // Batch items skip the shop's type checks, and a plugin may round or refuse quietly.
            finish(row, false, std::nullopt, AppText::formatted(u"wooUpdate.notConfirmed", {sent, quantityText(returned)}));
        }
    };

    QList<Row> rows;
    for (qsizetype i = 0; i < previews.size(); ++i) {
        const WooCorrectionPreview& preview = previews.at(i);
        const Row row{i, {}, preview.proposedQuantity.value_or(0)};
        if (!preview.externalProductId || !preview.proposedQuantity) {
            finish(row, false, std::nullopt, AppText::localized(u"wooUpdate.missingIdentifier"));
        } else if (const auto productId = wooNumericId(preview.externalProductId)) {
            rows.append(Row{i, WooStockKey{*productId, wooNumericId(preview.externalVariantId)}, row.quantity});
        } else {
            finish(row, false, std::nullopt, WooCommerceAPIError::invalidURL().localizedDescription());
        }
    }

    WooRequestGate gate;
    WooStockReader reader(client_, gate, mode_);
    const WorkObserver checkObserver{{}, observer.shouldStop};
    // Reads the rows again and fails those that must not be written; the rest, or none after a stop.
    auto check = [&](const QList<Row>& chunk) -> std::optional<QList<Row>> {
        QList<WooStockKey> keys;
        for (const Row& row : chunk) {
            keys.append(row.key);
        }
        const QList<std::optional<WooStockRead>> reads = reader.read(keys, checkObserver);
        if (std::any_of(reads.cbegin(), reads.cend(), [](const auto& read) { return !read.has_value(); })) {
            return std::nullopt;
        }
        QList<Row> writable;
        for (qsizetype k = 0; k < chunk.size(); ++k) {
            if (auto refusal = refusalAfterCheck(previews.at(chunk.at(k).index), *reads.at(k))) {
                finish(chunk.at(k), false, std::nullopt, std::move(*refusal));
            } else {
                writable.append(chunk.at(k));
            }
        }
        report();
        return writable;
    };

    if (mode_ == WooRequestMode::oneByOne) {
        for (const Row& row : std::as_const(rows)) {
            if (observer.stopRequested()) {
                break;
            }
            const std::optional<QList<Row>> writable = check({row});
            if (!writable || observer.stopRequested()) {
                break;
            }
            if (writable->isEmpty()) {
                continue;
            }
            std::optional<qint64> returned;
            const auto failure = gate.failureOf([&] {
                returned = row.key.variationId
                               ? client_.updateVariation(row.key.productId, *row.key.variationId, row.quantity).stockQuantity
                               : client_.updateProduct(row.key.productId, row.quantity).stockQuantity;
            });
            if (failure) {
                finish(row, false, std::nullopt, *failure);
            } else {
                finishWritten(row, returned, false);
            }
            report();
        }
    } else {
        qsizetype batchSize = WooCommerceAPIClient::batchLimit;
        bool stopped = false;
        for (const Chunk& chunk : chunksOf(rows)) {
            if (stopped || observer.stopRequested()) {
                break;
            }
            const std::optional<QList<Row>> writable = check(chunk.rows);
            if (!writable) {
                break;
            }
            QList<QList<Row>> pending = split(*writable, batchSize);
            for (qsizetype g = 0; g < pending.size(); ++g) {
                if (pending.at(g).size() > batchSize) {
                    const QList<QList<Row>> parts = split(pending.takeAt(g), batchSize);
                    for (qsizetype p = 0; p < parts.size(); ++p) {
                        pending.insert(g + p, parts.at(p));
                    }
                }
                const QList<Row> group = pending.at(g);
                if (observer.stopRequested()) {
                    stopped = true;
                    break;
                }
                QList<WooCommerceAPIClient::StockWrite> writes;
                for (const Row& row : group) {
                    writes.append({row.itemId(), row.quantity});
                }
                QList<WooCommerceAPIClient::StockWriteAnswer> answers;
                bool tooLarge = false;
                const auto failure = gate.failureOf([&] {
                    try {
                        answers = chunk.parent ? client_.updateVariations(*chunk.parent, writes)
                                               : client_.updateProducts(writes);
                    } catch (const WooCommerceAPIError& error) {
                        // The shop lowered its item limit; it refused the whole batch.
                        if (error.statusCode() != 413 || group.size() == 1) {
                            throw;
                        }
                        tooLarge = true;
                    }
                });
                if (tooLarge) {
                    batchSize = group.size() / 2;
                    pending.insert(g + 1, group); // split on the next turn
                    continue;
                }
                for (qsizetype k = 0; k < group.size(); ++k) {
                    const Row& row = group.at(k);
                    const auto* answer = k < answers.size() ? &answers.at(k) : nullptr;
                    if (failure) {
                        finish(row, false, std::nullopt, *failure);
                    } else if (answer && answer->failure && (!answer->id || *answer->id == row.itemId())) {
                        finish(row, false, std::nullopt, *answer->failure);
                    } else if (answer && answer->id == row.itemId()) {
                        finishWritten(row, answer->stockQuantity, true);
                    } else {
                        finishWritten(row, std::nullopt, true);
                    }
                }
                report();
            }
        }
    }

    QList<WooUpdateResultLine> made;
    made.reserve(done);
    for (auto& line : lines) {
        if (line) {
            made.append(std::move(*line));
        }
    }
    return made;
}

} // namespace tallybrook
