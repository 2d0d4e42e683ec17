#pragma once

#include <QStyledItemDelegate>
#include <QTableView>

namespace tallybrook {

/// Item data roles the window's table models fill and ControlTable draws.
namespace TableRole {
enum : int {
    /// A caption line under the main text (variant name under an item name).
    secondaryText = Qt::UserRole + 100,
    /// The cell is a status badge of this colour (QColor), titled by the display text.
    badgeTint,
    /// The symbol drawn before the text or in the badge (QString symbol name).
    symbol,
    /// Semibold text (bool).
    semibold,
    /// The cell is a menu: its display text is drawn as a pop-up button (bool).
    menu,
    /// The choices of a menu cell (QStringList); the first one stands for "none".
    choices,
    /// The cell is an editable field: drawn framed, like a text field (bool).
    editableField,
};
} // namespace TableRole

/// The window's table: uniform row height (two lines), no grid, alternating rows, whole-row
/// selection, and one delegate that draws every kind of cell of the models (badges, two-line
/// item cells, code lists, coloured quantities, switches, menus). Lists of 100,000 rows scroll
/// smoothly: nothing per row but what the model computes when asked.
class ControlTable : public QTableView {
    Q_OBJECT

public:
    explicit ControlTable(QWidget* parent = nullptr);

    /// The columns' widths in order; the one given as 0 takes the room left. Users can still
    /// resize them.
    void setColumnWidths(const QList<int>& widths);
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
};

} // namespace tallybrook
