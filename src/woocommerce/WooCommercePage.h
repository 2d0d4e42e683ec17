#pragma once

#include <QList>
#include <optional>

namespace tallybrook {

/// One page of a WooCommerce listing with the shop's paging headers (X-WP-Total,
/// X-WP-TotalPages), each none when missing or not a strict integer.
template <typename Item> struct WooCommercePage {
    QList<Item> items;
    std::optional<qint64> total;
    std::optional<qint64> totalPages;

    bool operator==(const WooCommercePage&) const = default;
};

} // namespace tallybrook
