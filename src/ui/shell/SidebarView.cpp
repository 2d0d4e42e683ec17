#include "ui/shell/SidebarView.h"

#include "analysis/InventoryAnalysisService.h"
#include "app/TallybrookControlStore.h"
#include "localization/AppSettings.h"
#include "ui/shell/Palette.h"
#include "ui/shell/Symbols.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace tallybrook {

namespace {

constexpr int destinationRole = Qt::UserRole + 1;
constexpr int headerRole = Qt::UserRole + 2;

/// Keyboard navigation goes from destination to destination: section headers and the location
/// row are not stops.
class SidebarList : public QListWidget {
public:
    using QListWidget::QListWidget;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
        int from = currentRow();
        int step = 0;
        switch (action) {
        case MoveDown:
        case MoveNext:
        case MovePageDown:
            step = 1;
            break;
        case MoveUp:
        case MovePrevious:
        case MovePageUp:
            step = -1;
            break;
        case MoveHome:
            from = -1;
            step = 1;
            break;
        case MoveEnd:
            from = count();
            step = -1;
            break;
        default:
            return QListWidget::moveCursor(action, modifiers);
        }
        for (int row = from + step; row >= 0 && row < count(); row += step) {
            if (item(row)->flags() & Qt::ItemIsSelectable) {
                return indexFromItem(item(row));
            }
        }
        return currentIndex();
    }
};

/// Destination rows with a tinted symbol and a rounded highlight; headers in small secondary
/// capitals.
class SidebarDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        const QRect area = option.rect.adjusted(8, 1, -8, -1);
        const QString text = index.data(Qt::DisplayRole).toString();
        if (index.data(headerRole).toBool()) {
            QFont font = Palette::font(Palette::TextStyle::caption, option.font);
            font.setWeight(QFont::DemiBold);
            painter->setFont(font);
            painter->setPen(Palette::secondary());
            painter->drawText(area.adjusted(8, 0, 0, -3), Qt::AlignLeft | Qt::AlignBottom, text);
        } else if (index.data(destinationRole).isValid()) {
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
            if (option.state & QStyle::State_HasFocus && selected) {
                painter->setPen(QPen(Palette::withOpacity(Palette::blue(), 0.5), 1));
                painter->setBrush(Qt::NoBrush);
                painter->drawRoundedRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5), 7, 7);
            }
            const int iconSize = 18;
            const QString symbol = index.data(Qt::UserRole + 3).toString();
            painter->drawPixmap(area.left() + 8, area.center().y() - iconSize / 2 + 1,
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
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (const QVariant size = index.data(Qt::SizeHintRole); size.isValid()) {
            return size.toSize();
        }
        if (index.data(headerRole).toBool()) {
            return {option.rect.width(), 30};
        }
        return {option.rect.width(), 32};
    }
};

} // namespace

SidebarView::SidebarView(TallybrookControlStore& store, AppSettings& settings, QWidget* parent)
    : QWidget(parent)
    , store_(store)
    , settings_(settings)
    , list_(new SidebarList)
    , locationLabel_(new QLabel)
    , locationPicker_(new QComboBox) {
    setObjectName(QStringLiteral("sidebar"));
    list_->setObjectName(QStringLiteral("sidebar.list"));
    list_->setItemDelegate(new SidebarDelegate(list_));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setFrameShape(QFrame::NoFrame);
    list_->setMouseTracking(true);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette transparent = list_->palette();
    transparent.setColor(QPalette::Base, Qt::transparent);
    list_->setPalette(transparent);

    const auto addHeader = [this](const char* key) {
        auto* item = new QListWidgetItem(list_);
        item->setFlags(Qt::ItemIsEnabled);
        item->setData(headerRole, true);
        headers_.append({item, QString::fromLatin1(key)});
    };
    const auto addDestination = [this](SidebarDestination destination) {
        auto* item = new QListWidgetItem(list_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setData(destinationRole, int(destination));
        item->setData(Qt::UserRole + 3, symbol(destination));
        items_.insert(destination, item);
    };

    addDestination(SidebarDestination::importInventory);
    addHeader("sidebar.inventory");
    {
        // The location filter heads the inventory section.
        auto* item = new QListWidgetItem(list_);
        item->setFlags(Qt::ItemIsEnabled);
        auto* row = new QWidget;
        auto* layout = new QVBoxLayout(row);
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
        item->setSizeHint(row->sizeHint());
        list_->setItemWidget(item, row);
    }
    for (const SidebarDestination destination :
         {SidebarDestination::dashboard, SidebarDestination::rows, SidebarDestination::differences,
          SidebarDestination::unknownCodes, SidebarDestination::temporaryItems}) {
        addDestination(destination);
    }
    addHeader("sidebar.onlineStore");
    for (const SidebarDestination destination :
         {SidebarDestination::wooConnection, SidebarDestination::wooCorrections, SidebarDestination::wooResult}) {
        addDestination(destination);
    }
    addHeader("sidebar.exports");
    addDestination(SidebarDestination::csvDifferences);
    addDestination(SidebarDestination::csvCorrections);
    {
        auto* spacer = new QListWidgetItem(list_);
        spacer->setFlags(Qt::NoItemFlags);
        spacer->setData(headerRole, true);
        spacer->setSizeHint(QSize(0, 14));
    }
    addDestination(SidebarDestination::settings);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 10, 0, 10);
    layout->addWidget(list_);

    items_.value(selection_)->setSelected(true);
    list_->setCurrentItem(items_.value(selection_));
    connect(list_, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> selected = list_->selectedItems();
        if (selected.isEmpty()) {
            // Single selection never goes away: a click on a header keeps the current page.
            items_.value(selection_)->setSelected(true);
            return;
        }
        const auto destination = SidebarDestination(selected.constFirst()->data(destinationRole).toInt());
        if (destination != selection_) {
            selection_ = destination;
            emit selectionChanged(destination);
        }
    });

    connect(locationPicker_, &QComboBox::activated, this, [this](int index) {
        const QVariant location = locationPicker_->itemData(index);
        store_.selectInventoryLocation(location.isValid() ? std::optional<QString>(location.toString())
                                                          : std::nullopt);
    });
    // The store found the new document's locations while the file was read.
    connect(&store_, &TallybrookControlStore::documentChanged, this,
            [this] { showLocations(store_.inventoryLocations()); });
    connect(&store_, &TallybrookControlStore::selectedInventoryLocationChanged, this,
            &SidebarView::showSelectedLocation);
    retranslate();
}

void SidebarView::setSelection(SidebarDestination destination) {
    QListWidgetItem* item = items_.value(destination);
    list_->setCurrentItem(item);
    item->setSelected(true);
}

void SidebarView::retranslate() {
    for (auto it = items_.cbegin(); it != items_.cend(); ++it) {
        it.value()->setText(settings_.localized(titleKey(it.key())));
    }
    for (const auto& [item, key] : std::as_const(headers_)) {
        item->setText(settings_.localized(key));
    }
    list_->setAccessibleName(QStringLiteral("Tallybrook Control"));
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
