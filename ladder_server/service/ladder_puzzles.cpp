#include "ladder_server/service/ladder_puzzles.h"

#include <sodium.h>

#include <array>
#include <cstdint>
#include <random>

#include "ladder_server/service/sodium_init.h"

namespace ladder {

namespace {

sudoku::Random& ThreadRandom() {
    thread_local sudoku::Random random = [] {
        InitSodium();
        std::array<std::uint32_t, 8> seed{};
        randombytes_buf(seed.data(), sizeof seed);
        std::seed_seq sequence(seed.begin(), seed.end());
        return sudoku::Random(sequence);
    }();
    return random;
}

}  // namespace

LadderPuzzle DealLadderPuzzle() {
    LadderPuzzle dealt;
    dealt.level = randombytes_uniform(2) == 0 ? LadderLevel::Medium : LadderLevel::Hard;
    dealt.generated = dealt.level == LadderLevel::Hard
                          ? sudoku::Generate(sudoku::Level::Hard, kHardRoom, ThreadRandom())
                          : sudoku::Generate(sudoku::Level::Medium, kMediumRoom, ThreadRandom());
    return dealt;
}

}  // namespace ladder
