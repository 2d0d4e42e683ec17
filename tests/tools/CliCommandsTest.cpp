#include "CliTestSupport.h"
#include "storage/SqlitePreferencesStore.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tallybrook;
using namespace Qt::StringLiterals;

namespace {

const QString& sample = test::sampleInventory;

// Runs the tool with its own throw-away data folder, so the user's preferences are never read.
class CliCommandsTest : public ::testing::Test {
protected:
    test::CliRun cli(const QStringList& arguments) const { return test::runCli(home_.path(), arguments); }
    QString preferencesPath() const {
        return home_.path() + u"/Tallybrook/Tallybrook Control/preferences.sqlite3"_s;
    }

    QTemporaryDir home_;
    QTemporaryDir scratch_;
};

QByteArray sha(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}

} // namespace

TEST_F(CliCommandsTest, FailuresExitOneWithTheReasonOnStderrInTheChosenLanguage) {
    const QString file = scratch_.filePath(u"no-format.tallybrook"_s);
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(R"({"formatVersion":1,"session":{"id":"6F1C2A34-8B7D-4E2F-9A10-3C5D7E9F1B2A"}})");
    out.close();
    const QString pdf = scratch_.filePath(u"etiquettes.pdf"_s);
    const std::pair<QStringList, QString> cases[] = {
        {{u"--lang"_s, u"fr"_s, u"check"_s, file}, u"Format Tallybrook invalide: Identifiant de format absent.\n"_s},
        {{u"--lang"_s, u"en"_s, u"check"_s, file}, u"Invalid Tallybrook format: Missing format identifier.\n"_s},
        {{u"--lang"_s, u"fr"_s, u"labels"_s, sample, u"--pdf"_s, pdf, u"--search"_s, u"zzzz-nothing"_s},
         u"Aucune ligne affichée ne contient de code produit, code inventaire ou SKU exploitable.\n"_s},
    };
    for (const auto& [arguments, error] : cases) {
        const test::CliRun run = cli(arguments);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_EQ(run.errText(), error);
    }
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(CliCommandsTest, UsageErrorsExitTwo) {
    const QList<QStringList> cases = {
        {},
        {u"frobnicate"_s, sample},
        {u"check"_s},
        {u"--lang"_s, u"de"_s, u"check"_s, sample},
        {u"rows"_s, sample, u"--filter"_s, u"everything"_s},
        {u"rows"_s, sample, u"--no-such-option"_s},
        {u"labels"_s, sample},
        {u"send"_s, sample, u"--select"_s, u"everything"_s},
        {u"send"_s, sample, u"--dry-run"_s, u"--report"_s, u"-"_s},
    };
    for (const QStringList& arguments : cases) {
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        EXPECT_EQ(cli(arguments).exitCode, 2);
    }
}

TEST_F(CliCommandsTest, TheToolNeverWritesTheSavedPreferences) {
    {
        auto saved = SqlitePreferencesStore::open(preferencesPath());
        ASSERT_NE(saved, nullptr);
        saved->setString(u"com.tallybrook.control.language"_s, u"fr"_s);
    }
    const QByteArray before = sha(preferencesPath());
    // The saved French preference is read...
    test::CliRun saved = cli({u"rows"_s, sample, u"--search"_s, u"ecart"_s});
    EXPECT_EQ(saved.exitCode, 0);
    EXPECT_EQ(saved.out.count('\n'), 16)
        << "\"ecart\" finds the French status label of the 16 difference rows";
    // ...and --lang overrides it for one run only.
    test::CliRun english = cli({u"--lang"_s, u"en"_s, u"rows"_s, sample, u"--search"_s, u"ecart"_s});
    EXPECT_EQ(english.exitCode, 0);
    EXPECT_TRUE(english.out.isEmpty());
    EXPECT_EQ(sha(preferencesPath()), before);
    auto reread = SqlitePreferencesStore::openReadOnly(preferencesPath());
    ASSERT_NE(reread, nullptr);
    EXPECT_EQ(reread->string(u"com.tallybrook.control.language"_s), u"fr"_s);
}

TEST_F(CliCommandsTest, AnalyzeJsonCarriesTheDashboardFigures) {
    test::CliRun run = cli({u"--lang"_s, u"en"_s, u"analyze"_s, sample, u"--json"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QJsonParseError error;
    const QJsonObject analysis = QJsonDocument::fromJson(run.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError);
    EXPECT_EQ(analysis.value(u"sessionId"_s).toString(), u"3F6B2C1E-8D4A-4F7B-9E2C-5A1D0B7C4E93"_s);
    EXPECT_EQ(analysis.value(u"totalRows"_s).toInteger(), 56);
    EXPECT_TRUE(analysis.value(u"exportedAt"_s).toString().endsWith(u'Z'));
    EXPECT_EQ(analysis.value(u"differenceRows"_s).toInteger(), 16);
}

TEST_F(CliCommandsTest, CsvExportsUseTheirDialects) {
    test::CliRun standard =
        cli({u"differences"_s, sample, u"--csv"_s, u"-"_s, u"--dialect"_s, u"standard"_s});
    ASSERT_EQ(standard.exitCode, 0) << standard.err.toStdString();
    EXPECT_TRUE(standard.out.startsWith("session_id,session_name,inventory_date,source,"));
    EXPECT_EQ(standard.out.count('\n'), 16) << "a header and 16 difference rows";

    test::CliRun corrections = cli({u"--lang"_s, u"fr"_s, u"corrections"_s, sample, u"--csv"_s, u"-"_s});
    ASSERT_EQ(corrections.exitCode, 0) << corrections.err.toStdString();
    EXPECT_TRUE(corrections.out.startsWith("\xEF\xBB\xBFSelection;Statut;Article;"));
    EXPECT_EQ(corrections.out.count("\r\n"), 56) << "a header and one line per row";
    EXPECT_TRUE(corrections.out.contains(";Prêt;"));

    const QString file = scratch_.filePath(u"ecarts.csv"_s);
    test::CliRun toFile = cli({u"differences"_s, sample, u"--csv"_s, file});
    EXPECT_EQ(toFile.exitCode, 0);
    EXPECT_TRUE(toFile.out.isEmpty());
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().startsWith("\xEF\xBB\xBF"));
}

TEST_F(CliCommandsTest, LabelsWriteAPdfAndPrintTheGeneratedLine) {
    const QString pdf = scratch_.filePath(u"etiquettes.pdf"_s);
    test::CliRun qr =
        cli({u"--lang"_s, u"en"_s, u"labels"_s, sample, u"--pdf"_s, pdf, u"--kind"_s, u"qrCode"_s});
    ASSERT_EQ(qr.exitCode, 0) << qr.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(qr.out), u"56 label(s) generated.\n"_s);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5) == "%PDF-");
}
