#include "puzzle_engine/engine_object.h"

#include <map>
#include <string>

#include "puzzle_engine/error_codes.h"
#include "puzzle_engine/step_report.h"
#include "puzzle_engine/version.h"
#include "puzzle_engine/version_check.h"

namespace puzzle_engine {

namespace {

using Operation = engine::Variant (EngineObject::*)(const Arguments&);

// A cell's new value: a text "1" to "9" is that digit, the integer 0 empties the cell;
// anything else is no value.
std::optional<int> CellValue(const engine::Variant& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        if (text->size() == 1 && (*text)[0] >= '1' && (*text)[0] <= '9') {
            return (*text)[0] - '0';
        }
    } else if (const auto* number = std::get_if<std::int32_t>(&value)) {
        if (*number == 0) {
            return 0;
        }
    }
    return std::nullopt;
}

std::string Flag(bool value) {
    return value ? "1" : "0";
}

}  // namespace

EngineObject::EngineObject(const StartOptions& options)
    : options_(options), session_(options.seed), ladder_(options.serverTimeoutMs) {}

engine::Variant EngineObject::Invoke(std::string_view member, std::span<engine::Variant> args) {
    static const std::map<std::string_view, Operation> operations = {
        {"genera", &EngineObject::genera},
        {"restituisci_stringa", &EngineObject::restituisci_stringa},
        {"scrivi_cella", &EngineObject::scrivi_cella},
        {"leggi_candidati", &EngineObject::leggi_candidati},
        {"azzera", &EngineObject::azzera},
        {"valori_soluzione", &EngineObject::valori_soluzione},
        {"test_risolvibile", &EngineObject::test_risolvibile},
        {"verifica_soluzione_corrente", &EngineObject::verifica_soluzione_corrente},
        {"risolvi", &EngineObject::risolvi},
        {"salva_su_file", &EngineObject::salva_su_file},
        {"leggi_da_file", &EngineObject::leggi_da_file},
        {"Versione", &EngineObject::Versione},
        {"IniziaGiocoLadder", &EngineObject::IniziaGiocoLadder},
        {"ChiudiGiocoLadder", &EngineObject::ChiudiGiocoLadder},
        {"RinunciaGiocoLadder", &EngineObject::RinunciaGiocoLadder},
        {"VerificaVersione", &EngineObject::VerificaVersione},
        {"UniqueSolution", &EngineObject::UniqueSolution},
        {"valuta_puzzle", &EngineObject::valuta_puzzle},
        {"spiega_passo", &EngineObject::spiega_passo},
    };
    auto found = operations.find(member);
    if (found == operations.end()) {
        throw engine::DispatchError("the puzzle engine has no operation named '" +
                                    std::string(member) + "'");
    }
    return (this->*found->second)(Arguments(member, args));
}

engine::Variant EngineObject::genera(const Arguments& args) {
    args.ExpectCount(1);
    return session_.Generate(args.Integer(0));
}

engine::Variant EngineObject::restituisci_stringa(const Arguments& args) {
    args.ExpectCount(0, 1);
    return FormatGridText(session_.Current());
}

engine::Variant EngineObject::scrivi_cella(const Arguments& args) {
    args.ExpectCount(3);
    const int row = args.Integer(0);
    const int column = args.Integer(1);
    std::optional<int> value = CellValue(args.At(2));
    if (!value) {
        return std::string(codes::kInvalidValue);
    }
    return session_.WriteCell(row, column, *value);
}

engine::Variant EngineObject::leggi_candidati(const Arguments& args) {
    args.ExpectCount(2);
    const int row = args.Integer(0);
    const int column = args.Integer(1);
    return session_.Candidates(row, column);
}

engine::Variant EngineObject::azzera(const Arguments& args) {
    args.ExpectCount(0);
    session_.Clear();
    return std::string();
}

engine::Variant EngineObject::valori_soluzione(const Arguments& args) {
    args.ExpectCount(0);
    return session_.FilledCount();
}

engine::Variant EngineObject::test_risolvibile(const Arguments& args) {
    args.ExpectCount(0);
    return session_.IsSolvable() ? 1 : 0;
}

engine::Variant EngineObject::verifica_soluzione_corrente(const Arguments& args) {
    args.ExpectCount(0);
    return Flag(session_.IsSolved());
}

engine::Variant EngineObject::UniqueSolution(const Arguments& args) {
    args.ExpectCount(1);
    const std::optional<sudoku::Grid> puzzle = sudoku::ParseLine(args.Text(0));
    sudoku::Grid solution;
    if (!puzzle || args.Text(0).size() != sudoku::kCellCount ||
        sudoku::CountSolutions(*puzzle, 2, &solution) != 1) {
        return std::string();
    }
    return sudoku::FormatLine(solution);
}

engine::Variant EngineObject::valuta_puzzle(const Arguments& args) {
    args.ExpectCount(1);
    const std::string& puzzle = args.Text(0);
    const std::optional<sudoku::Grid> grid = sudoku::ParseLine(puzzle);
    if (!grid || puzzle.size() != sudoku::kCellCount || sudoku::CountSolutions(*grid, 2) != 1) {
        return std::string();
    }
    // One spelling per puzzle, so that "." and "0" blanks share a result.
    std::optional<std::string> rating = rating_.Result(sudoku::FormatLine(*grid));
    return rating ? *rating : std::string(codes::kRatingUnderWay);
}

engine::Variant EngineObject::spiega_passo(const Arguments& args) {
    args.ExpectCount(2, 3);
    const bool ruledOut = args.Count() > 2 && !std::holds_alternative<std::monostate>(args.At(2));
    return ExplainStep(args.Text(0), args.Text(1), ruledOut ? args.Text(2) : std::string());
}

engine::Variant EngineObject::risolvi(const Arguments& args) {
    args.ExpectCount(0);
    return Flag(session_.Solve());
}

engine::Variant EngineObject::salva_su_file(const Arguments& args) {
    args.ExpectCount(1);
    return session_.Save(args.Text(0));
}

engine::Variant EngineObject::leggi_da_file(const Arguments& args) {
    args.ExpectCount(1);
    return session_.Load(args.Text(0));
}

engine::Variant EngineObject::Versione(const Arguments& args) {
    args.ExpectCount(0);
    return std::string(kVersion);
}

engine::Variant EngineObject::IniziaGiocoLadder(const Arguments& args) {
    args.ExpectCount(2);
    auto started = ladder_.Start(args.Text(0), args.Text(1));
    if (auto* game = std::get_if<LadderGame>(&started)) {
        session_.Replace(game->puzzle);
        return std::move(game->gameId);
    }
    return std::get<std::string>(std::move(started));
}

engine::Variant EngineObject::ChiudiGiocoLadder(const Arguments& args) {
    args.ExpectCount(3);
    auto finished = ladder_.Finish(args.Text(0), args.Text(1), args.Text(2), session_.Current());
    if (const auto* seconds = std::get_if<std::uint64_t>(&finished)) {
        return std::to_string(*seconds);
    }
    return std::get<std::string>(std::move(finished));
}

engine::Variant EngineObject::RinunciaGiocoLadder(const Arguments& args) {
    args.ExpectCount(3);
    return ladder_.Forfeit(args.Text(0), args.Text(1), args.Text(2));
}

engine::Variant EngineObject::VerificaVersione(const Arguments& args) {
    args.ExpectCount(0, 1);
    std::optional<LadderRelease> release = ladder_.Release();
    if (!release) {
        return std::string();
    }
    return UpdateAddress(release->version, release->download, kVersion);
}

}  // namespace puzzle_engine
