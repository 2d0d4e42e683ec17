#include "storage/InventoryFileReader.h"

#include "document/TallybrookFileDecoder.h"
#include "support/InventoryBuilders.h"
#include "support/TestLanguage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace tallybrook;
using namespace tallybrook::test;

namespace {


using InventoryFileReaderTest = LanguageTest<>;

QString write(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
}

} // namespace

TEST_F(InventoryFileReaderTest, ReadsTheBytesAsTheyAreWithRoomToDecodeThemInPlace) {
    QTemporaryDir dir;
    const QByteArray bytes =
        documentBytes(sessionA, {rowJson(sessionA, u"101"_s, 5, 3, u"Mug"_s)}, u"Printemps"_s);
    const InventoryFile file = InventoryFileReader::read(write(dir, u"a.tallybrook"_s, bytes));
    EXPECT_EQ(file.bytes, bytes);
    EXPECT_TRUE(TallybrookFileDecoder::isReadableInPlace(file.bytes)) << "a whole second copy while decoding";
    EXPECT_EQ(file.decoded, InventoryFileReader::decode(bytes));
    EXPECT_EQ(file.decoded.document.session.name, u"Printemps"_s);
    EXPECT_EQ(file.decoded.document.rows.size(), 1);
}

TEST_F(InventoryFileReaderTest, FailuresGiveTheTextsAnImportShows) {
    QTemporaryDir dir;
    // The platform's own message for a file that cannot be read; the decoder's for the rest.
    const std::pair<QString, QString> cases[] = {
        {dir.filePath(u"absent.tallybrook"_s), u"No such file or directory"_s},
        {dir.path(), QString()},
        {write(dir, u"notes.txt"_s, "just some text"), u"Invalid Tallybrook format: "_s},
        {write(dir, u"empty.tallybrook"_s, ""),
         u"Invalid Tallybrook format: the file is empty (no JSON value found)"_s},
        {write(dir, u"v2.tallybrook"_s, documentBytes(sessionA, {}, u"v2"_s, {{u"formatVersion"_s, 2}})),
         u"Unsupported Tallybrook format version: 2."_s},
    };
    for (const auto& [path, messageStart] : cases) {
        SCOPED_TRACE(path.toStdString());
        QString message;
        bool unreadable = false;
        try {
            InventoryFileReader::read(path);
        } catch (const InventoryFileReadError& error) {
            message = error.localizedDescription(), unreadable = true;
        } catch (const TallybrookImportError& error) {
            message = error.localizedDescription();
        }
        EXPECT_FALSE(message.isEmpty());
        EXPECT_TRUE(message.startsWith(messageStart)) << message.toStdString();
        EXPECT_EQ(unreadable, !QFileInfo(path).isFile());
    }
}
