#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <gtest/gtest.h>
#include <optional>

namespace tallybrook::test {

/// The sample inventory the commands read.
inline const QString sampleInventory = QStringLiteral(TALLYBROOK_SOURCE_DIR "/samples/boutique-lumiere.tallybrook");

/// What one run of tallybrook-cli gave.
struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;

    QString outText() const { return QString::fromUtf8(out); }
    QString errText() const { return QString::fromUtf8(err); }
};

/// Runs the built tool with `dataHome` as its data folder, so the user's preferences and saved
/// connection never take part, and with these shop credentials in the environment (none: the
/// variables are unset).
inline CliRun runCli(const QString& dataHome, const QStringList& arguments,
                     const std::optional<std::pair<QString, QString>>& credentials = std::nullopt) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    environment.remove(QStringLiteral("TALLYBROOK_WOO_CONSUMER_KEY"));
    environment.remove(QStringLiteral("TALLYBROOK_WOO_CONSUMER_SECRET"));
    if (credentials) {
        environment.insert(QStringLiteral("TALLYBROOK_WOO_CONSUMER_KEY"), credentials->first);
        environment.insert(QStringLiteral("TALLYBROOK_WOO_CONSUMER_SECRET"), credentials->second);
    }
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TALLYBROOK_CLI), arguments);
    EXPECT_TRUE(process.waitForFinished(120'000));
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace tallybrook::test
