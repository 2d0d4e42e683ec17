#pragma once

#include "corrections/CorrectionRecords.h"
#include "corrections/WooCorrectionStatus.h"

#include <QList>
#include <QString>
#include <optional>

namespace tallybrook {

/// The four counters of the corrections page, over all previews of the store.
struct WooCorrectionCounters {
    qint64 ready = 0;    ///< status ready
    qint64 selected = 0; ///< selected and manually correctable
    qint64 review = 0;   ///< status remoteStockChanged
    qint64 blocked = 0;  ///< a blocking status (failed included)

    bool operator==(const WooCorrectionCounters&) const = default;

    static WooCorrectionCounters of(const QList<WooCorrectionPreview>& previews);
};

/// What the corrections page shows of the store's previews: a status filter and a search
/// (every word in the status name of the current language, item name, variant, SKU, barcode,
/// product id or message; accents and case ignored). A plain value; any thread.
struct WooCorrectionFilter {
    std::optional<WooCorrectionStatus> status;
    QString searchText;

    /// The positions of the previews that pass, in order (no preview is copied).
    QList<qsizetype> indicesIn(const QList<WooCorrectionPreview>& previews) const;
};

} // namespace tallybrook
