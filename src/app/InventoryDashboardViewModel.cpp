#include "app/InventoryDashboardViewModel.h"

#include "analysis/InventoryAnalysisService.h"

namespace tallybrook {

InventoryDashboardViewModel::InventoryDashboardViewModel(QObject* parent)
    : QObject(parent) {}

void InventoryDashboardViewModel::refresh(const std::shared_ptr<const InventoryExportDocument>& document,
                                          const QList<WooCorrectionPreview>& corrections) {
    if (document) {
        analysis_ = InventoryAnalysisService::makeAnalysis(*document, corrections);
    } else {
        analysis_.reset();
    }
    emit analysisChanged();
}

} // namespace tallybrook
