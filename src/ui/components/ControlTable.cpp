#include "ui/components/ControlTable.h"

#include "ui/components/ControlStatusBadge.h"
#include "ui/shell/Palette.h"
#include "ui/shell/Symbols.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

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
    horizontalHeader()->setMinimumSectionSize(60);
    QPalette colours = palette();
    colours.setColor(QPalette::Highlight, Palette::withOpacity(Palette::blue(), 0.14));
    colours.setColor(QPalette::HighlightedText, Palette::primaryText());
    setPalette(colours);
}

void ControlTable::setColumnWidths(const QList<int>& widths) {
    QHeaderView* header = horizontalHeader();
    for (int i = 0; i < header->count() && i < widths.size(); ++i) {
        if (widths.at(i) == 0) {
            header->setSectionResizeMode(i, QHeaderView::Stretch);
        } else {
            header->setSectionResizeMode(i, QHeaderView::Interactive);
            header->resizeSection(i, widths.at(i));
        }
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
        combo.rect = QRect(cell.left(), cell.center().y() - 13, qMin(cell.width(), 180), 26);
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
    combo->setMaximumWidth(180);
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

} // namespace tallybrook
