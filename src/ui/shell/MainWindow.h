#pragma once

#include "ui/pages/AppContext.h"
#include "ui/shell/SidebarDestination.h"

#include <QHash>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <memory>
#include <optional>

class QAction;
class QMenu;
class QSplitter;
class QStackedWidget;

namespace tallybrook {

class AppSettings;
class BackgroundSaver;
class ImportHistoryStore;
class InventoryImportViewModel;
class PageView;
class SidebarView;
class TallybrookControlStore;

/// The application's one window, titled "Tallybrook Control": the sidebar of destinations at
/// the left, the page of the selected destination at the right, and the menu bar. Creates the
/// shared objects (control store, import history, language settings, import flow) for its
/// lifetime and hands them to every page.
///
/// When first shown it imports the file it was given, or reopens the most recent import.
/// Closing writes pending saves; closing during a send asks first and stops the send cleanly.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(WindowProfile profile, QWidget* parent = nullptr);
    ~MainWindow() override;

    /// The file to import when the window is first shown, instead of the most recent import.
    void setStartupFile(const QString& path) { startupFile_ = path; }

    AppContext& context() { return *context_; }
    SidebarView* sidebar() const { return sidebar_; }
    PageView* page(SidebarDestination destination) const;
    PageView* currentPage() const;
    void showDestination(SidebarDestination destination);
    /// Asks for a file to import and starts importing it.
    void openFile();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void retranslate();
    /// "<page title> — Tallybrook Control"; the page and its scroll areas carry the title too.
    void updateTitle();
    void focusSearch();
    void restoreWindowGeometry();
    void saveWindowGeometry();

    WindowProfile profile_;
    std::unique_ptr<AppSettings> settings_;
    std::unique_ptr<TallybrookControlStore> store_;
    std::unique_ptr<ImportHistoryStore> history_;
    std::unique_ptr<BackgroundSaver> saver_;
    std::unique_ptr<InventoryImportViewModel> importer_;
    std::unique_ptr<FileSaveService> fileSaver_;
    std::unique_ptr<AppContext> context_;

    QSplitter* splitter_ = nullptr;
    SidebarView* sidebar_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    QHash<SidebarDestination, PageView*> pages_;

    QMenu* fileMenu_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QAction* openAction_ = nullptr;
    QAction* quitAction_ = nullptr;
    QAction* findAction_ = nullptr;
    QAction* sidebarAction_ = nullptr;
    QAction* aboutAction_ = nullptr;

    std::optional<QString> startupFile_;
    bool shownOnce_ = false;
    bool closingAfterSend_ = false;
    QPointer<QMessageBox> closeQuestion_;
};

} // namespace tallybrook
