#pragma once

#include "ui/shell/SidebarDestination.h"

#include <QHash>
#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QVBoxLayout;

namespace tallybrook {

class AppSettings;
class TallybrookControlStore;

/// The window's left column: the destinations in five sections (import; inventory with the
/// location filter on top; online store; exports; settings), one selection across them, the
/// arrow keys going from destination to destination over the section boundaries. Each section
/// is a list of its own under a heading, and the location filter a real widget between the
/// inventory heading and its list, so a screen reader meets everything in the order shown.
/// The location filter lists "all locations" and the document's locations; it is disabled
/// while there are none and writes the store's filter.
class SidebarView : public QWidget {
    Q_OBJECT

public:
    SidebarView(TallybrookControlStore& store, AppSettings& settings, QWidget* parent = nullptr);

    SidebarDestination selection() const { return selection_; }
    void setSelection(SidebarDestination destination);
    QComboBox* locationPicker() const { return locationPicker_; }
    /// The row of a destination and the list that holds it.
    QListWidgetItem* item(SidebarDestination destination) const { return items_.value(destination); }
    QListWidget* list(SidebarDestination destination) const;

    void retranslate();

signals:
    void selectionChanged(tallybrook::SidebarDestination destination);

private:
    struct Section {
        QLabel* heading = nullptr; // none for the import and settings sections
        const char16_t* headingKey = nullptr;
        QListWidget* list = nullptr;
    };

    void addSection(QVBoxLayout& column, const char16_t* headingKey,
                    std::initializer_list<SidebarDestination> destinations);
    void addLocationFilter(QVBoxLayout& column);
    void listSelectionChanged(QListWidget* list);
    /// The arrow keys left `list` past its first or last row.
    void leaveList(QListWidget* list, int step);
    void showLocations(const QStringList& locations);
    void showSelectedLocation();

    TallybrookControlStore& store_;
    AppSettings& settings_;
    QList<Section> sections_;
    QLabel* locationLabel_ = nullptr;
    QComboBox* locationPicker_ = nullptr;
    QHash<SidebarDestination, QListWidgetItem*> items_;
    SidebarDestination selection_ = SidebarDestination::importInventory;
    bool syncing_ = false;
};

} // namespace tallybrook
