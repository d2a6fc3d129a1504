#pragma once

// The engine's failure codes: returned as the result text in place of data, never raised.
namespace puzzle_engine::codes {

// Puzzle files.
inline constexpr const char* kFileMissing = "ERRORE_FILE_NON_ESISTE";
inline constexpr const char* kFileCannotOpen = "ERRORE_APERTURA_FILE";
inline constexpr const char* kBadPuzzle = "ERRORE_FORMATO_O_INSUFFICIENTI_VALORI";

// Arguments the engine understands but cannot act on.
inline constexpr const char* kInvalidLevel = "ERRORE_LIVELLO_NON_VALIDO";
inline constexpr const char* kInvalidCell = "ERRORE_CELLA_NON_VALIDA";
inline constexpr const char* kInvalidValue = "ERRORE_VALORE_NON_VALIDO";

}  // namespace puzzle_engine::codes
