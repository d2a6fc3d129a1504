#pragma once

#include <QLatin1String>

// Every sentence the program says to the player, in message boxes, the status bar and the wait
// panel, as the game has always worded it (its spelling included). The captions of the window's
// design (menu items, tool tips, the status bar's first texts, the about box) stay in the tables
// of the parts that show them.
namespace sentences {

// Questions: only Yes goes on.
inline constexpr QLatin1String kClearForNewPuzzle{
    "Do you want clear the grid and create a new puzzle?"};
inline constexpr QLatin1String kClearForLoad{"Do you want clear the grid and load a new file?"};
inline constexpr QLatin1String kClearUnlockedCells{"The unlocked cells will be clear, confirm?"};
inline constexpr QLatin1String kShowSolutionQuestion{"Do you want show the solution?"};
inline constexpr QLatin1String kDownloadNewVersion{
    "A new version is available for update. Do you want download it now?"};
// %1: the file name.
inline constexpr QLatin1String kReplaceFile{"%1 already exists.\nDo you want to replace it?"};

// Answers to the player's commands.
inline constexpr QLatin1String kGridHasSolution{"The grid have a solution."};
inline constexpr QLatin1String kGridHasNoSolution{"The grid doesn't have a solution!"};
inline constexpr QLatin1String kSolutionIncorrect{"The solution is incorrect!"};
inline constexpr QLatin1String kGridSolved{"You have solved the grid!"};
inline constexpr QLatin1String kTooFewValues{"You need to insert at least 15 values"};
inline constexpr QLatin1String kNoNewVersion{"No new version is available for update."};
inline constexpr QLatin1String kPictureSaved{"Quillmark puzzle image saved."};
// %1: the document printed into where the system has no printer.
inline constexpr QLatin1String kPrintedToFile{"There is no printer: the puzzle was printed to %1"};
inline constexpr QLatin1String kOnlineGameLeft{
    "Online game is terminated: you cannot leave the quillmark during online games!"};

// The engine's error codes, as the player reads them. %1: the file name.
inline constexpr QLatin1String kFileMissing{"The file doesn't exist!"};
inline constexpr QLatin1String kFileCannotOpen{"The file %1 can't be open!"};
inline constexpr QLatin1String kNotEnabledOnline{"User not enabled for online games!"};
inline constexpr QLatin1String kIncorrectSolution{"Incorrect solution!"};
inline constexpr QLatin1String kUnexpectedError{"Unexpected Error Occured!"};
// The engine's own codes for what went wrong between it and the game server.
inline constexpr QLatin1String kServerUnreachable{
    "The game server cannot be reached now: check your connection, or try again later."};
inline constexpr QLatin1String kServerBusy{"The game server is busy: try again in a moment."};
inline constexpr QLatin1String kBadServerAnswer{
    "The game server gave an answer the game cannot understand."};
inline constexpr QLatin1String kUntrustedServer{
    "The game server's certificate cannot be verified, so nothing was sent to it."};
inline constexpr QLatin1String kBadServerAddress{
    "The game server's address in QUILLMARK_LADDER_URL is not an http:// or https:// address."};
inline constexpr QLatin1String kTextNotUtf8{
    "The user name or password of the online account is not valid text."};

// The status bar: each a whole panel text, or the start of one.
inline constexpr QLatin1String kLevelPanel{"Level: "};
inline constexpr QLatin1String kOnlineGamePanel{"Online game"};
inline constexpr QLatin1String kMissingPanel{"Miss.n.: "};
inline constexpr QLatin1String kVersionPanel{"Version "};
inline constexpr QLatin1String kHintsOn{"Hint none"};
inline constexpr QLatin1String kHintsOff{"Hint disabled"};
inline constexpr QLatin1String kHintList{"Hint: |"};
inline constexpr QLatin1String kHintNoCandidates{"Hint: none"};

// The wait panel over the board.
inline constexpr QLatin1String kInitialising{"Initialising, please wait..."};
inline constexpr QLatin1String kGenerating{"Generating, please wait..."};
inline constexpr QLatin1String kRetrieving{"Retrieving, please wait..."};

// The cover over the board while the game is paused.
inline constexpr QLatin1String kPausedCover{"Paused"};

// The titles and file types of the save dialogs.
inline constexpr QLatin1String kSavePuzzleTitle{"Save the Quillmark puzzle"};
inline constexpr QLatin1String kPuzzleFileType{"Text (*.txt)"};
inline constexpr QLatin1String kSaveImageTitle{"Save the Quillmark puzzle image"};
inline constexpr QLatin1String kImageFileType{"JPEG (*.jpg)"};

}  // namespace sentences
