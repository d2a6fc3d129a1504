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

// Not a failure: valuta_puzzle's answer while its rating is still being worked out.
inline constexpr const char* kRatingUnderWay = "IN_CORSO";

// The ladder server. The codes the server itself gives (ladder::codes in
// ladder_protocol/protocol.h: ERROR_NOT_ENABLED_ONLINE, ERRORE_NON_LADDER, ERRORE_NON_COMPLETATA)
// pass through unchanged; these are the engine's own.
//
// No answer came: the connection was refused or broke, the name did not resolve, or the
// request took longer than the start option serverTimeoutMs; or the ladder answered that it
// cannot serve now (500: its storage failed; 502, 504: the front reaches no ladder server).
inline constexpr const char* kServerUnreachable = "ERRORE_SERVER_NON_RAGGIUNGIBILE";
// The ladder answered that it is busy (503) or the front that the player sends too much (429).
inline constexpr const char* kServerBusy = "ERRORE_SERVER_OCCUPATO";
// An answer came that is not the protocol, whatever its shape: not HTTP at all, headers too
// large, a body cut short, not JSON, a field missing or of the wrong kind, a status the
// protocol does not name (a redirection too, which is never followed), or a body over the
// engine's cap (LadderClient::kMaxAnswerBytes).
inline constexpr const char* kBadServerAnswer = "ERRORE_RISPOSTA_SERVER";
// An https:// server whose certificate cannot be verified against the system's authorities
// and QUILLMARK_LADDER_CA_FILE's: nothing was sent.
inline constexpr const char* kUntrustedServer = "ERRORE_CERTIFICATO_SERVER_NON_VALIDO";
// QUILLMARK_LADDER_URL holds no absolute http:// or https:// address, so nothing was sent.
inline constexpr const char* kBadServerAddress = "ERRORE_INDIRIZZO_SERVER_NON_VALIDO";
// A user, password or game id that is not UTF-8 text, which JSON cannot carry; nothing was
// sent.
inline constexpr const char* kTextNotUtf8 = "ERRORE_TESTO_NON_UTF8";

}  // namespace puzzle_engine::codes
