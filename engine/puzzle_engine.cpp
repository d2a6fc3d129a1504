#include "engine/puzzle_engine.h"

#include <stdexcept>
#include <string>

namespace engine {

namespace {

std::string Text(const QString& text) {
    return text.toStdString();
}

}  // namespace

QString PuzzleEngine::GridText() {
    return link_.CallText("restituisci_stringa");
}

QString PuzzleEngine::WriteCell(Cell cell, const QString& digit) {
    // The engine takes an empty cell as the integer 0, a digit as its text.
    if (digit.isEmpty()) {
        return link_.CallText("scrivi_cella", {cell.row, cell.column, 0});
    }
    return link_.CallText("scrivi_cella", {cell.row, cell.column, Text(digit)});
}

QString PuzzleEngine::Candidates(Cell cell) {
    return link_.CallText("leggi_candidati", {cell.row, cell.column});
}

void PuzzleEngine::Clear() {
    link_.CallText("azzera");
}

int PuzzleEngine::FilledCount() {
    return Number("valori_soluzione");
}

int PuzzleEngine::TestSolvable() {
    return Number("test_risolvibile");
}

QString PuzzleEngine::VerifySolution() {
    return link_.CallText("verifica_soluzione_corrente");
}

QString PuzzleEngine::Solve() {
    return link_.CallText("risolvi");
}

QString PuzzleEngine::UniqueSolution(const QString& puzzle) {
    return link_.CallText("UniqueSolution", {Text(puzzle)});
}

QString PuzzleEngine::RatePuzzle(const QString& puzzle) {
    return link_.CallText("valuta_puzzle", {Text(puzzle)});
}

QString PuzzleEngine::ExplainStep(const QString& puzzle, const QString& board,
                                  const QString& ruledOut) {
    return link_.CallText("spiega_passo", {Text(puzzle), Text(board), Text(ruledOut)});
}

QString PuzzleEngine::Generate(int levelNumber) {
    return link_.CallText("genera", {levelNumber});
}

QString PuzzleEngine::SaveToFile(const QString& path) {
    return link_.CallText("salva_su_file", {Text(path)});
}

QString PuzzleEngine::LoadFromFile(const QString& path) {
    return link_.CallText("leggi_da_file", {Text(path)});
}

QString PuzzleEngine::Version() {
    return link_.CallText("Versione");
}

QString PuzzleEngine::StartLadderGame(const QString& user, const QString& password) {
    return link_.CallText("IniziaGiocoLadder", {Text(user), Text(password)});
}

QString PuzzleEngine::FinishLadderGame(const QString& user, const QString& password,
                                       const QString& gameId) {
    return link_.CallText("ChiudiGiocoLadder", {Text(user), Text(password), Text(gameId)});
}

QString PuzzleEngine::ForfeitLadderGame(const QString& user, const QString& password,
                                        const QString& gameId) {
    return link_.CallText("RinunciaGiocoLadder", {Text(user), Text(password), Text(gameId)});
}

QString PuzzleEngine::CheckVersion() {
    return link_.CallText("VerificaVersione");
}

int PuzzleEngine::Number(std::string_view operation) {
    bool isNumber = false;
    const int number = link_.CallText(operation).trimmed().toInt(&isNumber);
    if (!isNumber) {
        throw std::runtime_error("The puzzle engine gave no number for " + std::string(operation));
    }
    return number;
}

}  // namespace engine
