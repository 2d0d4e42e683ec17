#pragma once

#include "analysis/InventorySessionAnalysis.h"
#include "corrections/CorrectionRecords.h"

#include <QObject>
#include <memory>
#include <optional>

namespace tallybrook {

struct InventoryExportDocument;

/// The dashboard figures of the dashboard page, computed when the page asks. Main thread only.
class InventoryDashboardViewModel : public QObject {
    Q_OBJECT

public:
    explicit InventoryDashboardViewModel(QObject* parent = nullptr);

    const std::optional<InventorySessionAnalysis>& analysis() const { return analysis_; }

    /// The analysis of `document` and `corrections`, or none without a document.
    void refresh(const std::shared_ptr<const InventoryExportDocument>& document,
                 const QList<WooCorrectionPreview>& corrections);

signals:
    void analysisChanged();

private:
    std::optional<InventorySessionAnalysis> analysis_;
};

} // namespace tallybrook
