// The secret service is missing, or locked and refusing. The connection page's error must say
// what went wrong, no secret may land anywhere else (the preferences file above all), and
// everything that does not need the shop must keep working: import, analysis, exports.
//
// A process reaches the Secret Service over the D-Bus session bus it finds at start, so each
// case runs the application in a child process (this executable, running its disabled child
// test): with a bus address that leads nowhere (no service at all), or on a private bus of its
// own where the keyring daemon starts without an unlocked keyring and no way to ask for one.

#include "DrillSupport.h"
#include "analysis/InventoryAnalysisService.h"
#include "app/CommerceConnectorFactory.h"
#include "app/InventoryImportViewModel.h"
#include "app/TallybrookControlStore.h"
#include "app/WooConnectionViewModel.h"
#include "app/WooCorrectionsViewModel.h"
#include "export/AtomicFileWriter.h"
#include "export/InventoryCSVExportService.h"
#include "export/LabelPDFService.h"
#include "storage/ImportHistoryStore.h"
#include "storage/QtKeychainSecretStore.h"

#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gmock/gmock.h>

namespace tallybrook::drills {

namespace {

const QString consumerKey = u"ck_drill_5c1f0a7e9b"_s;
const QString consumerSecret = u"cs_drill_8d2e6b4a71"_s;

struct Environment {
    const char* name;
    bool privateBus; ///< a bus of its own (dbus-run-session) instead of none at all
};
void PrintTo(const Environment& environment, std::ostream* out) {
    *out << environment.name;
}

class SecretServiceDrill : public ::testing::TestWithParam<Environment> {};

} // namespace

// The application side, run only as the child of the drill below.
TEST(SecretServiceDrillChild, DISABLED_WorksWithoutTheSecretService) {
    const QString folder = qEnvironmentVariable("TALLYBROOK_DRILL_FOLDER");
    ASSERT_FALSE(folder.isEmpty());
    const auto preferences = openPreferences(folder + u"/preferences.sqlite3"_s);
    ASSERT_NE(preferences, nullptr);

    // Secret stores come and go with the pages that use them; every one must get its answers.
    const qint32 status = QtKeychainSecretStore(std::chrono::seconds(5)).read(u"drill"_s, u"a"_s).status;
    QtKeychainSecretStore later(std::chrono::seconds(5));
    for (int call = 0; call < 2; ++call) {
        EXPECT_EQ(later.read(u"drill"_s, u"a"_s).status, status) << "call " << call;
    }

    WooConnectionViewModel connection(standardCredentialStore(preferences), wooCommerceConnectorFactory());
    connection.setStoreURLString(u"http://127.0.0.1:9/boutique"_s);
    connection.setConsumerKey(consumerKey);
    connection.setConsumerSecret(consumerSecret);
    connection.save();
    ASSERT_TRUE(connection.errorMessage().has_value())
        << "a save without a secret service reported no problem";
    // The status alone ("Keychain error: 7.") does not say what is wrong; the service's reason must.
    EXPECT_THAT(connection.errorMessage()->toStdString(),
                ::testing::MatchesRegex("Keychain error: -?[0-9]+ \\(.+\\)\\."));
    connection.load();
    EXPECT_EQ(connection.consumerSecret(), consumerSecret) << "what the user typed is kept";

    TallybrookControlStore store(preferences);
    ImportHistoryStore history(preferences);
    InventoryImportViewModel importer(store, history);
    ASSERT_TRUE(importer.startImport(samplePath()));
    ASSERT_TRUE(waitUntil([&] { return !importer.isImporting(); }));
    EXPECT_EQ(InventoryAnalysisService::makeAnalysis(*store.document(), store.corrections()).totalRows, 56);
    writeFileAtomically(folder + u"/tallybrook-ecarts.csv"_s,
                        InventoryCSVExportService::exportDifferencesCSV(*store.document(), std::nullopt,
                                                                        InventoryCSVDialect::frenchExcel));
    EXPECT_GT(LabelPDFService()
                  .makeLabelPDF(store.document()->rows, store.document().get(), {}, AppLanguage::english)
                  .labelsDrawn,
              0);

    WooCorrectionsViewModel corrections(store, standardCredentialStore(preferences),
                                        wooCommerceConnectorFactory());
    corrections.reloadStocks();
    ASSERT_TRUE(waitUntil([&] { return !corrections.isReloadingStocks(); }));
    EXPECT_EQ(corrections.errorMessage(), u"WooCommerce connection is not configured."_s);
}

TEST_P(SecretServiceDrill, TheConnectionErrorSaysWhyAndNoSecretIsWrittenElsewhere) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"TALLYBROOK_DRILL_FOLDER"_s, dir.path());
    // Everything the child or a keyring daemon might write stays in the drill's folder.
    for (const QString& variable : {u"XDG_DATA_HOME"_s, u"XDG_CONFIG_HOME"_s, u"XDG_CACHE_HOME"_s}) {
        environment.insert(variable, dir.filePath(variable.toLower()));
    }
    environment.insert(u"XDG_RUNTIME_DIR"_s, dir.path());
    environment.remove(u"GNOME_KEYRING_CONTROL"_s);
    QString program = QCoreApplication::applicationFilePath();
    QStringList arguments{u"--gtest_also_run_disabled_tests"_s,
                          u"--gtest_filter=SecretServiceDrillChild.*"_s};
    if (GetParam().privateBus) {
        environment.remove(u"DBUS_SESSION_BUS_ADDRESS"_s);
        arguments.prepend(program);
        arguments.prepend(u"--"_s);
        program = QStandardPaths::findExecutable(u"dbus-run-session"_s);
        ASSERT_FALSE(program.isEmpty()) << "dbus-run-session is missing (scripts/setup installs dbus)";
    } else {
        environment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, u"unix:path="_s + dir.filePath(u"no-bus"_s));
    }

    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(program, arguments);
    ASSERT_TRUE(child.waitForFinished(120000));
    const QByteArray output = child.readAll();
    EXPECT_TRUE(child.exitCode() == 0 && output.contains("[  PASSED  ] 1 test")) << output.toStdString();

    EXPECT_TRUE(QFile::exists(dir.filePath(u"preferences.sqlite3"_s)));
    for (QDirIterator files(dir.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
         files.hasNext();) {
        const QString path = files.next();
        const QByteArray bytes = contents(path);
        EXPECT_FALSE(bytes.contains(consumerSecret.toUtf8()) || bytes.contains(consumerKey.toUtf8()))
            << "a secret was written to " << path.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Drills, SecretServiceDrill,
                         ::testing::Values(Environment{"NoSecretService", false},
                                           Environment{"LockedKeyringThatCannotAsk", true}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace tallybrook::drills
