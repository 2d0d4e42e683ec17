#include "woocommerce/WooStockReader.h"

#include "localization/AppText.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <utility>
#include <variant>

namespace tallybrook {

namespace {

/// What the shop answered for one id: the record, or the failure as the user reads it.
template <typename Record> using Fetched = std::variant<Record, QString>;

template <typename Record, typename Request> Fetched<Record> fetched(WooRequestGate& gate, Request&& request) {
    Record record;
    if (auto failure = gate.failureOf([&] { record = request(); })) {
        return std::move(*failure);
    }
    return record;
}

QString parentText(const WooCommerceProductDTO& variation) {
    return variation.parentId && *variation.parentId > 0 ? QString::number(*variation.parentId)
                                                         : QStringLiteral("?");
}

/// The read of one key from what the shop answered for it. `variation` is read for a key with
/// a variation id; `product` for a key without one, or for a variation without a quantity of
/// its own (its parent product stands in for it).
WooStockRead readOf(const WooStockKey& key, const Fetched<WooCommerceVariationDTO>* variation,
                    const Fetched<WooCommerceProductDTO>* product) {
    WooStockRead read;
    if (key.variationId) {
        if (const QString* failure = std::get_if<QString>(variation)) {
            read.issue = *failure;
            return read;
        }
        const auto& found = std::get<WooCommerceVariationDTO>(*variation);
        read.stockManagedByParent = found.stockManagedByParent;
        read.stockManaged = found.manageStock;
        if (found.stockQuantity) {
            read.quantity = found.stockQuantity;
            return read;
        }
        // The parent's failure is not the row's news: the variation simply has no stock to show.
        if (const auto* parent = std::get_if<WooCommerceProductDTO>(product)) {
            read.quantity = parent->stockQuantity;
            if (parent->manageStock) {
                read.stockManaged = parent->manageStock;
            }
        }
        if (!read.quantity) {
            read.issue = AppText::localized(u"wooReload.noVariationStock");
        }
        return read;
    }

    if (const QString* failure = std::get_if<QString>(product)) {
        read.issue = *failure;
        return read;
    }
    const auto& found = std::get<WooCommerceProductDTO>(*product);
    read.keepsRowVariant = false;
    if (found.type == u"variation") {
        // WooCommerce answers a variation's id on the product route, but refuses to set its
        // stock there: the row must name the product and the variation.
        read.issue = AppText::formatted(u"wooReload.variationAsProduct", {found.id, parentText(found), found.id});
        return read;
    }
    read.quantity = found.stockQuantity;
    read.stockManaged = found.manageStock;
    if (!read.quantity) {
        read.issue = AppText::localized(u"wooReload.noProductStock");
    }
    return read;
}

/// Asks the observer before each request and tells it after each; remembers a stop.
class Pacing {
public:
    Pacing(const WorkObserver& observer, std::function<qint64()> finished, qint64 total)
        : observer_(observer)
        , finished_(std::move(finished))
        , total_(total) {}

    bool mayRequest() {
        stopped_ = stopped_ || observer_.stopRequested();
        return !stopped_;
    }
    void requested() const { observer_.report(finished_(), total_); }

private:
    const WorkObserver& observer_;
    std::function<qint64()> finished_;
    qint64 total_;
    bool stopped_ = false;
};

/// Reads `ids` in `include=` batches; the ids an answer leaves out, and those of a batch that
/// failed, one by one. False when a stop came first.
template <typename Record, typename FetchMany, typename FetchOne>
bool readInBatches(const QList<qint64>& ids, WooRequestGate& gate, Pacing& pacing, FetchMany&& fetchMany,
                   FetchOne&& fetchOne, QHash<qint64, Fetched<Record>>& into) {
    for (qsizetype start = 0; start < ids.size(); start += WooCommerceAPIClient::batchLimit) {
        const QList<qint64> batch = ids.mid(start, WooCommerceAPIClient::batchLimit);
        if (!pacing.mayRequest()) {
            return false;
        }
        QList<Record> answer;
        const bool failed = gate.failureOf([&] { answer = fetchMany(batch); }).has_value();
        QList<qint64> again;
        if (failed) {
            again = batch;
        } else {
            const QSet<qint64> asked(batch.cbegin(), batch.cend());
            for (Record& record : answer) {
                if (asked.contains(record.id)) {
                    into.insert(record.id, std::move(record));
                }
            }
            for (const qint64 id : batch) {
                if (!into.contains(id)) {
                    again.append(id);
                }
            }
        }
        pacing.requested();
        for (const qint64 id : std::as_const(again)) {
            if (!pacing.mayRequest()) {
                return false;
            }
            into.insert(id, fetched<Record>(gate, [&] { return fetchOne(id); }));
            pacing.requested();
        }
    }
    return true;
}

} // namespace

WooStockReader::WooStockReader(const WooCommerceAPIClient& client, WooRequestGate& gate, WooRequestMode mode)
    : client_(client)
    , gate_(gate)
    , mode_(mode) {}

QList<std::optional<WooStockRead>> WooStockReader::read(const QList<WooStockKey>& keys,
                                                        const WorkObserver& observer) {
    QList<std::optional<WooStockRead>> reads(keys.size());
    const qint64 total = keys.size();

    if (mode_ == WooRequestMode::oneByOne) {
        for (qsizetype i = 0; i < keys.size(); ++i) {
            if (observer.stopRequested()) {
                break;
            }
            const WooStockKey& key = keys.at(i);
            Fetched<WooCommerceVariationDTO> variation;
            Fetched<WooCommerceProductDTO> product;
            if (key.variationId) {
                variation = fetched<WooCommerceVariationDTO>(
                    gate_, [&] { return client_.fetchVariation(key.productId, *key.variationId); });
                const auto* found = std::get_if<WooCommerceVariationDTO>(&variation);
                if (found && !found->stockQuantity) {
                    product = fetched<WooCommerceProductDTO>(gate_, [&] { return client_.fetchProduct(key.productId); });
                }
            } else {
                product = fetched<WooCommerceProductDTO>(gate_, [&] { return client_.fetchProduct(key.productId); });
            }
            reads[i] = readOf(key, &variation, &product);
            observer.report(i + 1, total);
        }
        return reads;
    }

    QHash<qint64, Fetched<WooCommerceProductDTO>> products;
    QHash<qint64, QHash<qint64, Fetched<WooCommerceVariationDTO>>> variationsByParent;
    auto variationOf = [&](const WooStockKey& key) -> const Fetched<WooCommerceVariationDTO>* {
        const auto parent = variationsByParent.constFind(key.productId);
        if (parent == variationsByParent.cend()) {
            return nullptr;
        }
        const auto found = parent->constFind(*key.variationId);
        return found == parent->cend() ? nullptr : &*found;
    };
    auto needsParent = [](const Fetched<WooCommerceVariationDTO>& variation) {
        const auto* found = std::get_if<WooCommerceVariationDTO>(&variation);
        return found && !found->stockQuantity;
    };
    auto isFinished = [&](const WooStockKey& key) {
        if (!key.variationId) {
            return products.contains(key.productId);
        }
        const auto* variation = variationOf(key);
        return variation && (!needsParent(*variation) || products.contains(key.productId));
    };
    Pacing pacing(
        observer,
        [&] { return qint64(std::count_if(keys.cbegin(), keys.cend(), isFinished)); }, total);

    QList<qint64> productIds;
    QSet<qint64> listedProducts;
    QHash<qint64, QList<qint64>> variationIds;
    QList<qint64> parentOrder;
    for (const WooStockKey& key : keys) {
        if (!key.variationId) {
            // "12" and "12" with a variation that is not a number both read product 12.
            if (!listedProducts.contains(key.productId)) {
                listedProducts.insert(key.productId);
                productIds.append(key.productId);
            }
        } else {
            if (!variationIds.contains(key.productId)) {
                parentOrder.append(key.productId);
            }
            variationIds[key.productId].append(*key.variationId);
        }
    }

    auto fetchProducts = [&](const QList<qint64>& ids) { return client_.fetchProducts(ids); };
    auto fetchProduct = [&](qint64 id) { return client_.fetchProduct(id); };
    bool complete = readInBatches<WooCommerceProductDTO>(productIds, gate_, pacing, fetchProducts, fetchProduct,
                                                         products);
    for (qsizetype p = 0; complete && p < parentOrder.size(); ++p) {
        const qint64 parent = parentOrder.at(p);
        complete = readInBatches<WooCommerceVariationDTO>(
            variationIds.value(parent), gate_, pacing,
            [&](const QList<qint64>& ids) { return client_.fetchVariations(parent, ids); },
            [&](qint64 id) { return client_.fetchVariation(parent, id); }, variationsByParent[parent]);
    }
    if (complete) {
        QList<qint64> parents;
        QSet<qint64> listed;
        for (const WooStockKey& key : keys) {
            const auto* variation = key.variationId ? variationOf(key) : nullptr;
            if (variation && needsParent(*variation) && !products.contains(key.productId) &&
                !listed.contains(key.productId)) {
                listed.insert(key.productId);
                parents.append(key.productId);
            }
        }
        readInBatches<WooCommerceProductDTO>(parents, gate_, pacing, fetchProducts, fetchProduct, products);
    }

    for (qsizetype i = 0; i < keys.size(); ++i) {
        const WooStockKey& key = keys.at(i);
        if (isFinished(key)) {
            const auto product = products.constFind(key.productId);
            reads[i] = readOf(key, key.variationId ? variationOf(key) : nullptr,
                              product == products.cend() ? nullptr : &*product);
        }
    }
    return reads;
}

} // namespace tallybrook
