#include "UiTestSupport.h"
#include "localization/AppSettings.h"
#include "ui/components/ControlTable.h"
#include "ui/components/SearchField.h"
#include "ui/pages/InventoryRowsView.h"
#include "ui/pages/UnknownCodesView.h"
#include "ui/pages/WooCorrectionsView.h"
#include "ui/shell/SidebarView.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QHeaderView>
#include <QListWidget>
#include <QTest>
#include <QToolTip>

namespace tallybrook::testing {

namespace {

/// What a screen reader meets under `root`, depth first: role, name and what it belongs to.
struct Spoken {
    QAccessible::Role role;
    QString name;
    QString description;
    /// The label a screen reader reads before it (a field's or a menu's label).
    QString label;
    bool focusable;
    bool invisible;
    bool inComboBox;
    QString path;
};

void walk(QAccessibleInterface* node, const QString& path, QList<Spoken>& out, bool inComboBox = false,
          int depth = 0) {
    if (!node || !node->isValid() || depth > 40) {
        return;
    }
    const QString here =
        path + u"/"_s + QString::number(int(node->role()), 16) + u":"_s + node->text(QAccessible::Name);
    QStringList labels;
    for (const auto& [label, relation] : node->relations(QAccessible::Label)) {
        labels.append(label->text(QAccessible::Name));
    }
    out.append({node->role(), node->text(QAccessible::Name), node->text(QAccessible::Description),
                labels.join(u' '), bool(node->state().focusable), bool(node->state().invisible), inComboBox,
                here});
    for (int i = 0; i < node->childCount(); ++i) {
        walk(node->child(i), here, out, inComboBox || node->role() == QAccessible::ComboBox, depth + 1);
    }
}

QList<Spoken> spokenUnder(QWidget* widget) {
    // Without a screen reader on the bus, views do not tell their cached cells that the model
    // was reset: read the tables afresh, as a screen reader would after the reset.
    for (QAbstractItemView* view : widget->findChildren<QAbstractItemView*>()) {
        if (QAccessibleInterface* cached = QAccessible::queryAccessibleInterface(view)) {
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(cached));
        }
    }
    QList<Spoken> out;
    walk(QAccessible::queryAccessibleInterface(widget),
         QString::fromLatin1(widget->metaObject()->className()), out);
    return out;
}

/// Reached by a screen reader and meaningless without a name. A table cell may be blank: it
/// is read as such, and what the cells say is checked on its own.
bool interactive(const Spoken& node) {
    if (node.invisible || node.role == QAccessible::Cell) {
        return false;
    }
    switch (node.role) {
    case QAccessible::Button:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::ListItem:
    case QAccessible::ColumnHeader:
    case QAccessible::PageTab:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::List:
    case QAccessible::Table:
        return true;
    default:
        return node.focusable;
    }
}

/// The first node of `role` named, or labelled, `name`.
int indexOf(const QList<Spoken>& nodes, QAccessible::Role role, const QString& name) {
    for (qsizetype i = 0; i < nodes.size(); ++i) {
        if (nodes.at(i).role == role && (nodes.at(i).name == name || nodes.at(i).label == name)) {
            return int(i);
        }
    }
    return -1;
}

} // namespace

TEST_F(WindowTest, AScreenReaderHearsANameForEverythingItCanReachOnEveryPage) {
    open();
    ASSERT_TRUE(importFile(samplePath()));
    QStringList unnamed;
    const auto check = [&unnamed](const QList<Spoken>& nodes) {
        for (const Spoken& node : nodes) {
            if (interactive(node) && node.name.trimmed().isEmpty() && node.label.trimmed().isEmpty()) {
                unnamed.append(node.path);
            }
        }
    };

    // The sidebar reads in the order it is drawn, the location filter between the import row
    // and the inventory rows; no row is blank.
    const QList<Spoken> sidebar = spokenUnder(window->sidebar());
    check(sidebar);
    const int import = indexOf(sidebar, QAccessible::ListItem, u"Importer"_s);
    const int location = indexOf(sidebar, QAccessible::ComboBox, u"Emplacement"_s);
    const int dashboard = indexOf(sidebar, QAccessible::ListItem, u"Synthèse"_s);
    ASSERT_GE(import, 0);
    ASSERT_GE(location, 0);
    EXPECT_LT(import, location);
    EXPECT_LT(location, dashboard);
    EXPECT_EQ(std::count_if(
                  sidebar.cbegin(), sidebar.cend(),
                  [](const Spoken& node) { return node.role == QAccessible::ListItem && !node.inComboBox; }),
              qsizetype(allSidebarDestinations.size()));
    EXPECT_FALSE(sidebar.at(location).description.isEmpty());

    // A screen reader opens a page through the row's action, which adds to the selection.
    for (const SidebarDestination destination : {SidebarDestination::rows, SidebarDestination::wooResult}) {
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(window->sidebar()->list(destination));
        QAccessibleInterface* row = nullptr;
        for (int i = 0; i < list->childCount(); ++i) {
            if (list->child(i)->text(QAccessible::Name) == window->sidebar()->item(destination)->text()) {
                row = list->child(i);
            }
        }
        ASSERT_NE(row, nullptr);
        row->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        EXPECT_EQ(window->sidebar()->selection(), destination);
        EXPECT_EQ(window->sidebar()->list(destination)->selectedItems().size(), 1);
    }

    for (const SidebarDestination destination : allSidebarDestinations) {
        PageView* page = show(destination);
        if (SearchField* search = page->searchField()) {
            search->setText(u"a"_s); // the clear button shows
        }
        check(spokenUnder(page));
        if (SearchField* search = page->searchField()) {
            search->clear();
        }
    }
    unnamed.removeDuplicates();
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(u'\n').toStdString();

    // A cell says every line it draws: the variants tell the two plaids apart, and the switch
    // says where it stands.
    const QList<Spoken> rows = spokenUnder(show(SidebarDestination::rows));
    QStringList plaids;
    for (const Spoken& node : rows) {
        if (node.role == QAccessible::Cell && node.name.startsWith(u"Plaid en laine mérinos"_s)) {
            plaids.append(node.name);
        }
    }
    EXPECT_TRUE(plaids.contains(u"Plaid en laine mérinos, Terracotta"_s))
        << plaids.join(u" | "_s).toStdString();
    EXPECT_TRUE(plaids.contains(u"Plaid en laine mérinos, Écru"_s));
    EXPECT_GE(indexOf(rows, QAccessible::Cell, u"Linge de maison, Réserve"_s), 0);
    const QList<Spoken> corrections = spokenUnder(show(SidebarDestination::wooCorrections));
    EXPECT_TRUE(std::any_of(corrections.cbegin(), corrections.cend(), [](const Spoken& node) {
        return node.role == QAccessible::Cell &&
               (node.name == u"Sélection: Activé"_s || node.name == u"Sélection: Désactivé"_s);
    }));
}

TEST_F(WindowTest, TabFollowsTheDrawnOrderOnEveryPage) {
    open();
    ASSERT_TRUE(importFile(samplePath()));
    QStringList backwards;
    for (const SidebarDestination destination : allSidebarDestinations) {
        PageView* page = show(destination);
        QList<QWidget*> stops;
        QWidget* widget = window.get();
        do {
            widget = widget->nextInFocusChain();
            if ((page->isAncestorOf(widget) || window->sidebar()->isAncestorOf(widget)) &&
                widget->isVisibleTo(window.get()) && widget->isEnabled() &&
                (widget->focusPolicy() & Qt::TabFocus)) {
                stops.append(widget);
            }
        } while (widget != window.get());
        for (qsizetype i = 1; i < stops.size(); ++i) {
            const QRect before(stops.at(i - 1)->mapTo(window.get(), QPoint()), stops.at(i - 1)->size());
            const QRect after(stops.at(i)->mapTo(window.get(), QPoint()), stops.at(i)->size());
            // Tab never goes to the column on the left, up a line, or back along a line.
            const bool sameColumn = window->sidebar()->isAncestorOf(stops.at(i - 1)) ==
                                    window->sidebar()->isAncestorOf(stops.at(i));
            const bool upwards = after.bottom() < before.top();
            const bool sameLine = after.top() <= before.bottom() && before.top() <= after.bottom();
            if (sameColumn && (upwards || (sameLine && after.right() < before.left()))) {
                backwards.append(rawValue(destination) + u": "_s + stops.at(i - 1)->objectName() + u" -> "_s +
                                 stops.at(i)->objectName());
            }
        }
    }
    EXPECT_TRUE(backwards.isEmpty()) << backwards.join(u'\n').toStdString();
}

TEST_F(WindowTest, TheWindowTitleNamesThePageInTheWindowsLanguage) {
    open();
    struct Case {
        SidebarDestination destination;
        QString french;
        QString english;
    };
    const QList<Case> cases{
        {SidebarDestination::importInventory, u"Importer"_s, u"Import"_s},
        {SidebarDestination::rows, u"Toutes les lignes"_s, u"All rows"_s},
        {SidebarDestination::temporaryItems, u"Articles provisoires"_s, u"Temporary items"_s},
        {SidebarDestination::wooConnection, u"Connexion WooCommerce"_s, u"WooCommerce connection"_s},
        {SidebarDestination::wooCorrections, u"Corrections de stock"_s, u"Stock corrections"_s},
        {SidebarDestination::csvDifferences, u"CSV écarts"_s, u"CSV differences"_s},
        {SidebarDestination::csvCorrections, u"CSV corrections"_s, u"CSV corrections"_s},
    };
    for (const Case& expected : cases) {
        show(expected.destination);
        EXPECT_EQ(window->windowTitle(), expected.french + u" — Tallybrook Control"_s);
    }
    window->context().settings.setLanguagePreference(AppLanguagePreference::english);
    EXPECT_EQ(window->windowTitle(), u"CSV corrections — Tallybrook Control"_s) << "the page stays";
    for (const Case& expected : cases) {
        show(expected.destination);
        EXPECT_EQ(window->windowTitle(), expected.english + u" — Tallybrook Control"_s);
    }
}

TEST_F(WindowTest, AHeaderClickSortsTheRowsAndDraggedWidthsComeBack) {
    open();
    ASSERT_TRUE(importFile(samplePath()));
    auto* page = show<InventoryRowsView>(SidebarDestination::rows);
    ControlTable* table = page->table();
    InventoryRowsModel& model = page->model();
    QHeaderView* header = table->horizontalHeader();
    const InventoryRowList designOrder = model.shownRows();
    EXPECT_FALSE(header->isSortIndicatorShown());

    const auto click = [header](int section) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                                 header->height() / 2));
    };
    const auto items = [&model] {
        QStringList names;
        for (int row = 0; row < model.rowCount(); ++row) {
            names.append(model.index(row, 1).data().toString().toLower());
        }
        return names;
    };
    click(1); // item
    QStringList ascending = items();
    EXPECT_TRUE(std::is_sorted(ascending.cbegin(), ascending.cend()));
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    click(1);
    QStringList descending = items();
    EXPECT_TRUE(std::is_sorted(descending.crbegin(), descending.crend()));
    EXPECT_NE(descending, ascending);
    // The order holds through a search; the label sheet gets the rows as shown.
    page->searchField()->setText(u"plaid"_s);
    descending = items();
    EXPECT_TRUE(std::is_sorted(descending.crbegin(), descending.crend()));
    page->searchField()->clear();
    click(2); // barcodes have no order to speak of
    EXPECT_EQ(header->sortIndicatorSection(), 1);
    EXPECT_EQ(model.sortColumn().value_or(-1), 1);
    click(6); // difference, smallest first
    for (int row = 1; row < model.rowCount(); ++row) {
        const auto previous = model.shownRows().at(row - 1)->difference;
        const auto current = model.shownRows().at(row)->difference;
        EXPECT_FALSE(previous && current && *previous > *current) << row;
    }
    EXPECT_EQ(model.shownRows().size(), designOrder.size());
    click(0); // status
    EXPECT_EQ(model.sortColumn().value_or(-1), 0);
    // Unknown codes sort by quantity too.
    UnknownCodesModel& unknown = show<UnknownCodesView>(SidebarDestination::unknownCodes)->model();
    constexpr int quantity = 2;
    ASSERT_EQ(unknown.headerData(quantity, Qt::Horizontal).toString(), u"Quantité"_s);
    unknown.sort(quantity);
    QStringList quantities;
    for (int row = 0; row < unknown.rowCount(); ++row) {
        quantities.append(unknown.index(row, quantity).data().toString());
    }
    EXPECT_EQ(quantities, (QStringList{u"1"_s, u"2"_s, u"3"_s}));
    constexpr int lastScan = 4;
    unknown.sort(lastScan, Qt::DescendingOrder);
    QStringList newestFirst;
    for (int row = 0; row < unknown.rowCount(); ++row) {
        newestFirst.append(unknown.index(row, 0).data().toString());
    }
    EXPECT_EQ(newestFirst, (QStringList{u"LUM-00017"_s, u"3760987654326"_s, u"8412345678905"_s}));
    show(SidebarDestination::rows);

    // On a wide window, the item column takes the room the others leave; every other column
    // shows its content.
    window->resize(1800, 900);
    QCoreApplication::sendPostedEvents(); // the page's layout settles
    int others = 0;
    for (int column = 0; column < model.columnCount(); ++column) {
        if (column != 1) {
            others += table->columnWidth(column);
            EXPECT_GE(table->columnWidth(column),
                      static_cast<QAbstractItemView*>(table)->sizeHintForColumn(column))
                << column;
        }
    }
    EXPECT_EQ(table->columnWidth(1), table->viewport()->width() - others);
    // Hovering a cell shows its whole text only where the cell cuts it, and the table answers
    // the hover itself: no tooltip of the page behind pops up over a cell.
    const auto hover = [&](const QModelIndex& index) {
        const QPoint at = table->visualRect(index).center();
        QHelpEvent help(QEvent::ToolTip, at, table->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(table->viewport(), &help);
        EXPECT_TRUE(help.isAccepted());
        return QToolTip::text();
    };
    EXPECT_EQ(hover(model.index(0, 1)), QString()) << "a name shown whole";

    // On a narrow one, the fitted columns give room back before the table scrolls sideways,
    // and take it again when the window widens.
    const int wideCode = table->columnWidth(2);
    window->resize(900, 700);
    QCoreApplication::sendPostedEvents();
    EXPECT_LT(table->columnWidth(2), wideCode);
    EXPECT_GE(table->columnWidth(2), header->sectionSizeHint(2)); // never below its title
    EXPECT_EQ(hover(model.index(0, 2)), model.index(0, 2).data().toString()) << "a cut barcode";
    window->resize(1800, 900);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(table->columnWidth(2), wideCode);

    header->resizeSection(3, 333); // as a drag does
    EXPECT_TRUE(preferences->string(table->widthsKey()).has_value());
    window.reset();
    open();
    // The window reopens the last import by itself.
    ASSERT_TRUE(waitUntil([this] { return window->context().store.hasDocument(); }));
    auto* again = show<InventoryRowsView>(SidebarDestination::rows);
    EXPECT_EQ(again->table()->columnWidth(3), 333);
    EXPECT_FALSE(again->table()->horizontalHeader()->isSortIndicatorShown())
        << "each session starts in the design's order";
}

} // namespace tallybrook::testing
