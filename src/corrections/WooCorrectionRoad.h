#pragma once

#include "corrections/CorrectionRecords.h"

#include <QList>
#include <QString>
#include <optional>

namespace tallybrook {

// The two steps of the correction workflow that sit between the connector and the previews:
// wording a stock reload for the corrections page, and laying a send run's outcome over the
// previews. Pure functions; safe from any thread.

/// The message line after a reload, in the current language; none when every requested item
/// was read without issue. Only the first issue is quoted.
std::optional<QString> reloadSummary(qint64 requestedItemCount, qint64 quantityCount,
                                     const QList<RemoteStockReloadIssue>& issues);
std::optional<QString> reloadSummary(const RemoteStockReloadReport& report);

/// The previews, in the same order, with each sent row's outcome: success makes it `sent` with
/// the store's stock as known after the send, failure makes it `failed` with quantities kept;
/// both deselect it and take the line's message. Rows without a line are unchanged. Lines are
/// matched by `correctionId`; should a run ever hold two lines for one correction, the later
/// one, being the most recent outcome, is used.
QList<WooCorrectionPreview> foldResults(const QList<WooUpdateResultLine>& lines,
                                        QList<WooCorrectionPreview> previews);

} // namespace tallybrook
