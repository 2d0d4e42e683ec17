#include "ui/components/ControlTable.h"

#include "localization/PreferencesStore.h"
#include "ui/components/ControlStatusBadge.h"
#include "ui/style/Palette.h"
#include "ui/style/Symbols.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

namespace tallybrook {

namespace {

constexpr int cellPadding = 8;

QRect switchRect(const QRect& cell) {
    const QSize size(30, 16);
    return QRect(cell.left() + (cell.width() - size.width()) / 2, cell.top() + (cell.height() - size.height()) / 2,
                 size.width(), size.height());
}

void paintSwitch(QPainter& painter, const QRect& area, bool on, bool enabled) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor track = on ? Palette::blue() : QColor(0xc4, 0xc7, 0xcc);
    painter.setPen(Qt::NoPen);
    painter.setBrush(enabled ? track : Palette::withOpacity(track, 0.35));
    painter.drawRoundedRect(QRectF(area), area.height() / 2.0, area.height() / 2.0);
    const qreal knob = area.height() - 4;
    const qreal x = on ? area.right() - knob - 1.5 : area.left() + 2.5;
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(x, area.top() + 2, knob, knob));
    painter.restore();
}

constexpr int menuWidth = 180;

/// The width a cell needs to draw its content uncut: its text, or for a list of codes the two
/// lines it shows ("+N" after the second when there are more).
int contentWidth(const QStyleOptionViewItem& option, const QModelIndex& index) {
    const int padding = 2 * cellPadding;
    if (index.data(Qt::CheckStateRole).isValid()) {
        return switchRect(QRect()).width() + padding;
    }
    const QString text = index.data(Qt::DisplayRole).toString();
    const QString symbol = index.data(TableRole::symbol).toString();
    if (index.data(TableRole::badgeTint).isValid()) {
        return ControlStatusBadge::badgeSize(text, !symbol.isEmpty(), option.font).width() + padding;
    }
    if (index.data(TableRole::menu).toBool()) {
        return menuWidth + padding;
    }
    QFont font = option.font;
    if (index.data(TableRole::semibold).toBool()) {
        font.setWeight(QFont::DemiBold);
    }
    const QFontMetrics metrics(font);
    const QStringList lines = text.split(u'\n');
    int width = metrics.horizontalAdvance(lines.constFirst());
    if (const QString secondary = index.data(TableRole::secondaryText).toString(); !secondary.isEmpty()) {
        width =
            qMax(width,
                 QFontMetrics(Palette::font(Palette::TextStyle::caption, font)).horizontalAdvance(secondary));
    } else if (lines.size() > 1) {
        const QString more =
            lines.size() > 2 ? QStringLiteral("  +") + QString::number(lines.size() - 2) : QString();
        width = qMax(width, metrics.horizontalAdvance(lines.at(1) + more));
    }
    if (!symbol.isEmpty()) {
        width += option.fontMetrics.height() + 6;
    }
    if (index.data(TableRole::editableField).toBool()) {
        width += 12;
    }
    return width + padding + 2;
}

/// Whether the cell shows all its text: a list of codes shows two lines at most.
bool showsWholeText(const QStyleOptionViewItem& option, const QModelIndex& index) {
    const bool moreLines = index.data(TableRole::secondaryText).toString().isEmpty() &&
                           index.data(Qt::DisplayRole).toString().count(u'\n') > 1;
    return !moreLines && contentWidth(option, index) <= option.rect.width();
}

QString widthsText(const QList<int>& widths) {
    QStringList parts;
    for (const int width : widths) {
        parts.append(QString::number(width));
    }
    return parts.join(u',');
}

} // namespace

ControlTable::ControlTable(QWidget* parent)
    : QTableView(parent) {
    setItemDelegate(new ControlTableDelegate(this));
    setShowGrid(false);
    setAlternatingRowColors(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setEditTriggers(QAbstractItemView::AllEditTriggers);
    verticalHeader()->hide();
    // Every row has the same height: the view never measures rows, which keeps 100,000 of
    // them fast.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() * 2 + 14);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setMinimumSectionSize(40);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setSortIndicatorShown(false);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &ControlTable::sortBy);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int section, int, int) {
        if (adjusting_ || section >= chosen_.size()) {
            return;
        }
        // Dragged by the user.
        LocalizedTableModel* model = describedModel();
        if (model && model->columns().at(section).width != ColumnWidth::stretch) {
            chosen_[section] = true;
            saveWidths();
            stretchColumn();
        }
    });
    QPalette colours = palette();
    colours.setColor(QPalette::Highlight, Palette::withOpacity(Palette::blue(), 0.14));
    colours.setColor(QPalette::HighlightedText, Palette::primaryText());
    setPalette(colours);
}

void ControlTable::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    chosen_.fill(false, model ? model->columnCount() : 0);
    if (model) {
        connect(model, &QAbstractItemModel::modelReset, this, &ControlTable::fitColumns);
        connect(model, &QAbstractItemModel::headerDataChanged, this, &ControlTable::fitColumns);
    }
    if (LocalizedTableModel* described = describedModel(); described && described->sortColumn()) {
        horizontalHeader()->setSortIndicatorShown(true);
        horizontalHeader()->setSortIndicator(*described->sortColumn(), described->sortOrder());
    }
    restoreWidths();
    sizeColumns();
}

LocalizedTableModel* ControlTable::describedModel() const {
    return qobject_cast<LocalizedTableModel*>(model());
}

QString ControlTable::widthsKey() const {
    return QStringLiteral("com.tallybrook.control.column-widths.") + objectName();
}

void ControlTable::rememberWidths(std::shared_ptr<PreferencesStore> preferences) {
    preferences_ = std::move(preferences);
    restoreWidths();
    sizeColumns();
}

void ControlTable::restoreWidths() {
    LocalizedTableModel* model = describedModel();
    if (!model || !preferences_) {
        return;
    }
    const QStringList widths = preferences_->string(widthsKey()).value_or(QString()).split(u',');
    if (widths.size() != model->columnCount()) {
        return; // none saved, or saved for other columns
    }
    adjusting_ = true;
    for (int column = 0; column < widths.size(); ++column) {
        bool ok = false;
        const int width = widths.at(column).toInt(&ok);
        if (ok && width > 0 && model->columns().at(column).width != ColumnWidth::stretch) {
            chosen_[column] = true;
            horizontalHeader()->resizeSection(column, width);
        }
    }
    adjusting_ = false;
}

void ControlTable::saveWidths() {
    if (!preferences_) {
        return;
    }
    QList<int> widths;
    for (int column = 0; column < chosen_.size(); ++column) {
        widths.append(chosen_.at(column) ? columnWidth(column) : 0);
    }
    preferences_->setString(widthsKey(), widthsText(widths));
}

void ControlTable::sizeColumns() {
    LocalizedTableModel* model = describedModel();
    if (!model) {
        return;
    }
    QHeaderView* header = horizontalHeader();
    adjusting_ = true;
    for (int column = 0; column < model->columnCount(); ++column) {
        header->setSectionResizeMode(column, QHeaderView::Interactive);
        const TableColumn& described = model->columns().at(column);
        if (!chosen_.at(column) && described.width == ColumnWidth::fixed) {
            header->resizeSection(column, described.preferredWidth);
        }
    }
    adjusting_ = false;
    fitColumns();
}

void ControlTable::fitColumns() {
    LocalizedTableModel* model = describedModel();
    if (!model) {
        return;
    }
    QHeaderView* header = horizontalHeader();
    adjusting_ = true;
    fitted_.resize(model->columnCount());
    for (int column = 0; column < model->columnCount(); ++column) {
        const TableColumn& described = model->columns().at(column);
        if (!chosen_.at(column) && described.width == ColumnWidth::fit) {
            // The title and the rows (those on screen and around them, up to a thousand).
            const int width = std::max({described.preferredWidth, header->sectionSizeHint(column),
                                        model->rowCount() > 0 ? sizeHintForColumn(column) : 0});
            fitted_[column] = width;
            header->resizeSection(column, width);
        }
    }
    adjusting_ = false;
    stretchColumn();
}

void ControlTable::stretchColumn() {
    LocalizedTableModel* model = describedModel();
    if (!model) {
        return;
    }
    int stretched = -1;
    int others = 0;
    for (int column = 0; column < model->columnCount(); ++column) {
        if (model->columns().at(column).width == ColumnWidth::stretch) {
            stretched = column;
        } else if (!isColumnHidden(column)) {
            others += columnWidth(column);
        }
    }
    if (stretched < 0) {
        return;
    }
    const int least =
        qMax(model->columns().at(stretched).preferredWidth, horizontalHeader()->sectionSizeHint(stretched));
    adjusting_ = true;
    // In a narrow table the fit columns give back what their longest text takes beyond their
    // title and least width, in proportion, before the table scrolls sideways: their text is
    // elided with the whole of it in the tooltip, like the stretched column's.
    int slack = 0;
    QList<int> slacks(model->columnCount(), 0);
    for (int column = 0; column < model->columnCount() && column < fitted_.size(); ++column) {
        const TableColumn& described = model->columns().at(column);
        if (described.width == ColumnWidth::fit && !chosen_.at(column) && !isColumnHidden(column) &&
            fitted_.at(column) > 0) {
            const int floor = qMax(described.preferredWidth, horizontalHeader()->sectionSizeHint(column));
            slacks[column] = qMax(0, fitted_.at(column) - floor);
            slack += slacks.at(column);
            others += fitted_.at(column) - columnWidth(column);
        }
    }
    const int wanted = qMin(slack, least - (viewport()->width() - others));
    for (int column = 0; column < slacks.size(); ++column) {
        if (slacks.at(column) > 0) {
            const int given = wanted > 0 ? int(qint64(wanted) * slacks.at(column) / slack) + 1 : 0;
            const int width = fitted_.at(column) - qMin(given, slacks.at(column));
            others += width - fitted_.at(column);
            horizontalHeader()->resizeSection(column, width);
        }
    }
    horizontalHeader()->resizeSection(stretched, qMax(least, viewport()->width() - others));
    adjusting_ = false;
}

void ControlTable::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    stretchColumn();
}

void ControlTable::sortBy(int section) {
    LocalizedTableModel* model = describedModel();
    if (!model) {
        return;
    }
    QHeaderView* header = horizontalHeader();
    if (section >= 0 && section < model->columnCount() && model->columns().at(section).sorts) {
        const Qt::SortOrder order = model->sortColumn() == section && model->sortOrder() == Qt::AscendingOrder
                                        ? Qt::DescendingOrder
                                        : Qt::AscendingOrder;
        model->sort(section, order);
    }
    // The header flips its indicator on any click: show the model's order instead.
    header->setSortIndicatorShown(model->sortColumn().has_value());
    if (model->sortColumn()) {
        header->setSortIndicator(*model->sortColumn(), model->sortOrder());
    }
}

void ControlTableDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    background.icon = QIcon();
    background.features &= ~QStyleOptionViewItem::HasCheckIndicator;
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

    const QRect cell = option.rect.adjusted(cellPadding, 0, -cellPadding, 0);
    const qreal ratio = painter->device()->devicePixelRatioF();

    const QVariant check = index.data(Qt::CheckStateRole);
    if (check.isValid()) {
        paintSwitch(*painter, switchRect(option.rect), check.toInt() == Qt::Checked,
                    index.flags() & Qt::ItemIsUserCheckable);
        return;
    }

    const QString text = index.data(Qt::DisplayRole).toString();
    const QString symbol = index.data(TableRole::symbol).toString();
    const QVariant badgeTint = index.data(TableRole::badgeTint);
    if (badgeTint.isValid()) {
        const QSize size = ControlStatusBadge::badgeSize(text, !symbol.isEmpty(), option.font);
        ControlStatusBadge::paint(*painter, QPoint(cell.left(), cell.center().y() - size.height() / 2 + 1), text,
                                  badgeTint.value<QColor>(), symbol, option.font, ratio);
        return;
    }

    if (index.data(TableRole::menu).toBool()) {
        QStyleOptionComboBox combo;
        combo.rect = QRect(cell.left(), cell.center().y() - 13, qMin(cell.width(), menuWidth), 26);
        combo.currentText = text;
        combo.state = option.state | QStyle::State_Enabled;
        combo.palette = option.palette;
        combo.editable = false;
        style->drawComplexControl(QStyle::CC_ComboBox, &combo, painter, widget);
        style->drawControl(QStyle::CE_ComboBoxLabel, &combo, painter, widget);
        return;
    }

    painter->save();
    if (index.data(TableRole::editableField).toBool()) {
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(Palette::withOpacity(Palette::primaryText(), 0.18), 1));
        painter->setBrush(Qt::white);
        const QRect field(cell.left(), cell.center().y() - 12, cell.width(), 24);
        painter->drawRoundedRect(QRectF(field).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    }
    const QVariant foreground = index.data(Qt::ForegroundRole);
    QColor colour = foreground.isValid() ? foreground.value<QColor>() : Palette::primaryText();
    QFont font = option.font;
    if (index.data(TableRole::semibold).toBool()) {
        font.setWeight(QFont::DemiBold);
    }
    int x = cell.left();
    if (!symbol.isEmpty()) {
        const int side = option.fontMetrics.height();
        painter->drawPixmap(x, cell.center().y() - side / 2, Symbols::pixmap(symbol, side, colour, ratio));
        x += side + 6;
    }
    const QVariant alignment = index.data(Qt::TextAlignmentRole);
    const Qt::Alignment horizontal =
        alignment.isValid() ? Qt::Alignment(alignment.toInt()) & Qt::AlignHorizontal_Mask : Qt::AlignLeft;
    const int fieldInset = index.data(TableRole::editableField).toBool() ? 6 : 0;
    const QRect textArea(x + fieldInset, cell.top(), cell.right() - x - 2 * fieldInset, cell.height());
    const QString secondary = index.data(TableRole::secondaryText).toString();
    const QStringList lines = text.split(u'\n');
    QFontMetrics metrics(font);
    painter->setFont(font);
    painter->setPen(colour);
    if (secondary.isEmpty() && lines.size() == 1) {
        painter->drawText(textArea, int(horizontal) | Qt::AlignVCenter,
                          metrics.elidedText(text, Qt::ElideRight, textArea.width()));
    } else {
        // Two lines at most: the first, then the caption (or the second line, "+N" for more).
        QString second = secondary;
        if (second.isEmpty()) {
            second = lines.size() > 2 ? lines.at(1) + QStringLiteral("  +") + QString::number(lines.size() - 2)
                                      : lines.at(1);
        }
        const int lineHeight = metrics.height();
        const QFont captionFont = Palette::font(Palette::TextStyle::caption, font);
        const int top = cell.center().y() - (lineHeight + QFontMetrics(captionFont).height()) / 2;
        painter->drawText(QRect(textArea.left(), top, textArea.width(), lineHeight), int(horizontal) | Qt::AlignVCenter,
                          metrics.elidedText(lines.constFirst(), Qt::ElideRight, textArea.width()));
        if (!secondary.isEmpty()) {
            painter->setFont(captionFont);
            painter->setPen(Palette::secondary());
        }
        const QFontMetrics secondMetrics(painter->font());
        painter->drawText(QRect(textArea.left(), top + lineHeight, textArea.width(), secondMetrics.height()),
                          int(horizontal) | Qt::AlignVCenter,
                          secondMetrics.elidedText(second, Qt::ElideRight, textArea.width()));
    }
    painter->restore();
}

bool ControlTableDelegate::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) {
    if (!index.data(Qt::CheckStateRole).isValid()) {
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    }
    if (!(index.flags() & Qt::ItemIsUserCheckable)) {
        return false;
    }
    bool toggle = false;
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        toggle = mouse->button() == Qt::LeftButton && option.rect.contains(mouse->position().toPoint());
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        toggle = key == Qt::Key_Space || key == Qt::Key_Select;
    } else if (event->type() == QEvent::MouseButtonDblClick || event->type() == QEvent::MouseButtonPress) {
        return true; // the release decides
    }
    if (!toggle) {
        return false;
    }
    const bool on = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    return model->setData(index, on ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

QWidget* ControlTableDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                            const QModelIndex& index) const {
    if (!index.data(TableRole::menu).toBool()) {
        return QStyledItemDelegate::createEditor(parent, option, index);
    }
    auto* combo = new QComboBox(parent);
    combo->addItems(index.data(TableRole::choices).toStringList());
    combo->setMaximumWidth(menuWidth);
    // A choice is written at once, like any menu.
    connect(combo, &QComboBox::activated, this, [this, combo] {
        emit const_cast<ControlTableDelegate*>(this)->commitData(combo);
        emit const_cast<ControlTableDelegate*>(this)->closeEditor(combo);
    });
    return combo;
}

void ControlTableDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* combo = qobject_cast<QComboBox*>(editor); combo && index.data(TableRole::menu).toBool()) {
        const int current = combo->findText(index.data(Qt::EditRole).toString());
        combo->setCurrentIndex(qMax(current, 0));
        combo->showPopup();
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void ControlTableDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
    if (auto* combo = qobject_cast<QComboBox*>(editor); combo && index.data(TableRole::menu).toBool()) {
        model->setData(index, combo->currentIndex() == 0 ? QVariant() : QVariant(combo->currentText()), Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

QSize ControlTableDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem measured = option;
    initStyleOption(&measured, index);
    return {contentWidth(measured, index), QStyledItemDelegate::sizeHint(option, index).height()};
}

bool ControlTableDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                     const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event->type() != QEvent::ToolTip || !index.isValid()) {
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    }
    const QString whole = index.data(Qt::ToolTipRole).toString();
    QStyleOptionViewItem measured = option;
    initStyleOption(&measured, index);
    // A cell that draws only a symbol always explains it.
    const bool symbolOnly = index.data(Qt::DisplayRole).toString().isEmpty();
    if (whole.isEmpty() || (!symbolOnly && showsWholeText(measured, index))) {
        QToolTip::hideText();
        return true;
    }
    QToolTip::showText(event->globalPos(), whole, view, option.rect);
    return true;
}

} // namespace tallybrook
