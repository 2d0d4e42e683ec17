// The label sheet: what its lines say after saving or printing, the dense barcode warning, the
// printed sheets against the saved PDF, and Qt's own dialog texts in the window's language.

#include "UiTestSupport.h"
#include "app/TallybrookControlStore.h"
#include "export/LabelTestSupport.h"
#include "localization/AppSettings.h"
#include "ui/components/SegmentedPicker.h"
#include "ui/components/SymbolLabel.h"
#include "ui/pages/LabelPrintOptionsView.h"
#include "ui/shell/AppLaunch.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPrinter>
#include <QPushButton>

namespace tallybrook::testing {

namespace {

class LabelPageTest : public WindowTest {
protected:
    /// Where the next print goes (a PDF file); none: the print dialog is cancelled.
    std::optional<QString> nextPrintPath;

    /// The sheet of every row of a document made of `rows`.
    std::unique_ptr<LabelPrintOptionsView> openSheet(const QJsonArray& rows) {
        open();
        EXPECT_TRUE(importFile(writeDocument(rows)));
        const TallybrookControlStore& store = window->context().store;
        InventoryRowList all;
        for (const InventoryExportRow& row : store.document()->rows) {
            all.append(&row);
        }
        PrintService printer([this](QWidget*, QPrinter& printer) {
            if (!nextPrintPath) {
                return false;
            }
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(*nextPrintPath);
            return true;
        });
        return std::make_unique<LabelPrintOptionsView>(window->context(), store.document(), all,
                                                       u"tallybrook-etiquettes.pdf"_s, nullptr,
                                                       std::move(printer));
    }

    static QJsonArray codedRows(const QStringList& codes) {
        QJsonArray rows;
        for (const QString& code : codes) {
            rows.append(QJsonObject{{u"itemName"_s, QString(u"Article "_s + code)},
                                    {u"status"_s, u"counted"_s},
                                    {u"inventoryCode"_s, code}});
        }
        rows.append(QJsonObject{{u"itemName"_s, u"Sans code"_s}, {u"status"_s, u"counted"_s}});
        return rows;
    }
};

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST_F(LabelPageTest, SavingOrPrintingSaysWhatHappenedAndACancelSaysNothing) {
    const auto sheet = openSheet(codedRows({u"A-1"_s, u"B-2"_s}));
    struct Action {
        void (LabelPrintOptionsView::*run)();
        std::optional<QString>* destination;
        QString done;
    };
    const Action actions[] = {
        {&LabelPrintOptionsView::generate, &nextSavePath,
         u"2 étiquette(s) générée(s). 1 ligne(s) ignorée(s)."_s},
        {&LabelPrintOptionsView::print, &nextPrintPath,
         u"2 étiquette(s) imprimée(s). 1 ligne(s) ignorée(s)."_s},
    };
    for (const Action& action : actions) {
        *action.destination = folder.filePath(u"sheet.pdf"_s);
        ((*sheet).*action.run)();
        EXPECT_EQ(sheet->successMessage()->text(), action.done);
        EXPECT_FALSE(sheet->successMessage()->isHidden());
        // Nothing written, nothing printed: the earlier success line must not stay either.
        action.destination->reset();
        ((*sheet).*action.run)();
        EXPECT_TRUE(sheet->successMessage()->isHidden()) << sheet->successMessage()->text().toStdString();
        EXPECT_TRUE(sheet->errorMessage()->isHidden());
    }
    // A printer that cannot be written to is a failure, not a success.
    nextPrintPath = folder.filePath(u"missing/sheet.pdf"_s);
    sheet->print();
    EXPECT_TRUE(sheet->successMessage()->isHidden());
    EXPECT_EQ(sheet->errorMessage()->text(), u"Impossible d'imprimer les étiquettes."_s);
}

TEST_F(LabelPageTest, DenseBarcodeWarningShowsForLongCodesInBarcodeModeOnly) {
    const auto sheet = openSheet(codedRows({u"AB"_s, u"ABCDEFGHIJKLMNOPQRST"_s}));
    EXPECT_FALSE(sheet->denseBarcodeMessage()->isHidden());
    EXPECT_TRUE(
        sheet->denseBarcodeMessage()->text().startsWith(u"Les barres du code-barres seront trop fines"_s));
    sheet->codeKindPicker()->button(1)->click();
    EXPECT_TRUE(sheet->denseBarcodeMessage()->isHidden());
}

// Labels land on paper where the PDF puts them: same pages, same pixels, no shift, no scaling.
TEST_F(LabelPageTest, PrintedSheetsMatchTheSavedPdf) {
    QStringList codes;
    for (int i = 0; i < 50; ++i) {
        codes.append(u"P-%1"_s.arg(i));
    }
    const auto sheet = openSheet(codedRows(codes));
    nextSavePath = folder.filePath(u"saved.pdf"_s);
    sheet->generate();
    nextPrintPath = folder.filePath(u"printed.pdf"_s);
    sheet->print();
    ASSERT_TRUE(sheet->errorMessage()->isHidden()) << sheet->errorMessage()->text().toStdString();

    constexpr int dpi = 100;
    const QList<QImage> saved = test::rasterisePdf(readAll(*nextSavePath), dpi);
    const QList<QImage> printed = test::rasterisePdf(readAll(*nextPrintPath), dpi);
    ASSERT_EQ(saved.size(), 2);
    ASSERT_EQ(printed.size(), saved.size());
    for (qsizetype page = 0; page < saved.size(); ++page) {
        const QImage a = saved.at(page).convertToFormat(QImage::Format_Grayscale8);
        const QImage b = printed.at(page).convertToFormat(QImage::Format_Grayscale8);
        ASSERT_EQ(a.size(), b.size());
        qint64 dark = 0, different = 0;
        for (int y = 0; y < a.height(); ++y) {
            for (int x = 0; x < a.width(); ++x) {
                const int pa = a.constScanLine(y)[x], pb = b.constScanLine(y)[x];
                dark += pa < 128;
                different += std::abs(pa - pb) > 64;
            }
        }
        EXPECT_GT(dark, 1000) << "page " << page;
        EXPECT_LT(different, dark / 100) << "page " << page;
    }
}

// Qt's own texts (here a save dialog's buttons) follow the window's language, and change with it.
TEST_F(LabelPageTest, QtDialogsSpeakTheWindowsLanguage) {
    systemLanguages = {u"en-US"_s};
    open();
    const QtTranslations translations(window->context().settings);
    const auto buttons = [] {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        auto* box = dialog.findChild<QDialogButtonBox*>();
        EXPECT_NE(box, nullptr);
        return box ? QStringList{box->button(QDialogButtonBox::Save)->text().remove(u'&'),
                                 box->button(QDialogButtonBox::Cancel)->text().remove(u'&')}
                   : QStringList();
    };
    EXPECT_EQ(buttons(), (QStringList{u"Save"_s, u"Cancel"_s}));
    window->context().settings.setLanguagePreference(AppLanguagePreference::french);
    EXPECT_EQ(buttons(), (QStringList{u"Enregistrer"_s, u"Annuler"_s}));
    window->context().settings.setLanguagePreference(AppLanguagePreference::english);
    EXPECT_EQ(buttons(), (QStringList{u"Save"_s, u"Cancel"_s}));
}

} // namespace tallybrook::testing
