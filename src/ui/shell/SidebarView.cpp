#include "ui/shell/SidebarView.h"

#include "analysis/InventoryAnalysisService.h"
#include "app/TallybrookControlStore.h"
#include "localization/AppSettings.h"
#include "ui/style/Palette.h"
#include "ui/style/Symbols.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <functional>

namespace tallybrook {

using namespace Qt::StringLiterals;

namespace {

constexpr int destinationRole = Qt::UserRole + 1;
constexpr int symbolRole = Qt::UserRole + 3;
constexpr int rowHeight = 32;

/// One section's destinations. The arrow keys past the first or last row go on to the
/// neighbouring section.
class SidebarList : public QListWidget {
public:
    explicit SidebarList(std::function<void(int)> leave)
        : leave_(std::move(leave)) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const int row = currentRow();
        if (event->key() == Qt::Key_Down && row == count() - 1) {
            leave_(1);
            return;
        }
        if (event->key() == Qt::Key_Up && row <= 0) {
            leave_(-1);
            return;
        }
        QListWidget::keyPressEvent(event);
    }

private:
    std::function<void(int)> leave_;
};

/// Destination rows with a tinted symbol and a rounded highlight.
class SidebarDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        const QRect area = option.rect.adjusted(8, 1, -8, -1);
        const QString text = index.data(Qt::DisplayRole).toString();
        const bool selected = option.state & QStyle::State_Selected;
        if (selected) {
            painter->setPen(Qt::NoPen);
            painter->setBrush(Palette::withOpacity(Palette::blue(), 0.16));
            painter->drawRoundedRect(area, 7, 7);
        } else if (option.state & QStyle::State_MouseOver) {
            painter->setPen(Qt::NoPen);
            painter->setBrush(Palette::withOpacity(Palette::primaryText(), 0.05));
            painter->drawRoundedRect(area, 7, 7);
        }
        if (option.state & QStyle::State_HasFocus) {
            painter->setPen(QPen(Palette::withOpacity(Palette::blue(), 0.5), 1));
            painter->setBrush(Qt::NoBrush);
            painter->drawRoundedRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5), 7, 7);
        }
        const int iconSize = 18;
        const QString symbol = index.data(symbolRole).toString();
        painter->drawPixmap(
            area.left() + 8, area.center().y() - iconSize / 2 + 1,
            Symbols::pixmap(symbol, iconSize, Palette::blue(), painter->device()->devicePixelRatioF()));
        QFont font = option.font;
        if (selected) {
            font.setWeight(QFont::DemiBold);
        }
        painter->setFont(font);
        painter->setPen(Palette::primaryText());
        const QRect textRect = area.adjusted(8 + iconSize + 10, 0, -6, 0);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                          painter->fontMetrics().elidedText(text, Qt::ElideRight, textRect.width()));
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return {option.rect.width(), rowHeight};
    }
};

} // namespace

SidebarView::SidebarView(TallybrookControlStore& store, AppSettings& settings, QWidget* parent)
    : QWidget(parent)
    , store_(store)
    , settings_(settings) {
    setObjectName(QStringLiteral("sidebar"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 10, 0, 10);
    column->setSpacing(0);
    addSection(*column, nullptr, {SidebarDestination::importInventory});
    addSection(*column, u"sidebar.inventory", {});
    addLocationFilter(*column);
    addSection(*column, nullptr,
               {SidebarDestination::dashboard, SidebarDestination::rows, SidebarDestination::differences,
                SidebarDestination::unknownCodes, SidebarDestination::temporaryItems});
    addSection(*column, u"sidebar.onlineStore",
               {SidebarDestination::wooConnection, SidebarDestination::wooCorrections,
                SidebarDestination::wooResult});
    addSection(*column, u"sidebar.exports",
               {SidebarDestination::csvDifferences, SidebarDestination::csvCorrections});
    column->addSpacing(14);
    addSection(*column, nullptr, {SidebarDestination::settings});
    column->addStretch(1);

    // Tab goes down the column as it is drawn.
    QWidget* previous = nullptr;
    for (QWidget* stop : findChildren<QWidget*>()) {
        if (stop->window() == window() && stop->isVisibleTo(this) && (stop->focusPolicy() & Qt::TabFocus)) {
            if (previous) {
                setTabOrder(previous, stop);
            }
            previous = stop;
        }
    }

    setSelection(selection_);
    // The store found the new document's locations while the file was read.
    connect(&store_, &TallybrookControlStore::documentChanged, this,
            [this] { showLocations(store_.inventoryLocations()); });
    connect(&store_, &TallybrookControlStore::selectedInventoryLocationChanged, this,
            &SidebarView::showSelectedLocation);
    retranslate();
}

void SidebarView::addSection(QVBoxLayout& column, const char16_t* headingKey,
                             std::initializer_list<SidebarDestination> destinations) {
    Section section;
    section.headingKey = headingKey;
    if (headingKey) {
        // The inventory heading stands over the location filter and the list under it.
        section.heading = new QLabel;
        section.heading->setObjectName(u"sidebar.heading."_s +
                                       QString::fromUtf16(headingKey).section(u'.', 1));
        QFont font = Palette::font(Palette::TextStyle::caption, this->font());
        font.setWeight(QFont::DemiBold);
        section.heading->setFont(font);
        Palette::setTextColor(*section.heading, Palette::secondary());
        section.heading->setContentsMargins(16, 12, 8, 3);
        column.addWidget(section.heading);
    }
    if (destinations.size() == 0) {
        sections_.append(section);
        return;
    }
    QListWidget* list = new SidebarList(
        [this, index = sections_.size()](int step) { leaveList(sections_.at(index).list, step); });
    list->setObjectName(u"sidebar.list."_s + rawValue(*destinations.begin()));
    list->setItemDelegate(new SidebarDelegate(list));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setFrameShape(QFrame::NoFrame);
    list->setMouseTracking(true);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setFixedHeight(int(destinations.size()) * rowHeight);
    QPalette transparent = list->palette();
    transparent.setColor(QPalette::Base, Qt::transparent);
    list->setPalette(transparent);
    for (const SidebarDestination destination : destinations) {
        auto* item = new QListWidgetItem(list);
        item->setData(destinationRole, int(destination));
        item->setData(symbolRole, symbol(destination));
        items_.insert(destination, item);
    }
    connect(list, &QListWidget::itemSelectionChanged, this, [this, list] { listSelectionChanged(list); });
    column.addWidget(list);
    section.list = list;
    sections_.append(section);
}

void SidebarView::addLocationFilter(QVBoxLayout& column) {
    locationLabel_ = new QLabel;
    locationPicker_ = new QComboBox;
    // A layout, not a widget: no blank group between the heading and the picker.
    auto* layout = new QVBoxLayout;
    layout->setContentsMargins(16, 2, 12, 6);
    layout->setSpacing(3);
    locationLabel_->setFont(Palette::font(Palette::TextStyle::caption, font()));
    Palette::setTextColor(*locationLabel_, Palette::secondary());
    locationLabel_->setBuddy(locationPicker_);
    locationPicker_->setObjectName(QStringLiteral("sidebar.location"));
    locationPicker_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    locationPicker_->setMinimumContentsLength(12);
    layout->addWidget(locationLabel_);
    layout->addWidget(locationPicker_);
    column.addLayout(layout);
    connect(locationPicker_, &QComboBox::activated, this, [this](int index) {
        const QVariant location = locationPicker_->itemData(index);
        store_.selectInventoryLocation(location.isValid() ? std::optional<QString>(location.toString())
                                                          : std::nullopt);
    });
}

QListWidget* SidebarView::list(SidebarDestination destination) const {
    QListWidgetItem* row = item(destination);
    return row ? row->listWidget() : nullptr;
}

void SidebarView::listSelectionChanged(QListWidget* list) {
    if (syncing_) {
        return;
    }
    const QList<QListWidgetItem*> selected = list->selectedItems();
    if (selected.isEmpty()) {
        // One destination is always selected: a click beside the rows keeps the current page.
        if (list == this->list(selection_)) {
            const QSignalBlocker blocker(list);
            items_.value(selection_)->setSelected(true);
        }
        return;
    }
    // Assistive technology selects a row without clearing the others: the new row wins.
    QListWidgetItem* chosen = selected.constFirst();
    for (QListWidgetItem* row : selected) {
        if (SidebarDestination(row->data(destinationRole).toInt()) != selection_) {
            chosen = row;
        }
    }
    syncing_ = true;
    if (selected.size() > 1) {
        list->setCurrentItem(chosen, QItemSelectionModel::ClearAndSelect);
    }
    for (const Section& section : std::as_const(sections_)) {
        if (section.list && section.list != list) {
            section.list->clearSelection();
        }
    }
    syncing_ = false;
    const auto destination = SidebarDestination(chosen->data(destinationRole).toInt());
    if (destination != selection_) {
        selection_ = destination;
        emit selectionChanged(destination);
    }
}

void SidebarView::leaveList(QListWidget* list, int step) {
    qsizetype at = -1;
    for (qsizetype i = 0; i < sections_.size(); ++i) {
        if (sections_.at(i).list == list) {
            at = i;
        }
    }
    for (qsizetype i = at + step; at >= 0 && i >= 0 && i < sections_.size(); i += step) {
        if (QListWidget* next = sections_.at(i).list) {
            next->setFocus(Qt::OtherFocusReason);
            next->setCurrentRow(step > 0 ? 0 : next->count() - 1);
            return;
        }
    }
}

void SidebarView::setSelection(SidebarDestination destination) {
    QListWidgetItem* row = items_.value(destination);
    row->listWidget()->setCurrentItem(row);
    row->setSelected(true);
}

void SidebarView::retranslate() {
    for (auto it = items_.cbegin(); it != items_.cend(); ++it) {
        it.value()->setText(settings_.localized(titleKey(it.key())));
    }
    QString heading = QStringLiteral("Tallybrook Control");
    for (const Section& section : std::as_const(sections_)) {
        if (section.heading) {
            heading = settings_.localized(section.headingKey);
            section.heading->setText(heading);
        }
        if (section.list) {
            // A list under a heading is named by it; the settings list by its one row.
            section.list->setAccessibleName(section.list->count() == 1 &&
                                                    section.list->item(0) ==
                                                        items_.value(SidebarDestination::settings)
                                                ? section.list->item(0)->text()
                                                : heading);
        }
    }
    setAccessibleName(QStringLiteral("Tallybrook Control"));
    locationLabel_->setText(settings_.localized(u"sidebar.location"));
    const QString help = settings_.localized(u"sidebar.locationHelp");
    locationPicker_->setToolTip(help);
    locationLabel_->setToolTip(help);
    locationPicker_->setAccessibleName(locationLabel_->text());
    locationPicker_->setAccessibleDescription(help);
    // Location names sort in the language's collation.
    showLocations(store_.document() ? InventoryAnalysisService::inventoryLocations(*store_.document())
                                    : QStringList());
}

void SidebarView::showLocations(const QStringList& locations) {
    locationPicker_->clear();
    locationPicker_->addItem(settings_.localized(u"common.allLocations"));
    for (const QString& location : locations) {
        locationPicker_->addItem(location, location);
    }
    locationPicker_->setEnabled(!locations.isEmpty());
    showSelectedLocation();
}

void SidebarView::showSelectedLocation() {
    const std::optional<QString>& selected = store_.selectedInventoryLocation();
    const int index = selected ? locationPicker_->findData(*selected) : 0;
    locationPicker_->setCurrentIndex(qMax(index, 0));
}

} // namespace tallybrook
