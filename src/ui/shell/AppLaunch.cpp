#include "ui/shell/AppLaunch.h"

#include "app/InventoryImportViewModel.h"
#include "localization/AppLanguage.h"
#include "localization/AppSettings.h"
#include "localization/AppText.h"
#include "localization/PreferencesStore.h"
#include "storage/InMemorySecretStore.h"
#include "storage/QtKeychainSecretStore.h"
#include "storage/SqlitePreferencesStore.h"
#include "ui/pages/PageView.h"
#include "ui/shell/MainWindow.h"
#include "ui/style/Palette.h"
#include "ui/style/Symbols.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <memory>

namespace tallybrook {

namespace {

void printLine(const QString& text, FILE* stream = stdout) {
    std::fputs(qPrintable(text + u'\n'), stream);
    std::fflush(stream);
}

/// The demo shop's own credentials (its defaults).
constexpr char16_t demoConsumerKey[] = u"ck_demo";
constexpr char16_t demoConsumerSecret[] = u"cs_demo";

/// The user's own profile: the preferences file of the application data folder and the
/// system's secret store.
std::optional<WindowProfile> userProfile() {
    WindowProfile profile;
    profile.preferences = SqlitePreferencesStore::open(SqlitePreferencesStore::defaultPath());
    if (!profile.preferences) {
        return std::nullopt;
    }
    profile.secrets = std::make_shared<QtKeychainSecretStore>();
    return profile;
}

/// A profile of its own for the demo: its own preferences file, the credentials in memory
/// only, and the demo shop's address and credentials saved in it.
std::optional<WindowProfile> demoProfile(const QString& shopURL) {
    WindowProfile profile;
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/demo");
    profile.preferences = SqlitePreferencesStore::open(folder + QStringLiteral("/preferences.sqlite3"));
    if (!profile.preferences) {
        return std::nullopt;
    }
    profile.secrets = std::make_shared<InMemorySecretStore>();
    const QUrl url(shopURL);
    if (url.isValid() && !url.isRelative()) {
        WooCredentialStore credentials(
            profile.preferences, KeychainService(KeychainService::wooCommerceServiceName(), profile.secrets));
        credentials.save(url, QStringLiteral("Tallybrook Demo"), QString::fromUtf16(demoConsumerKey),
                         QString::fromUtf16(demoConsumerSecret));
    }
    return profile;
}

/// Renders every destination of `window` into `folder`, one after the other, then quits.
class ScreenshotRun : public QObject {
public:
    ScreenshotRun(MainWindow& window, QString folder)
        : window_(window)
        , folder_(std::move(folder)) {}

    void start() {
        QTimer::singleShot(0, this, [this] { next(); });
    }
    int failures() const { return failures_; }

private:
    void next() {
        if (index_ >= allSidebarDestinations.size()) {
            printLine(QDir(folder_).absolutePath());
            QApplication::exit(failures_ == 0 ? 0 : 1);
            return;
        }
        const SidebarDestination destination = allSidebarDestinations.at(index_);
        window_.showDestination(destination);
        window_.currentPage()->refreshIfStale();
        // One turn of the event loop lets deferred layouts and repaints settle.
        QTimer::singleShot(30, this, [this, destination] {
            // A size change climbs the widget tree one layout pass at a time.
            for (int pass = 0; pass < 8; ++pass) {
                QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            }
            const QString path = QDir(folder_).filePath(rawValue(destination) + QStringLiteral(".png"));
            if (!window_.grab().save(path)) {
                printLine(QStringLiteral("could not write ") + path, stderr);
                ++failures_;
            }
            ++index_;
            next();
        });
    }

    MainWindow& window_;
    QString folder_;
    size_t index_ = 0;
    int failures_ = 0;
};

} // namespace

QtTranslations::QtTranslations(const AppSettings& settings, QObject* parent)
    : QObject(parent)
    , settings_(settings) {
    follow(settings_.resolvedLanguage());
    connect(&settings_, &AppSettings::languagePreferenceChanged, this,
            [this] { follow(settings_.resolvedLanguage()); });
}

QtTranslations::~QtTranslations() {
    if (translator_) {
        QCoreApplication::removeTranslator(translator_.get());
    }
}

void QtTranslations::follow(AppLanguage language) {
    if (translator_ && installed_ == language) {
        return;
    }
    if (translator_) {
        QCoreApplication::removeTranslator(translator_.get());
        translator_.reset();
        installed_.reset();
    }
    // English needs its catalogue too: Qt's sources are English, but plurals ("%n file(s)")
    // are only worded right through it. Without the catalogues Qt shows its English sources.
    auto translator = std::make_unique<QTranslator>();
    const QString name = QStringLiteral("qtbase_") + rawValue(language);
    if (translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(translator.get())) {
        translator_ = std::move(translator);
        installed_ = language;
    }
}

int runApplication(int argc, char** argv) {
    if (std::any_of(argv, argv + argc,
                    [](const char* argument) { return qstrcmp(argument, "--screenshots") == 0; })) {
        // The offscreen platform's remarks are noise here: the run prints its folder, or what
        // went wrong.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
            if (type == QtCriticalMsg || type == QtFatalMsg) {
                printLine(message, stderr);
            }
        });
    }
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tallybrook"));
    QCoreApplication::setApplicationName(QStringLiteral("Tallybrook Control"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TALLYBROOK_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("tallybrook-control"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tallybrook/ui/tallybrook-control.svg")));
    Palette::applyTo(application);
    Symbols::installIconTheme();

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Tallybrook Control"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A .tallybrook file to import."));
    const QCommandLineOption demo(QStringLiteral("demo"), QStringLiteral("Run in the demo profile."));
    const QCommandLineOption demoShop(QStringLiteral("demo-shop"), QStringLiteral("The demo shop's address."),
                                      QStringLiteral("URL"));
    const QCommandLineOption screenshots(QStringLiteral("screenshots"),
                                         QStringLiteral("Write one screenshot per page into DIR and exit."),
                                         QStringLiteral("DIR"));
    const QCommandLineOption language(QStringLiteral("lang"), QStringLiteral("Language of the screenshots."),
                                      QStringLiteral("fr|en"));
    parser.addOptions({demo, demoShop, screenshots, language});
    parser.process(application);

    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        printLine(QStringLiteral("tallybrook-control: one file at a time"), stderr);
        return 2;
    }
    std::optional<AppLanguage> forcedLanguage;
    if (parser.isSet(language)) {
        forcedLanguage = appLanguageFromRawValue(parser.value(language));
        if (!forcedLanguage || !parser.isSet(screenshots)) {
            printLine(QStringLiteral("tallybrook-control: --lang takes fr or en, with --screenshots"),
                      stderr);
            return 2;
        }
    }

    std::optional<WindowProfile> profile;
    if (parser.isSet(screenshots)) {
        profile.emplace();
        profile->preferences = std::make_shared<InMemoryPreferencesStore>();
        profile->secrets = std::make_shared<InMemorySecretStore>();
        profile->remembersWindowGeometry = false;
        if (forcedLanguage) {
            profile->preferences->setString(QString::fromUtf16(languagePreferenceStorageKey),
                                            rawValue(*forcedLanguage));
        }
    } else if (parser.isSet(demo)) {
        profile = demoProfile(parser.value(demoShop));
    } else {
        profile = userProfile();
    }
    if (!profile) {
        QMessageBox::critical(nullptr, QStringLiteral("Tallybrook Control"),
                              AppText::localized(u"launch.preferencesUnavailable"));
        return 1;
    }

    MainWindow window(std::move(*profile));
    const QtTranslations qtTranslations(window.context().settings);
    if (!files.isEmpty()) {
        window.setStartupFile(QFileInfo(files.constFirst()).absoluteFilePath());
    }

    if (parser.isSet(screenshots)) {
        const QString folder = parser.value(screenshots);
        if (!QDir().mkpath(folder)) {
            printLine(QStringLiteral("tallybrook-control: cannot create ") + folder, stderr);
            return 1;
        }
        window.resize(1280, 800);
        ScreenshotRun run(window, folder);
        if (files.isEmpty()) {
            run.start();
        } else {
            QObject::connect(&window.context().importer, &InventoryImportViewModel::importFinished, &run,
                             [&run, &window](bool imported) {
                                 if (!imported && window.context().importer.errorMessage()) {
                                     printLine(*window.context().importer.errorMessage(), stderr);
                                 }
                                 run.start();
                             });
        }
        window.show();
        return application.exec();
    }

    window.show();
    return application.exec();
}

} // namespace tallybrook
