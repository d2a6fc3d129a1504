#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "sudoku/grid.h"

namespace sudoku {

// Why a puzzle file could not be read or written.
enum class FileError {
    Missing,     // no file of that name
    CannotOpen,  // it exists but cannot be opened, read or written
    BadContent,  // no grid in it, a rule broken, or fewer than kMinimumGivens digits
};

// A puzzle file needs this many digits, so that it makes sense to solve.
inline constexpr int kMinimumGivens = 15;

// What a puzzle file holds, as written: a comment header and nine lines of nine characters,
// "." for an empty cell, each line ended by a line feed.
std::string FormatPuzzleFile(const Grid& grid);

// Reads the text of a puzzle file. Besides the written form it takes the common exchange
// forms: one line of 81 characters ("." or "0" for an empty cell, anything after the first
// blank ignored); nine lines with or without separators ("|", "-", "+", blanks); and the
// engine's grid text (digits and blanks, CR LF). Lines starting with "#" are comments. A UTF-8
// byte-order mark at the very start is skipped.
std::variant<Grid, FileError> ParsePuzzleFile(std::string_view text);

// No puzzle file in any of the accepted forms comes near this size; the written form is under
// 200 bytes.
inline constexpr std::size_t kLargestPuzzleFile = 64 * 1024;

// Reads a puzzle file. path may be a symbolic link to one. Only a regular file is read:
// anything else (a folder, a FIFO, a device, a socket, or a link to one) is refused as
// CannotOpen without being read, and never waits for a writer. A path holding a NUL
// character is refused as CannotOpen. No more than kLargestPuzzleFile bytes are read: a
// larger file is refused as BadContent, since no puzzle is that big. Missing is for a path
// that names nothing, a link to nothing included.
std::variant<Grid, FileError> ReadPuzzleFile(const std::string& path);

// Writes grid to path through a temporary file beside it, renamed over it, so a crash never
// leaves a half-written puzzle; on any failure nothing on disk has changed and no temporary is
// left behind. A grid that could not be read back (a rule broken, fewer than kMinimumGivens
// digits) is refused as BadContent and nothing is written.
//
// What path names decides what happens; every refusal is CannotOpen:
// - nothing: a new file is made, with the permissions any program's new file gets from the
//   umask;
// - a regular file: it is replaced, keeping its permission bits (an owner-only file stays
//   owner-only); being a new file, it belongs to whoever saves, and other hard links to the
//   old one keep the old content;
// - a symbolic link: the file at the end of the chain of links is written as above, made
//   if the last link names nothing yet; the links themselves stay as they are;
// - anything else (a folder, a FIFO, a device, a socket, or a link to one, or a chain of links
//   too long to follow): refused;
// - a path holding a NUL character: refused, since the system would read it as a shorter path
//   naming another file.
std::optional<FileError> WritePuzzleFile(const std::string& path, const Grid& grid);

}  // namespace sudoku
