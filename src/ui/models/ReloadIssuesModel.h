#pragma once

#include "corrections/CorrectionRecords.h"
#include "ui/models/LocalizedTableModel.h"

namespace tallybrook {

/// The problems of the last stock reload, one per product or variation: item, product and
/// variation ids, message.
class ReloadIssuesModel : public LocalizedTableModel {
    Q_OBJECT

public:
    ReloadIssuesModel(QList<RemoteStockReloadIssue> issues, AppLanguage language, QObject* parent = nullptr);

protected:
    int sourceRowCount() const override;
    QVariant cellData(int sourceRow, int column, int role) const override;
    bool lessThan(int a, int b, int column) const override;

private:
    QList<RemoteStockReloadIssue> issues_;
};

} // namespace tallybrook
