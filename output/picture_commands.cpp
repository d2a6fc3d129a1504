#include "output/picture_commands.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QWidget>
#include <stdexcept>

#include "output/printing.h"
#include "output/puzzle_picture.h"
#include "output/save_path.h"
#include "toolkit/dialogs.h"
#include "toolkit/jpeg_file.h"
#include "toolkit/sentences.h"

namespace output {

namespace {

constexpr int kExportDelayMs = 2000;
constexpr int kPrintDelayMs = 1000;

void StartOnce(QTimer& timer) {
    if (!timer.isActive()) {
        timer.start();
    }
}

// The temporary print picture goes whatever happens to the print.
class RemoveOnExit {
public:
    explicit RemoveOnExit(QString path) : path_(std::move(path)) {}
    ~RemoveOnExit() { QFile::remove(path_); }
    RemoveOnExit(const RemoveOnExit&) = delete;
    RemoveOnExit& operator=(const RemoveOnExit&) = delete;

private:
    QString path_;
};

}  // namespace

bool PictureCommands::SystemHasPrinter() {
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

PictureCommands::PictureCommands(QWidget& board, const appearance::SkinColors& colors,
                                 toolkit::Dialogs& dialogs, QString printPicturePath,
                                 PrinterCheck hasPrinter, QObject* parent)
    : QObject(parent),
      board_(board),
      colors_(colors),
      dialogs_(dialogs),
      printPicturePath_(std::move(printPicturePath)),
      hasPrinter_(std::move(hasPrinter)) {
    // Children, so that they can be found by name; members, so that they go with this object.
    exportTimer_.setParent(this);
    printTimer_.setParent(this);
    exportTimer_.setObjectName(QStringLiteral("Timer_salva_img"));
    exportTimer_.setInterval(kExportDelayMs);
    connect(&exportTimer_, &QTimer::timeout, this, &PictureCommands::exportDue);
    printTimer_.setObjectName(QStringLiteral("Timer_stampa"));
    printTimer_.setInterval(kPrintDelayMs);
    connect(&printTimer_, &QTimer::timeout, this, &PictureCommands::printDue);
}

void PictureCommands::AskExport() {
    const std::optional<QString> path =
        ChooseSavePath(dialogs_, sentences::kSaveImageTitle, sentences::kImageFileType, "jpg");
    if (!path) {
        return;
    }
    picturePath_ = *path;
    StartOnce(exportTimer_);
}

void PictureCommands::Export() {
    exportTimer_.stop();
    CapturePuzzlePicture(board_, picturePath_, colors_);
    dialogs_.ShowMessage(toolkit::BoxKind::Information, sentences::kPictureSaved);
}

void PictureCommands::RequestPrint() {
    picturePath_ = printPicturePath_;
    StartOnce(printTimer_);
}

void PictureCommands::Print() {
    printTimer_.stop();
    const RemoveOnExit removePrintPicture(printPicturePath_);
    CapturePuzzlePicture(board_, picturePath_, colors_);
    const QImage picture = toolkit::ReadJpeg(printPicturePath_);

    QPrinter printer(QPrinter::HighResolution);
    if (hasPrinter_()) {
        if (dialogs_.AskPrint(printer)) {
            PrintPicture(printer, picture, board_.logicalDpiX(), board_.logicalDpiY());
        }
        return;
    }
    // A print dialog without a printer offers nothing to print on: print into a document.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QDir().mkpath(documents)) {
        throw std::runtime_error("Cannot make the folder " +
                                 QDir::toNativeSeparators(documents).toStdString());
    }
    const QString pdf = QDir(documents).absoluteFilePath(QStringLiteral("Quillmark puzzle.pdf"));
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    PrintPicture(printer, picture, board_.logicalDpiX(), board_.logicalDpiY());
    dialogs_.ShowMessage(toolkit::BoxKind::Information,
                         QString(sentences::kPrintedToFile).arg(QDir::toNativeSeparators(pdf)));
}

}  // namespace output
