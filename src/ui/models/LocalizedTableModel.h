#pragma once

#include "localization/AppLanguage.h"

#include <QAbstractTableModel>
#include <QList>
#include <optional>

namespace tallybrook {

/// Base of the window's table models: fixed columns titled by text keys, worded in the page's
/// language. A language change words the headers and every cell anew.
class LocalizedTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit LocalizedTableModel(QList<const char16_t*> headerKeys, QObject* parent = nullptr);

    void setLanguage(AppLanguage language);
    AppLanguage language() const { return language_; }

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

protected:
    /// Redraws every cell of `column` (all columns when -1).
    void redrawColumn(int column = -1);

    /// A text cell that may be missing: "-" in the secondary colour when it is.
    static QVariant optionalText(const std::optional<QString>& value, int role);
    /// A quantity cell, aligned to the right: "-" in the secondary colour when missing.
    static QVariant quantityCell(std::optional<qint64> value, int role);

private:
    QList<const char16_t*> headerKeys_;
    AppLanguage language_ = AppLanguage::french;
};

} // namespace tallybrook
