#pragma once

#include <span>
#include <string_view>

#include "engine/dispatch.h"
#include "puzzle_engine/arguments.h"
#include "puzzle_engine/background_rating.h"
#include "puzzle_engine/ladder_client.h"
#include "puzzle_engine/puzzle_session.h"
#include "puzzle_engine/start_options.h"

namespace puzzle_engine {

// The engine object the program drives: it holds the current puzzle and answers the
// operations by name. Engine failures come back as error-code texts; only a call it cannot
// understand (unknown name, a missing or surplus argument, an argument of the wrong kind)
// raises engine::DispatchError.
//
// Operations, their arguments and results:
//   genera(level number: integer)             "" or ERRORE_LIVELLO_NON_VALIDO (outside 0-81)
//   restituisci_stringa([anything, ignored])  the 180-character grid text
//   scrivi_cella(row, column: integers, value: text "1"-"9" or integer 0 to empty)
//                                             "" or ERRORE_CELLA_NON_VALIDA / _VALORE_
//   leggi_candidati(row, column: integers)    the ten-character candidate text
//   azzera()                                  "" (the grid emptied)
//   valori_soluzione()                        integer: the number of filled cells
//   test_risolvibile()                        integer: 1 no rule broken and solvable, else 0
//   verifica_soluzione_corrente()             "1" full and correct, else "0"
//   risolvi()                                 "1" solved in place, "0" no solution (unchanged)
//   salva_su_file(path: text)                 "" or a file error code, nothing on disk
//                                             changed; a link is written through, a
//                                             replaced file keeps its mode, no regular file
//                                             there or a NUL in the path gives
//                                             ERRORE_APERTURA_FILE (PuzzleSession::Save)
//   leggi_da_file(path: text)                 "" or a file error code (grid unchanged); no
//                                             regular file there or a NUL in the path gives
//                                             ERRORE_APERTURA_FILE, a file over 64 KiB
//                                             ERRORE_FORMATO_O_INSUFFICIENTI_VALORI
//   Versione()                                the engine's version text
//   UniqueSolution(puzzle: text)              the solution of an 81-character puzzle ("." or
//                                             "0" a blank) as 81 digits, or "" when it has
//                                             none or several or is no puzzle; the current
//                                             grid stays as it is
//   valuta_puzzle(puzzle: text)               the rating of an 81-character puzzle on Sudoku
//                                             Explainer's scale, "difficulty|hardest
//                                             technique" ("4.2|XY-Wing"; "?|" when no
//                                             technique gets through); "" when it has none or
//                                             several solutions or is no puzzle. Rated on a
//                                             thread of the engine's own: IN_CORSO until the
//                                             rating is done, so the caller asks again later
//                                             (step_report.h, background_rating.h)
//   spiega_passo(puzzle, board: texts[, ruled out: text])
//                                             the next step from the board's digits, as
//                                             "key=value" lines: its sentence, the cells of its
//                                             pattern, what it changes; or the board's digits
//                                             that are not the solution's; "" for a text that
//                                             is not 81 cells (ExplainStep in step_report.h)
//
// The ladder operations each make one request to the ladder server (puzzle_engine/
// ladder_client.h: the address from QUILLMARK_LADDER_URL, the start option serverTimeoutMs
// as the time limit). User, password and game id are texts. Besides the codes named, each
// may give ERRORE_SERVER_NON_RAGGIUNGIBILE, ERRORE_RISPOSTA_SERVER,
// ERRORE_INDIRIZZO_SERVER_NON_VALIDO or ERRORE_TESTO_NON_UTF8 (see error_codes.h).
//   IniziaGiocoLadder(user, password)         the game id, with the server's puzzle held as
//                                             the current grid; ERROR_NOT_ENABLED_ONLINE
//                                             (grid unchanged on any failure)
//   ChiudiGiocoLadder(user, password, game id)
//                                             hands in the current grid: the official time
//                                             in whole seconds as decimal text ("3725"), or
//                                             ERRORE_NON_LADDER / ERRORE_NON_COMPLETATA /
//                                             ERROR_NOT_ENABLED_ONLINE
//   RinunciaGiocoLadder(user, password, game id)
//                                             "" when the server took the forfeit, or
//                                             ERRORE_NON_LADDER / ERROR_NOT_ENABLED_ONLINE
//   VerificaVersione([anything, ignored])     the download address when the server announces
//                                             a newer version than Versione() and the address
//                                             is an absolute http(s) URL; "" otherwise, also
//                                             when the server cannot be reached or answers
//                                             garbage (only the four codes above never come)
class EngineObject final : public engine::Dispatch {
public:
    explicit EngineObject(const StartOptions& options);

    engine::Variant Invoke(std::string_view member, std::span<engine::Variant> args) override;

    const StartOptions& Options() const { return options_; }

private:
    engine::Variant genera(const Arguments& args);
    engine::Variant restituisci_stringa(const Arguments& args);
    engine::Variant scrivi_cella(const Arguments& args);
    engine::Variant leggi_candidati(const Arguments& args);
    engine::Variant azzera(const Arguments& args);
    engine::Variant valori_soluzione(const Arguments& args);
    engine::Variant test_risolvibile(const Arguments& args);
    engine::Variant verifica_soluzione_corrente(const Arguments& args);
    engine::Variant risolvi(const Arguments& args);
    engine::Variant salva_su_file(const Arguments& args);
    engine::Variant leggi_da_file(const Arguments& args);
    engine::Variant Versione(const Arguments& args);
    engine::Variant IniziaGiocoLadder(const Arguments& args);
    engine::Variant ChiudiGiocoLadder(const Arguments& args);
    engine::Variant RinunciaGiocoLadder(const Arguments& args);
    engine::Variant VerificaVersione(const Arguments& args);
    engine::Variant UniqueSolution(const Arguments& args);
    engine::Variant valuta_puzzle(const Arguments& args);
    engine::Variant spiega_passo(const Arguments& args);

    StartOptions options_;
    PuzzleSession session_;
    LadderClient ladder_;
    BackgroundRating rating_;
};

}  // namespace puzzle_engine
