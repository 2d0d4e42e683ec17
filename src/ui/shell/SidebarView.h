#pragma once

#include "ui/shell/SidebarDestination.h"

#include <QHash>
#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;

namespace tallybrook {

class AppSettings;
class TallybrookControlStore;

/// The window's left column: the destinations in five sections (import; inventory with the
/// location filter on top; online store; exports; settings), single selection, keyboard
/// navigation from destination to destination. The location filter lists "all locations" and
/// the document's locations; it is disabled while there are none and writes the store's filter.
class SidebarView : public QWidget {
    Q_OBJECT

public:
    SidebarView(TallybrookControlStore& store, AppSettings& settings, QWidget* parent = nullptr);

    SidebarDestination selection() const { return selection_; }
    void setSelection(SidebarDestination destination);
    QComboBox* locationPicker() const { return locationPicker_; }
    QListWidget* list() const { return list_; }

    void retranslate();

signals:
    void selectionChanged(tallybrook::SidebarDestination destination);

private:
    void showLocations(const QStringList& locations);
    void showSelectedLocation();

    TallybrookControlStore& store_;
    AppSettings& settings_;
    QListWidget* list_;
    QLabel* locationLabel_;
    QComboBox* locationPicker_;
    QHash<SidebarDestination, QListWidgetItem*> items_;
    QList<std::pair<QListWidgetItem*, QString>> headers_;
    SidebarDestination selection_ = SidebarDestination::importInventory;
};

} // namespace tallybrook
