#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

class QWidget;

namespace appearance {
struct SkinColors;
}

namespace toolkit {
class Dialogs;
}

namespace output {

// Saving the puzzle picture under a chosen name, and printing it. Both commands only note the
// picture's path and start a one-shot timer; the picture is taken when the window answers
// exportDue or printDue, so that the menu or dialog of the command no longer covers the board.
// A repeated command keeps the pending timer's firing time.
class PictureCommands : public QObject {
    Q_OBJECT

public:
    // Whether the system has a printer to offer.
    using PrinterCheck = std::function<bool()>;
    static bool SystemHasPrinter();

    // board, colors and dialogs must outlive the commands; printPicturePath is where the
    // picture to print is written for the while of a print.
    PictureCommands(QWidget& board, const appearance::SkinColors& colors, toolkit::Dialogs& dialogs,
                    QString printPicturePath, PrinterCheck hasPrinter = SystemHasPrinter,
                    QObject* parent = nullptr);

    // Asks for the picture's name; exportDue follows 2 s later.
    void AskExport();
    // Writes the picture to the chosen name and tells the player.
    void Export();
    // printDue follows 1 s later.
    void RequestPrint();
    // Takes the picture and prints it once the player confirms the print dialog. Where the
    // system has no printer there is no dialog: it prints into "Quillmark puzzle.pdf" in the
    // Documents folder of the desktop's user folders (made when missing) and tells the player
    // where. The picture's file is gone afterwards, whatever happened.
    void Print();

signals:
    void exportDue();
    void printDue();

private:
    QWidget& board_;
    const appearance::SkinColors& colors_;
    toolkit::Dialogs& dialogs_;
    const QString printPicturePath_;
    PrinterCheck hasPrinter_;
    QString picturePath_;
    QTimer exportTimer_;
    QTimer printTimer_;
};

}  // namespace output
