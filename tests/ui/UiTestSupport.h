#pragma once

#include "app/InventoryImportViewModel.h"
#include "localization/PreferencesStore.h"
#include "storage/InMemorySecretStore.h"
#include "support/EventLoop.h"
#include "ui/pages/PageView.h"
#include "ui/shell/MainWindow.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace tallybrook::testing {

using namespace Qt::StringLiterals;
using test::waitUntil;

inline QString samplePath() {
    return QStringLiteral(TALLYBROOK_SOURCE_DIR "/samples/boutique-lumiere.tallybrook");
}

/// A window over in-memory preferences and secrets, with file dialogs answered by the test.
class WindowTest : public ::testing::Test {
protected:
    std::shared_ptr<InMemoryPreferencesStore> preferences = std::make_shared<InMemoryPreferencesStore>();
    std::shared_ptr<InMemorySecretStore> secrets = std::make_shared<InMemorySecretStore>();
    QStringList systemLanguages{u"fr-FR"_s};
    QLocale numberLocale{QLocale::English, QLocale::UnitedStates};
    CommerceConnectorFactory connectorFactory = wooCommerceConnectorFactory();
    /// Where the next save dialog saves; none: the dialog is cancelled.
    std::optional<QString> nextSavePath;
    /// The file names the save dialogs offered.
    QStringList offeredSavePaths;
    QTemporaryDir folder;
    /// The file the window imports when first shown; none: it reopens the most recent import.
    std::optional<QString> startupFile;
    std::unique_ptr<MainWindow> window;

    MainWindow& open() {
        WindowProfile profile;
        profile.preferences = preferences;
        profile.secrets = secrets;
        profile.connectorFactory = connectorFactory;
        profile.numberLocale = numberLocale;
        profile.preferredLanguages = [this] { return systemLanguages; };
        profile.remembersWindowGeometry = false;
        profile.savePathChooser = [this](QWidget*, const QString& suggested) {
            offeredSavePaths.append(suggested);
            return nextSavePath;
        };
        window = std::make_unique<MainWindow>(std::move(profile));
        if (startupFile) {
            window->setStartupFile(*startupFile);
        }
        window->resize(1280, 800);
        window->show();
        return *window;
    }

    /// Imports `path` the way the window does (off the main thread) and waits for the end.
    bool importFile(const QString& path) {
        bool imported = false;
        const auto connection =
            QObject::connect(&window->context().importer, &InventoryImportViewModel::importFinished,
                             [&imported](bool ok) { imported = ok; });
        EXPECT_TRUE(window->context().importer.startImport(path));
        EXPECT_TRUE(waitUntil([this] { return !window->context().importer.isImporting(); }));
        QObject::disconnect(connection);
        return imported;
    }

    /// Shows a destination's page with its data up to date.
    template <typename Page = PageView> Page* show(SidebarDestination destination) {
        window->showDestination(destination);
        window->currentPage()->refreshIfStale();
        return dynamic_cast<Page*>(window->currentPage());
    }

    /// Writes a document of `rows` (JSON objects) for session `sessionId` and returns its path.
    QString writeDocument(const QJsonArray& rows, const QJsonArray& temporaryItems = {},
                          const QString& sessionId = u"0B7C6D52-1E2F-4A3B-8C4D-5E6F7A8B9C0D"_s) {
        const QJsonObject root{{u"format"_s, u"com.tallybrook.inventory-export"_s},
                               {u"formatVersion"_s, 1},
                               {u"exportedAt"_s, u"2024-05-01T10:20:30Z"_s},
                               {u"session"_s, QJsonObject{{u"id"_s, sessionId}, {u"name"_s, u"Test"_s}}},
                               {u"rows"_s, rows},
                               {u"temporaryItems"_s, temporaryItems}};
        const QString path =
            folder.filePath(QUuid::createUuid().toString(QUuid::WithoutBraces) + u".tallybrook"_s);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QJsonDocument(root).toJson());
        return path;
    }

    template <typename Widget> Widget* find(const QString& name) const {
        Widget* widget = window->findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
};

} // namespace tallybrook::testing
