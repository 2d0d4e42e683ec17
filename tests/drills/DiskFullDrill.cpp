// The disk fills up while a CSV file or a label sheet is being saved over last week's export.
// A file size limit (RLIMIT_FSIZE, with SIGXFSZ ignored) makes writes beyond it fail the way a
// full disk does, without needing root. The save must fail with an error that names the file
// and the reason, and leave the file that stood at that path exactly as it was, with no
// half-written temporary file beside it.

#include "DrillSupport.h"
#include "export/AtomicFileWriter.h"
#include "export/InventoryCSVExportService.h"
#include "export/LabelPDFService.h"

#include <QDir>
#include <QTemporaryDir>
#include <csignal>
#include <sys/resource.h>

namespace tallybrook::drills {

namespace {

/// Files of this process cannot grow beyond `bytes` while it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

} // namespace

TEST(DiskFullDrill, AFullDiskFailsTheSaveWithAClearErrorAndKeepsTheFileThatStoodThere) {
    const InventoryExportDocument document = sample().document;
    const std::pair<QString, QByteArray> exports[] = {
        {u"tallybrook-ecarts.csv"_s, InventoryCSVExportService::exportDifferencesCSV(
                                         document, std::nullopt, InventoryCSVDialect::frenchExcel)},
        {u"tallybrook-etiquettes.pdf"_s,
         LabelPDFService().makeLabelPDF(document.rows, &document, {}, AppLanguage::french).pdf}};
    for (const auto& [fileName, bytes] : exports) {
        SCOPED_TRACE(fileName.toStdString());
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString path = dir.filePath(fileName);
        const QByteArray lastWeek = QByteArray("the export of last week\n").repeated(50);
        writeFileAtomically(path, lastWeek);
        ASSERT_GT(bytes.size(), 2 * lastWeek.size());

        try {
            const FileSizeLimit full(rlim_t(bytes.size() / 2));
            writeFileAtomically(path, bytes);
            ADD_FAILURE() << "a save that ran out of room was reported as done";
        } catch (const FileWriteError& error) {
            EXPECT_FALSE(error.reason().isEmpty());
            EXPECT_EQ(error.localizedDescription(AppLanguage::english),
                      u"Could not save "_s + path + u": "_s + error.reason());
        }
        EXPECT_EQ(contents(path), lastWeek) << "the file that stood there was damaged";
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{fileName})
            << "a temporary file was left behind";

        writeFileAtomically(path, bytes); // room again: the same save goes through
        EXPECT_EQ(contents(path), bytes);
    }
}

} // namespace tallybrook::drills
