// tallybrook-cli: the core of Tallybrook Control for scripts and checks. Writes no state.

#include "CliSupport.h"

#include "localization/AppLanguage.h"
#include "localization/PreferencesStore.h"

#include <QGuiApplication>

using namespace tallybrook;

namespace {

void printUsage() {
    QString text = QStringLiteral("usage: tallybrook-cli [--lang fr|en] COMMAND FILE [options]\ncommands:\n");
    for (const auto& [name, command] : cli::commandRegistry()) {
        text += QStringLiteral("  ") + command.usage + u'\n';
    }
    text += QStringLiteral("exit status: 0 success; 1 the operation failed (message on stderr): for reload,\n"
                           "  not one stock quantity could be read; for send, a line failed; 2 usage error\n");
    cli::printErr(text);
}

// The tool speaks through its own output lines only; Qt's diagnostics (such as a missing
// runtime folder for the offscreen platform) would mix into the messages scripts read.
void discardQtMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

} // namespace

int main(int argc, char* argv[]) {
    qInstallMessageHandler(discardQtMessage);
    // A GUI application object for the fonts the label sheets are drawn with; the offscreen
    // platform needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tallybrook"));
    QCoreApplication::setApplicationName(QStringLiteral("Tallybrook Control"));

    QStringList args = QCoreApplication::arguments().mid(1);
    auto preferences = cli::savedPreferences();
    PreferencesStore::setStandard(preferences);

    if (args.size() >= 2 && args.first() == u"--lang") {
        const auto language = appLanguageFromRawValue(args.at(1));
        if (!language) {
            cli::printErr(QStringLiteral("--lang takes fr or en\n"));
            printUsage();
            return cli::usageError;
        }
        // Only the in-memory layer changes; the saved preference is never written.
        preferences->setString(QString::fromUtf16(languagePreferenceStorageKey), rawValue(*language));
        args = args.mid(2);
    }
    if (args.isEmpty() || args.first() == u"--help" || args.first() == u"-h") {
        printUsage();
        return args.isEmpty() ? cli::usageError : cli::success;
    }

    const QString name = args.takeFirst();
    const auto it = cli::commandRegistry().find(name);
    if (it == cli::commandRegistry().end()) {
        cli::printErr(QStringLiteral("unknown command: ") + name + u'\n');
        printUsage();
        return cli::usageError;
    }
    try {
        return it->second.run(args);
    } catch (const cli::UsageError& error) {
        cli::printErr(error.message + QStringLiteral("\nusage: tallybrook-cli [--lang fr|en] ") + it->second.usage +
                      u'\n');
        return cli::usageError;
    }
}
