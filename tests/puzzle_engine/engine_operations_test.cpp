#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <sstream>
#include <thread>
#include <vector>

#include "puzzle_engine/engine_object.h"
#include "puzzle_engine/error_codes.h"
#include "sudoku/solver.h"
#include "tests/support/scratch_dir.h"

namespace puzzle_engine {
namespace {

using engine::DispatchError;
using engine::Variant;

constexpr const char* kPuzzle =
    "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79";
constexpr const char* kSolution =
    "534678912672195348198342567859761423426853791713924856961537284287419635345286179";

// Drives the engine object the way the program does: by name, with variant arguments.
class EngineOperations : public ::testing::Test {
protected:
    Variant Call(std::string_view name, std::vector<Variant> args = {}) {
        return engine_.Invoke(name, args);
    }
    std::string Text(std::string_view name, std::vector<Variant> args = {}) {
        return std::get<std::string>(Call(name, std::move(args)));
    }
    int Number(std::string_view name) { return std::get<std::int32_t>(Call(name)); }

    // The current grid, read back through the grid text.
    sudoku::Grid Grid() {
        std::string text = Text("restituisci_stringa");
        sudoku::Grid grid;
        for (int row = 0; row < 9; ++row) {
            for (int column = 0; column < 9; ++column) {
                grid.Set(row, column, static_cast<std::uint8_t>(text[20 * row + 2 * column] - '0'));
            }
        }
        return grid;
    }

    void Put(const char* line) {
        Call("azzera");
        sudoku::Grid grid = *sudoku::ParseLine(line);
        for (int row = 0; row < 9; ++row) {
            for (int column = 0; column < 9; ++column) {
                if (int digit = grid.At(row, column)) {
                    ASSERT_EQ(Text("scrivi_cella", {row, column, std::string(1, '0' + digit)}), "");
                }
            }
        }
    }

    EngineObject engine_{StartOptions{12345, 2, 2000}};
};

TEST_F(EngineOperations, TheGridTextIsNineCrLfLinesOfDigitBlankPairs) {
    std::string empty;
    for (int row = 0; row < 9; ++row) {
        empty += "0 0 0 0 0 0 0 0 0 \r\n";
    }
    EXPECT_EQ(Text("restituisci_stringa"), empty);
    // The optional argument may be given and is not looked at.
    EXPECT_EQ(Text("restituisci_stringa", {std::string("anything")}), empty);
    EXPECT_THROW(Call("restituisci_stringa", {1, 2}), DispatchError);

    ASSERT_EQ(Text("scrivi_cella", {1, 1, std::string("7")}), "");
    std::string text = Text("restituisci_stringa");
    EXPECT_EQ(text.size(), 180u);
    EXPECT_EQ(text[22], '7');
    EXPECT_EQ(text.substr(20, 20), "0 7 0 0 0 0 0 0 0 \r\n");
}

TEST_F(EngineOperations, WritesADigitTextClearsWithZeroAndRefusesEverythingElse) {
    ASSERT_EQ(Text("scrivi_cella", {0, 8, std::string("9")}), "");
    EXPECT_EQ(Grid().At(0, 8), 9);
    EXPECT_EQ(Number("valori_soluzione"), 1);
    ASSERT_EQ(Text("scrivi_cella", {0, 8, 0}), "");
    EXPECT_EQ(Grid().At(0, 8), 0);

    ASSERT_EQ(Text("scrivi_cella", {4, 4, std::string("5")}), "");
    const std::vector<Variant> refused[] = {
        {9, 4, std::string("1")},  {-1, 4, std::string("1")},
        {4, 9, std::string("1")},  {4, 4, std::string("0")},
        {4, 4, std::string("12")}, {4, 4, std::string("")},
        {4, 4, std::string("a")},  {4, 4, 5},
        {4, 4, Variant{}},
    };
    for (const auto& args : refused) {
        std::string code = Text("scrivi_cella", args);
        EXPECT_TRUE(code == codes::kInvalidCell || code == codes::kInvalidValue) << code;
        EXPECT_EQ(Grid().At(4, 4), 5);
        EXPECT_EQ(Number("valori_soluzione"), 1);
    }
    // Rows and columns that are not integers are calls the engine cannot understand.
    EXPECT_THROW(Call("scrivi_cella", {std::string("4"), 4, std::string("1")}), DispatchError);
    EXPECT_THROW(Call("scrivi_cella", {4, 4}), DispatchError);
}

TEST_F(EngineOperations, CandidatesAreTheDigitsNotYetInTheCellsRowColumnAndBox) {
    EXPECT_EQ(Text("leggi_candidati", {0, 0}), "0111111111");
    Put(kPuzzle);
    // Row 0 holds 5 3 7, column 2 holds 8, box 0 holds 5 3 6 9 8.
    EXPECT_EQ(Text("leggi_candidati", {0, 2}), "0110100000");
    // A filled cell: its digit first, no candidates.
    EXPECT_EQ(Text("leggi_candidati", {0, 0}), "5000000000");
    EXPECT_EQ(Text("leggi_candidati", {9, 0}), codes::kInvalidCell);
    EXPECT_THROW(Call("leggi_candidati", {0}), DispatchError);
}

TEST_F(EngineOperations, SolvabilityCountsThePlayersEntriesToo) {
    EXPECT_EQ(Number("test_risolvibile"), 1);  // the empty grid
    Put(kPuzzle);
    EXPECT_EQ(Number("test_risolvibile"), 1);
    // A wrong entry that breaks no rule yet leaves no solution.
    ASSERT_EQ(Text("scrivi_cella", {0, 2, std::string("1")}), "");
    EXPECT_EQ(Number("test_risolvibile"), 0);
    // A rule broken: a second 5 in the top row.
    ASSERT_EQ(Text("scrivi_cella", {0, 2, std::string("5")}), "");
    EXPECT_EQ(Number("test_risolvibile"), 0);
}

TEST_F(EngineOperations, OnlyAFullCorrectGridIsVerified) {
    Put(kPuzzle);
    EXPECT_EQ(Text("verifica_soluzione_corrente"), "0");
    Put(kSolution);
    EXPECT_EQ(Text("verifica_soluzione_corrente"), "1");
    EXPECT_EQ(Text("verifica_soluzione_corrente"), "1");  // asking twice changes nothing
    // Swap two digits of the top row: full, but two columns break the rule.
    ASSERT_EQ(Text("scrivi_cella", {0, 0, std::string("3")}), "");
    ASSERT_EQ(Text("scrivi_cella", {0, 1, std::string("5")}), "");
    EXPECT_EQ(Number("valori_soluzione"), 81);
    EXPECT_EQ(Text("verifica_soluzione_corrente"), "0");
}

TEST_F(EngineOperations, SolvesInPlaceOrLeavesAnUnsolvableGridAsItWas) {
    Put(kPuzzle);
    EXPECT_EQ(Text("risolvi"), "1");
    EXPECT_EQ(sudoku::FormatLine(Grid()), kSolution);

    Put(kPuzzle);
    ASSERT_EQ(Text("scrivi_cella", {0, 2, std::string("1")}), "");
    sudoku::Grid before = Grid();
    EXPECT_EQ(Text("risolvi"), "0");
    EXPECT_EQ(Grid(), before);

    Call("azzera");
    EXPECT_EQ(Text("risolvi"), "1");
    EXPECT_TRUE(sudoku::IsSolved(Grid()));
}

TEST_F(EngineOperations, GeneratesAUniquePuzzleWithinTheLevelsEmptyCells) {
    for (int level : {50, 65, 81}) {
        ASSERT_EQ(Text("genera", {level}), "") << level;
        sudoku::Grid puzzle = Grid();
        EXPECT_TRUE(sudoku::HasUniqueSolution(puzzle)) << level;
        EXPECT_LE(81 - sudoku::FilledCount(puzzle), level);
        EXPECT_EQ(Number("valori_soluzione"), sudoku::FilledCount(puzzle));
    }
    sudoku::Grid before = Grid();
    EXPECT_EQ(Text("genera", {-1}), codes::kInvalidLevel);
    EXPECT_EQ(Text("genera", {82}), codes::kInvalidLevel);
    EXPECT_EQ(Grid(), before);
    EXPECT_THROW(Call("genera", {std::string("50")}), DispatchError);
}

TEST_F(EngineOperations, TheSameSeedGivesTheSamePuzzles) {
    EngineObject twin{StartOptions{12345, 2, 2000}};
    std::vector<Variant> level = {65};
    std::vector<Variant> none;
    Call("genera", {65});
    twin.Invoke("genera", level);
    EXPECT_EQ(Text("restituisci_stringa"),
              std::get<std::string>(twin.Invoke("restituisci_stringa", none)));
}

// The lines of a next-step report as key and value.
std::map<std::string, std::string> ReportLines(const std::string& report) {
    std::map<std::string, std::string> lines;
    std::istringstream in(report);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t equals = line.find('=');
        lines[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return lines;
}

TEST_F(EngineOperations, RatesOnlyAPuzzleWithOneSolutionAndAnswersAgainWhenTheRatingIsDone) {
    std::string broken = kPuzzle;
    broken[2] = '5';  // a second 5 in the first row
    for (const std::string& noPuzzle : {std::string("53..7"), std::string(81, '.'), broken}) {
        EXPECT_EQ(Text("valuta_puzzle", {noPuzzle}), "") << noPuzzle;
    }
    Put(kPuzzle);
    const sudoku::Grid before = Grid();
    std::string rating = Text("valuta_puzzle", {std::string(kPuzzle)});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (rating == codes::kRatingUnderWay && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        rating = Text("valuta_puzzle", {std::string(kPuzzle)});
    }
    // One decimal, then the hardest technique: this puzzle needs no more than singles.
    EXPECT_TRUE(std::regex_match(rating, std::regex(R"([12]\.[0-9]\|.*Single)"))) << rating;
    std::string zeros = kPuzzle;
    std::replace(zeros.begin(), zeros.end(), '.', '0');
    EXPECT_EQ(Text("valuta_puzzle", {zeros}), rating);
    EXPECT_EQ(Grid(), before);
    EXPECT_THROW(Call("valuta_puzzle"), DispatchError);
}

TEST_F(EngineOperations, TheNextStepComesFromTheBoardsDigitsAfterAnyWrongOneIsPutRight) {
    const std::string puzzle = kPuzzle;
    const std::string solution = kSolution;
    auto explain = [&](const std::string& board, std::vector<Variant> more = {}) {
        std::vector<Variant> args = {puzzle, board};
        args.insert(args.end(), more.begin(), more.end());
        return ReportLines(std::get<std::string>(Call("spiega_passo", args)));
    };
    auto place = [&](const std::string& pair) {
        const std::size_t colon = pair.find(':');
        return std::pair(std::stoi(pair.substr(0, colon)), pair[colon + 1]);
    };

    std::map<std::string, std::string> step = explain(puzzle);
    ASSERT_EQ(step["kind"], "step");
    EXPECT_EQ(step["technique"], "Hidden Single");
    const auto [cell, digit] = place(step["places"]);
    EXPECT_EQ(digit, solution[cell]);
    EXPECT_EQ(step["changed"], std::to_string(cell));
    EXPECT_NE((" " + step["pattern"] + " ").find(" " + std::to_string(cell) + " "),
              std::string::npos);
    const std::string where =
        "row " + std::to_string(cell / 9 + 1) + ", column " + std::to_string(cell % 9 + 1);
    EXPECT_EQ(step["text"].rfind("Hidden single: in ", 0), 0u) << step["text"];
    EXPECT_EQ(step["text"],
              step["text"].substr(0, step["text"].size() - where.size() - 1) + where + ".");

    // The step placed, the next one is another; the board's digits are what counts.
    std::string board = puzzle;
    board[cell] = digit;
    EXPECT_NE(explain(board)["places"], step["places"]);

    // A wrong digit is named first, and no step is given.
    const std::size_t empty = puzzle.find('.');
    board = puzzle;
    board[empty] = solution[empty] == '9' ? '1' : static_cast<char>(solution[empty] + 1);
    std::map<std::string, std::string> mistake = explain(board);
    EXPECT_EQ(mistake["kind"], "mistake");
    EXPECT_EQ(mistake["mistakes"], std::to_string(empty));
    EXPECT_EQ(mistake["text"].rfind("Row " + std::to_string(empty / 9 + 1) + ", column " +
                                        std::to_string(empty % 9 + 1) + " (",
                                    0),
              0u)
        << mistake["text"];
    EXPECT_EQ(mistake.count("places"), 0u);

    EXPECT_EQ(explain(solution)["kind"], "solved");
    EXPECT_EQ(explain(puzzle, {std::string("bad words 0:1")})["places"], step["places"]);
    EXPECT_EQ(ReportLines(std::get<std::string>(
                  Call("spiega_passo", {std::string(81, '.'), puzzle})))["kind"],
              "nopuzzle");
    EXPECT_EQ(Text("spiega_passo", {puzzle, std::string("12")}), "");
    EXPECT_THROW(Call("spiega_passo", {puzzle}), DispatchError);
}

class EngineFiles : public EngineOperations {
protected:
    std::string Path(const char* name) const { return scratch_.Path(name); }
    static std::string Content(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    testing_support::ScratchDir scratch_;
};

TEST_F(EngineFiles, ASavedGridLoadsBackAsItWas) {
    Put(kPuzzle);
    ASSERT_EQ(Text("scrivi_cella", {0, 2, std::string("4")}), "");  // a player's entry
    sudoku::Grid saved = Grid();
    ASSERT_EQ(Text("salva_su_file", {Path("p.txt")}), "");
    Call("azzera");
    ASSERT_EQ(Text("leggi_da_file", {Path("p.txt")}), "");
    EXPECT_EQ(Grid(), saved);
}

TEST_F(EngineFiles, FailuresGiveTheirCodesAndLeaveTheGridAlone) {
    Put(kPuzzle);
    sudoku::Grid before = Grid();
    EXPECT_EQ(Text("leggi_da_file", {Path("missing.txt")}), codes::kFileMissing);
    EXPECT_EQ(Text("leggi_da_file", {scratch_.Path().string()}), codes::kFileCannotOpen);
    std::ofstream(Path("bad.txt")) << "53..7....\nnot a puzzle\n";
    EXPECT_EQ(Text("leggi_da_file", {Path("bad.txt")}), codes::kBadPuzzle);
    std::ofstream(Path("truncated.txt")) << std::string(kPuzzle).substr(0, 60);
    EXPECT_EQ(Text("leggi_da_file", {Path("truncated.txt")}), codes::kBadPuzzle);
    std::ofstream(Path("binary.txt"), std::ios::binary) << std::string("\0\x01\xff\xfe", 4);
    EXPECT_EQ(Text("leggi_da_file", {Path("binary.txt")}), codes::kBadPuzzle);
    EXPECT_EQ(Grid(), before);

    EXPECT_EQ(Text("salva_su_file", {Path("no/such/dir/p.txt")}), codes::kFileCannotOpen);
    Call("azzera");
    EXPECT_EQ(Text("salva_su_file", {Path("empty.txt")}), codes::kBadPuzzle);
    EXPECT_FALSE(std::filesystem::exists(Path("empty.txt")));
    EXPECT_THROW(Call("salva_su_file", {7}), DispatchError);
}

TEST_F(EngineFiles, OnlyWholePathsToRegularFilesAreReadOrReplaced) {
    namespace fs = std::filesystem;
    Put(kPuzzle);
    const sudoku::Grid puzzle = Grid();

    // Saved through a link to an owner-only file: the link stays, the file keeps its mode.
    std::ofstream(Path("private.txt")) << "old";
    fs::permissions(Path("private.txt"), fs::perms(0600));
    fs::create_symlink("private.txt", Path("link.txt"));
    ASSERT_EQ(Text("salva_su_file", {Path("link.txt")}), "");
    EXPECT_TRUE(fs::is_symlink(Path("link.txt")));
    EXPECT_EQ(fs::status(Path("private.txt")).permissions(), fs::perms(0600));

    // A file from an editor that starts with a byte-order mark.
    std::ofstream(Path("bom.txt"), std::ios::binary) << "\xEF\xBB\xBF" << kPuzzle << "\r\n";
    Call("azzera");
    ASSERT_EQ(Text("leggi_da_file", {Path("bom.txt")}), "");
    EXPECT_EQ(Grid(), puzzle);

    // Neither a FIFO, nor a device, nor the file a NUL would cut the path short to.
    ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", Path("zero.txt"));
    const std::string cut = Path("private.txt") + std::string("\0.bak", 5);
    const std::string written = Content(Path("private.txt"));
    Call("azzera");
    for (const std::string& path : {Path("fifo"), Path("zero.txt"), cut}) {
        EXPECT_EQ(Text("leggi_da_file", {path}), codes::kFileCannotOpen) << path;
    }
    EXPECT_EQ(Grid(), sudoku::Grid{});
    Put(kPuzzle);
    ASSERT_EQ(Text("scrivi_cella", {0, 2, std::string("4")}), "");
    EXPECT_EQ(Text("salva_su_file", {Path("fifo")}), codes::kFileCannotOpen);
    EXPECT_EQ(Text("salva_su_file", {cut}), codes::kFileCannotOpen);
    EXPECT_TRUE(fs::is_fifo(Path("fifo")));
    EXPECT_EQ(Content(Path("private.txt")), written);
    // The five files made here and no temporary besides.
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch_.Path()), fs::directory_iterator()), 5);
}

}  // namespace
}  // namespace puzzle_engine
