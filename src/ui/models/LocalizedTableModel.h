#pragma once

#include "localization/AppLanguage.h"

#include <QAbstractTableModel>
#include <QList>
#include <optional>

namespace tallybrook {

/// How the table sizes a column: a given width, the width of its content, or the room left.
enum class ColumnWidth { fixed, fit, stretch };

/// One column of a table as its model describes it; the view sizes the column and offers
/// sorting from this alone.
struct TableColumn {
    int column;
    const char16_t* headerKey;
    ColumnWidth width = ColumnWidth::fit;
    /// fixed: the width; fit and stretch: the least width.
    int preferredWidth = 0;
    /// A click on the header sorts by this column (the model's `lessThan`).
    bool sorts = false;
};

/// Base of the window's table models: columns described once and titled by text keys, worded
/// in the page's language; an order the user chose by clicking a header, kept as a permutation
/// of the subclass's rows (the design's order stays the default); and the cell texts screen
/// readers and tooltips need, made of every line a cell draws.
class LocalizedTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit LocalizedTableModel(QList<TableColumn> columns, QObject* parent = nullptr);

    void setLanguage(AppLanguage language);
    AppLanguage language() const { return language_; }
    const QList<TableColumn>& columns() const { return columns_; }

    int rowCount(const QModelIndex& parent = {}) const final;
    int columnCount(const QModelIndex& parent = {}) const final;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const final;

    /// Sorts by a column that sorts; a column that does not leaves the order as it is.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    /// The column the rows are sorted by; none: the design's order.
    std::optional<int> sortColumn() const { return sortColumn_; }
    Qt::SortOrder sortOrder() const { return sortOrder_; }

protected:
    /// The number of rows in the design's order.
    virtual int sourceRowCount() const = 0;
    /// A cell of the row at `sourceRow` in the design's order.
    virtual QVariant cellData(int sourceRow, int column, int role) const = 0;
    /// Whether `a` comes before `b` in `column` (rows in the design's order).
    virtual bool lessThan(int a, int b, int column) const;

    /// The design's position of a table row.
    int sourceRow(int row) const { return order_.isEmpty() ? row : order_.at(row); }
    /// Sorts the rows again after the subclass changed them; call between begin/endResetModel.
    void reorder();

    /// Redraws every cell of `column` (all columns when -1).
    void redrawColumn(int column = -1);

    /// A text cell that may be missing: "-" in the secondary colour when it is.
    static QVariant optionalText(const std::optional<QString>& value, int role);
    /// A quantity cell, aligned to the right: "-" in the secondary colour when missing.
    static QVariant quantityCell(std::optional<qint64> value, int role);
    /// Orders optional values with the missing ones first.
    template <typename T> static bool lessOptional(const std::optional<T>& a, const std::optional<T>& b) {
        return b && (!a || *a < *b);
    }
    /// Orders texts as a reader expects: case does not split equal words apart.
    static bool lessText(const QString& a, const QString& b);

private:
    /// Every line the cell draws, for screen readers and tooltips.
    QString spokenText(int sourceRow, int column) const;
    QStringList textLines(int sourceRow, int column) const;

    QList<TableColumn> columns_;
    AppLanguage language_ = AppLanguage::french;
    std::optional<int> sortColumn_;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    QList<int> order_;
};

} // namespace tallybrook
