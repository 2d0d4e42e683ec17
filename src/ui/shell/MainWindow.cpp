#include "ui/shell/MainWindow.h"

#include "app/BackgroundSaver.h"
#include "app/InventoryImportViewModel.h"
#include "app/TallybrookControlStore.h"
#include "localization/AppSettings.h"
#include "localization/AppText.h"
#include "localization/PreferencesStore.h"
#include "storage/ImportHistoryStore.h"
#include "ui/components/SearchField.h"
#include "ui/pages/CSVExportView.h"
#include "ui/pages/DifferencesView.h"
#include "ui/pages/ImportView.h"
#include "ui/pages/InventoryDashboardView.h"
#include "ui/pages/InventoryRowsView.h"
#include "ui/pages/SettingsView.h"
#include "ui/pages/TemporaryItemsView.h"
#include "ui/pages/UnknownCodesView.h"
#include "ui/pages/WooConnectionView.h"
#include "ui/pages/WooCorrectionsView.h"
#include "ui/pages/WooUpdateResultView.h"
#include "ui/shell/SidebarView.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>

namespace tallybrook {

namespace {

QString windowGeometryKey() {
    return QStringLiteral("com.tallybrook.control.window-geometry");
}

QString splitterStateKey() {
    return QStringLiteral("com.tallybrook.control.sidebar-split");
}

} // namespace

MainWindow::MainWindow(WindowProfile profile, QWidget* parent)
    : QMainWindow(parent)
    , profile_(std::move(profile)) {
    // The texts of services and errors read the language from the process's standard store:
    // it is this window's preferences.
    PreferencesStore::setStandard(profile_.preferences);
    if (profile_.preferredLanguages) {
        AppText::setPreferredLanguagesProvider(profile_.preferredLanguages);
    }
    settings_ = std::make_unique<AppSettings>(profile_.preferences, profile_.preferredLanguages);
    store_ = std::make_unique<TallybrookControlStore>(profile_.preferences, profile_.clock);
    history_ = std::make_unique<ImportHistoryStore>(profile_.preferences, profile_.clock);
    saver_ = std::make_unique<BackgroundSaver>();
    store_->setSaveScheduler(saver_->scheduler(), [saver = saver_.get()] { saver->flush(); });
    history_->setSaveScheduler(saver_->scheduler());
    importer_ = std::make_unique<InventoryImportViewModel>(*store_, *history_);
    fileSaver_ = std::make_unique<FileSaveService>(profile_.preferences, profile_.savePathChooser);
    context_ = std::make_unique<AppContext>(
        AppContext{profile_, *store_, *history_, *settings_, *importer_, *fileSaver_});

    setObjectName(QStringLiteral("mainWindow"));
    setLocale(settings_->locale());

    sidebar_ = new SidebarView(*store_, *settings_);
    stack_ = new QStackedWidget;
    stack_->setObjectName(QStringLiteral("detail"));
    const auto add = [this](SidebarDestination destination, PageView* page) {
        pages_.insert(destination, page);
        if (stack_->indexOf(page) < 0) {
            stack_->addWidget(page);
        }
    };
    add(SidebarDestination::importInventory, new ImportView(*context_, [this] { openFile(); }));
    add(SidebarDestination::dashboard, new InventoryDashboardView(*context_));
    add(SidebarDestination::rows, new InventoryRowsView(*context_));
    add(SidebarDestination::differences, new DifferencesView(*context_));
    add(SidebarDestination::unknownCodes, new UnknownCodesView(*context_));
    add(SidebarDestination::temporaryItems, new TemporaryItemsView(*context_));
    add(SidebarDestination::wooConnection, new WooConnectionView(*context_));
    add(SidebarDestination::wooCorrections, new WooCorrectionsView(*context_));
    add(SidebarDestination::wooResult, new WooUpdateResultView(*context_));
    // Both CSV destinations show the same page, set to their kind.
    auto* csv = new CSVExportView(*context_);
    add(SidebarDestination::csvDifferences, csv);
    add(SidebarDestination::csvCorrections, csv);
    add(SidebarDestination::settings, new SettingsView(*context_));

    splitter_ = new QSplitter;
    splitter_->setObjectName(QStringLiteral("split"));
    splitter_->setChildrenCollapsible(false);
    sidebar_->setMinimumWidth(220);
    splitter_->addWidget(sidebar_);
    splitter_->addWidget(stack_);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({260, 1020});
    setCentralWidget(splitter_);

    connect(sidebar_, &SidebarView::selectionChanged, this, &MainWindow::showDestination);
    connect(settings_.get(), &AppSettings::languagePreferenceChanged, this, [this] {
        setLocale(settings_->locale());
        sidebar_->retranslate();
        retranslate();
    });
    connect(static_cast<WooCorrectionsView*>(page(SidebarDestination::wooCorrections)),
            &WooCorrectionsView::sendingChanged, this, [this](bool sending) {
                if (!sending && closingAfterSend_) {
                    close();
                }
            });

    buildMenus();
    retranslate();
    resize(1280, 800);
    restoreWindowGeometry();
    showDestination(SidebarDestination::importInventory);
}

MainWindow::~MainWindow() {
    saver_->flush();
    // Pages hold references to the shared objects: they go first.
    delete takeCentralWidget();
}

PageView* MainWindow::page(SidebarDestination destination) const {
    return pages_.value(destination);
}

PageView* MainWindow::currentPage() const {
    return page(sidebar_->selection());
}

void MainWindow::showDestination(SidebarDestination destination) {
    if (sidebar_->selection() != destination) {
        sidebar_->setSelection(destination);
        return; // the sidebar announces the change and comes back here
    }
    PageView* shown = page(destination);
    if (destination == SidebarDestination::csvDifferences || destination == SidebarDestination::csvCorrections) {
        static_cast<CSVExportView*>(shown)->setKind(destination == SidebarDestination::csvDifferences
                                                        ? CSVExportKind::differences
                                                        : CSVExportKind::corrections);
    }
    stack_->setCurrentWidget(shown);
    findAction_->setEnabled(shown->searchField() != nullptr);
    updateTitle();
}

void MainWindow::updateTitle() {
    PageView* shown = currentPage();
    QString title = shown->navigationTitle();
    if (title.isEmpty()) {
        title = settings_->localized(titleKey(sidebar_->selection()));
    }
    setWindowTitle(title + QStringLiteral(" \u2014 Tallybrook Control"));
    shown->setAccessibleName(title);
    // A page's scroll area is what a screen reader enters first: it says which page it is.
    for (QScrollArea* area : shown->findChildren<QScrollArea*>()) {
        area->setAccessibleName(title);
    }
}

void MainWindow::openFile() {
    const OpenFileChooser chooser = profile_.openFileChooser ? profile_.openFileChooser : dialogOpenFileChooser();
    if (const std::optional<QString> path = chooser(this)) {
        showDestination(SidebarDestination::importInventory);
        importer_->startImport(*path);
    }
}

void MainWindow::buildMenus() {
    fileMenu_ = menuBar()->addMenu(QString());
    openAction_ = fileMenu_->addAction(QString(), this, &MainWindow::openFile);
    openAction_->setShortcut(QKeySequence::Open);
    fileMenu_->addSeparator();
    quitAction_ = fileMenu_->addAction(QString(), this, &QWidget::close);
    quitAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    quitAction_->setMenuRole(QAction::QuitRole);

    editMenu_ = menuBar()->addMenu(QString());
    findAction_ = editMenu_->addAction(QString(), this, &MainWindow::focusSearch);
    findAction_->setShortcut(QKeySequence::Find);

    viewMenu_ = menuBar()->addMenu(QString());
    sidebarAction_ = viewMenu_->addAction(QString());
    sidebarAction_->setCheckable(true);
    sidebarAction_->setChecked(true);
    sidebarAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S));
    connect(sidebarAction_, &QAction::toggled, sidebar_, &QWidget::setVisible);

    helpMenu_ = menuBar()->addMenu(QString());
    aboutAction_ = helpMenu_->addAction(QString(), this, [this] {
        auto* about = new QMessageBox(QMessageBox::Information, aboutAction_->text(),
                                      QStringLiteral("<b>Tallybrook Control</b><br>") +
                                          settings_->formatted(u"about.version", {QStringLiteral(TALLYBROOK_VERSION)}) +
                                          QStringLiteral("<br><br>") + settings_->localized(u"about.description"),
                                      QMessageBox::Ok, this);
        about->setIconPixmap(windowIcon().pixmap(64));
        about->setAttribute(Qt::WA_DeleteOnClose);
        about->open();
    });
    aboutAction_->setMenuRole(QAction::AboutRole);
}

void MainWindow::retranslate() {
    const AppSettings& settings = *settings_;
    fileMenu_->setTitle(settings.localized(u"menu.file"));
    openAction_->setText(settings.localized(u"menu.open"));
    quitAction_->setText(settings.localized(u"menu.quit"));
    editMenu_->setTitle(settings.localized(u"menu.edit"));
    findAction_->setText(settings.localized(u"menu.find"));
    viewMenu_->setTitle(settings.localized(u"menu.view"));
    sidebarAction_->setText(settings.localized(u"menu.showSidebar"));
    helpMenu_->setTitle(settings.localized(u"menu.help"));
    aboutAction_->setText(settings.localized(u"menu.about"));
    updateTitle();
}

void MainWindow::focusSearch() {
    if (SearchField* field = currentPage()->searchField()) {
        field->setFocus(Qt::ShortcutFocusReason);
        field->selectAll();
    }
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownOnce_) {
        return;
    }
    shownOnce_ = true;
    if (startupFile_) {
        importer_->startImport(*startupFile_);
    } else {
        importer_->startRestoreMostRecent();
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    auto* corrections = static_cast<WooCorrectionsView*>(page(SidebarDestination::wooCorrections));
    if (corrections->isSending()) {
        if (!closingAfterSend_ && !closeQuestion_) {
            closeQuestion_ = new QMessageBox(QMessageBox::Warning, settings_->localized(u"quit.sendingTitle"),
                                             settings_->localized(u"quit.sendingMessage"), QMessageBox::NoButton,
                                             this);
            closeQuestion_->setObjectName(QStringLiteral("quit.sending"));
            closeQuestion_->setAttribute(Qt::WA_DeleteOnClose);
            QPushButton* stop =
                closeQuestion_->addButton(settings_->localized(u"quit.stopAndClose"), QMessageBox::DestructiveRole);
            stop->setObjectName(QStringLiteral("quit.stopAndClose"));
            closeQuestion_->addButton(settings_->localized(u"common.cancel"), QMessageBox::RejectRole);
            connect(closeQuestion_, &QMessageBox::buttonClicked, this, [this, stop, corrections](QAbstractButton* clicked) {
                if (clicked == stop) {
                    // The send ends before its next request; the window closes once its
                    // outcome is saved.
                    closingAfterSend_ = true;
                    corrections->stopSending();
                }
            });
            closeQuestion_->setWindowModality(Qt::WindowModal);
            closeQuestion_->open();
        }
        event->ignore();
        return;
    }
    saveWindowGeometry();
    saver_->flush();
    event->accept();
}

void MainWindow::restoreWindowGeometry() {
    if (!profile_.remembersWindowGeometry) {
        return;
    }
    if (const std::optional<QByteArray> geometry = profile_.preferences->data(windowGeometryKey())) {
        restoreGeometry(*geometry);
    }
    if (const std::optional<QByteArray> split = profile_.preferences->data(splitterStateKey())) {
        splitter_->restoreState(*split);
    }
}

void MainWindow::saveWindowGeometry() {
    if (!profile_.remembersWindowGeometry) {
        return;
    }
    profile_.preferences->setData(windowGeometryKey(), saveGeometry());
    profile_.preferences->setData(splitterStateKey(), splitter_->saveState());
}

} // namespace tallybrook
