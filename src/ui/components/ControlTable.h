#pragma once

#include "ui/models/LocalizedTableModel.h"
#include "ui/style/TableRole.h"

#include <QStyledItemDelegate>
#include <QTableView>
#include <memory>

namespace tallybrook {

class PreferencesStore;

/// The window's table: uniform row height (two lines), no grid, alternating rows, whole-row
/// selection, and one delegate that draws every kind of cell of the models (badges, two-line
/// item cells, code lists, coloured quantities, switches, menus). Lists of 100,000 rows scroll
/// smoothly: nothing per row but what the model computes when asked.
///
/// Columns are sized from the model's description: fixed, fitted to their content, or the one
/// stretched over the room left. Users resize any column; with `rememberWidths` the widths they
/// chose come back in the next session. A click on the header of a column that sorts sorts by
/// it, a second click reverses; until then the model's own order shows, without an indicator.
class ControlTable : public QTableView {
    Q_OBJECT

public:
    explicit ControlTable(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    /// Keeps the widths the user gives the columns in `preferences`, under this table's
    /// object name.
    void rememberWidths(std::shared_ptr<PreferencesStore> preferences);
    /// The preferences key of this table's column widths.
    QString widthsKey() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void sizeColumns();
    void fitColumns();
    void stretchColumn();
    void saveWidths();
    void restoreWidths();
    void sortBy(int section);
    LocalizedTableModel* describedModel() const;

    std::shared_ptr<PreferencesStore> preferences_;
    /// The columns whose width the user chose (restored or dragged): they are not fitted again.
    QList<bool> chosen_;
    /// The width each fit column's content asks for, before it gives room back to the
    /// stretched column in a narrow table.
    QList<int> fitted_;
    bool adjusting_ = false;
};

/// Draws the cells of ControlTable.
class ControlTableDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    /// Tooltips show a cell's whole text only where the cell cut it.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};

} // namespace tallybrook
