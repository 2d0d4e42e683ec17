#pragma once

#include "corrections/CorrectionRecords.h"
#include "ui/models/LocalizedTableModel.h"

namespace tallybrook {

/// The lines of the last send, in order: success, item, product and variation ids, quantity,
/// store stock after the update, message, date.
class UpdateResultsModel : public LocalizedTableModel {
    Q_OBJECT

public:
    explicit UpdateResultsModel(QObject* parent = nullptr);

    void setLines(QList<WooUpdateResultLine> lines);

protected:
    int sourceRowCount() const override;
    QVariant cellData(int sourceRow, int column, int role) const override;
    bool lessThan(int a, int b, int column) const override;

private:
    enum Column { success, item, productId, variationId, quantity, wooAfter, message, date };

    QList<WooUpdateResultLine> lines_;
};

} // namespace tallybrook
