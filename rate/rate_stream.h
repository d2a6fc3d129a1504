#pragma once

// Rating a stream of lines on several threads, printing the results in the input's order.

#include <functional>
#include <istream>
#include <ostream>
#include <string>

namespace rate {

// How many lines RateLines holds at most per thread, read and not yet printed: enough that
// a slow puzzle does not leave the other threads idle, little enough for any input size.
inline constexpr int kLinesPerThread = 256;

// Reads the next line of in, without its "\n", into line: only its first 82 characters (a
// puzzle and a "\r" before the line end), the rest skipped, so a line of any length takes
// little memory. False, with line empty, when in has no more characters.
bool ReadLineStart(std::istream& in, std::string& line);

// Rates every line nextLine gives (it fills line and returns true, or returns false once at
// the end) and writes RateLine's text for each to out, one line each, in the order read.
// nextLine runs on a thread of its own; threads workers (1 or more) rate, started as lines
// come so that a short input starts few; out is written from the calling thread and flushed
// whenever no finished line is waiting. Returns once everything read is written.
void RateLines(const std::function<bool(std::string&)>& nextLine, std::ostream& out, int threads);

}  // namespace rate
