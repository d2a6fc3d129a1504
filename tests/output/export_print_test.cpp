#include <gtest/gtest.h>

#include <zlib.h>
#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "tests/support/window_fixture.h"
#include "toolkit/jpeg_file.h"

namespace {

using testing_support::ShownBox;

class ExportPrint : public testing_support::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        printer = true;
        ShowReady();
        Window().Puzzle1Click();
    }
    // The print dialog is confirmed, printing to a PDF file, with that many copies.
    void PrintToPdf(int copies) {
        Boxes().printAnswers = {true};
        Boxes().printChoices = [this, copies](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(Pdf());
            printer.setCopyCount(copies);
        };
    }
    QString Pdf() { return ProgramDir() + "printed.pdf"; }
    QString PrintPicture() { return ProgramDir() + "print.jpg"; }
    // The PDF with its compressed streams inflated, for reading its drawing commands.
    QString PdfText() {
        QFile file(Pdf());
        if (!file.open(QIODevice::ReadOnly)) {
            return {};
        }
        const QByteArray pdf = file.readAll();
        QByteArray text = pdf;
        for (qsizetype at = pdf.indexOf("stream\n"); at >= 0;
             at = pdf.indexOf("stream\n", at + 1)) {
            const qsizetype start = at + 7;
            const qsizetype end = pdf.indexOf("endstream", start);
            text += Inflate(pdf.mid(start, end - start));
        }
        return QString::fromLatin1(text);
    }
    static QByteArray Inflate(const QByteArray& data) {
        for (uLongf size = 1 << 16; size <= (1 << 24); size *= 4) {
            QByteArray out(static_cast<qsizetype>(size), '\0');
            uLongf produced = size;
            const int result =
                uncompress(reinterpret_cast<Bytef*>(out.data()), &produced,
                           reinterpret_cast<const Bytef*>(data.constData()), data.size());
            if (result == Z_OK) {
                out.resize(static_cast<qsizetype>(produced));
                return out;
            }
            if (result != Z_BUF_ERROR) {
                break;
            }
        }
        return {};
    }
};

TEST_F(ExportPrint, TheImageIsSavedWhenItsTimerFiresAndThePlayerIsTold) {
    Boxes().saveAnswers = {ProgramDir() + "board"};
    Window().SavePuzzleImage1Click();
    EXPECT_EQ(Boxes().shown.back(),
              (ShownBox{ShownBox::Kind::SaveDialog, "Save the Quillmark puzzle image"}));
    EXPECT_EQ(Boxes().saveRequests.back().filter, QStringLiteral("JPEG (*.jpg)"));
    EXPECT_TRUE(Find<QTimer>("Timer_salva_img").isActive());
    EXPECT_EQ(Find<QTimer>("Timer_salva_img").interval(), 2000);
    EXPECT_FALSE(QFile::exists(ProgramDir() + "board.jpg"));

    Window().Timer_salva_imgTimer();
    EXPECT_FALSE(Find<QTimer>("Timer_salva_img").isActive());
    EXPECT_EQ(toolkit::ReadJpeg(ProgramDir() + "board.jpg").size(), QSize(370, 370));
    EXPECT_EQ(Boxes().shown.back(),
              (ShownBox{ShownBox::Kind::Information, "Quillmark puzzle image saved."}));
}

TEST_F(ExportPrint, ARepeatedCommandKeepsThePendingTimerButTakesTheNewName) {
    Boxes().saveAnswers = {ProgramDir() + "first.jpg", ProgramDir() + "second.jpg"};
    Window().SavePuzzleImage1Click();
    QTimer& timer = Find<QTimer>("Timer_salva_img");
    const int remaining = timer.remainingTime();
    QTest::qWait(50);
    Window().SavePuzzleImage1Click();
    EXPECT_LT(timer.remainingTime(), remaining);
    Window().Timer_salva_imgTimer();
    EXPECT_FALSE(QFile::exists(ProgramDir() + "first.jpg"));
    EXPECT_TRUE(QFile::exists(ProgramDir() + "second.jpg"));
}

TEST_F(ExportPrint, PrintingPutsThePictureAtTheTopLeftOfALandscapePageOncePerCopy) {
    Window().Print1Click();
    QTimer& timer = Find<QTimer>("Timer_stampa");
    EXPECT_TRUE(timer.isActive());
    EXPECT_EQ(timer.interval(), 1000);

    PrintToPdf(2);
    Window().Timer_stampaTimer();
    EXPECT_FALSE(timer.isActive());
    EXPECT_EQ(Boxes().shown.back().kind, ShownBox::Kind::PrintDialog);
    EXPECT_FALSE(QFile::exists(PrintPicture()));

    const QString pdf = PdfText();
    // Two pages, each a landscape A4 sheet.
    EXPECT_EQ(pdf.count(QStringLiteral("/MediaBox [0 0 842.000000 595.000000]")), 2);
    // Each page draws the picture's 370 pixels at the origin of the printable area, scaled by
    // the whole-number ratio of the printer's 1200 dots per inch to the window's pixels.
    QRegularExpression drawing(QStringLiteral("(\\d+) 0 0 \\1 0 0 cm\n370 0 0 -370 0 370 cm /Im"));
    QRegularExpressionMatch found = drawing.match(pdf);
    ASSERT_TRUE(found.hasMatch());
    EXPECT_EQ(found.captured(1).toInt(), 1200 / Window().logicalDpiX());
}

TEST_F(ExportPrint, ACancelledPrintLeavesNoPicture) {
    Window().Print1Click();
    Window().Timer_stampaTimer();  // the dialog is cancelled
    EXPECT_EQ(Boxes().shown.back().kind, ShownBox::Kind::PrintDialog);
    EXPECT_FALSE(QFile::exists(PrintPicture()));
    EXPECT_FALSE(QFile::exists(Pdf()));
}

using PrintWithoutPrinter = testing_support::WindowTest;

TEST_F(PrintWithoutPrinter, PrintsIntoADocumentInTheDocumentsFolderAndSaysWhere) {
    const QByteArray home = qgetenv("HOME");
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", ProgramDir().toUtf8());  // Documents is made there, under no user-dirs file
    qunsetenv("XDG_CONFIG_HOME");
    printer = false;
    ShowReady();
    Window().Puzzle1Click();
    Window().Print1Click();
    Window().Timer_stampaTimer();
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", config);

    const QString pdf = ProgramDir() + "Documents/Quillmark puzzle.pdf";
    EXPECT_EQ(Boxes().Texts(),
              QStringList({"There is no printer: the puzzle was printed to " + pdf}));
    QFile printed(pdf);
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    EXPECT_TRUE(printed.readAll().startsWith("%PDF"));
    EXPECT_FALSE(QFile::exists(ProgramDir() + "print.jpg"));
}

}  // namespace
