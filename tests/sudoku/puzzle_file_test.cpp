#include "sudoku/puzzle_file.h"

#include "tests/support/scratch_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

namespace sudoku {
namespace {

// A puzzle with 26 givens, row by row.
constexpr const char* kPuzzle =
    "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79";

Grid Puzzle() {
    return *ParseLine(kPuzzle);
}

// The puzzle's line with one character changed.
std::string WithCell(std::size_t index, char c) {
    std::string line = kPuzzle;
    line[index] = c;
    return line;
}

Grid Read(std::string_view text) {
    auto result = ParsePuzzleFile(text);
    EXPECT_TRUE(std::holds_alternative<Grid>(result)) << text;
    return std::holds_alternative<Grid>(result) ? std::get<Grid>(result) : Grid{};
}

FileError Refused(std::string_view text) {
    auto result = ParsePuzzleFile(text);
    EXPECT_TRUE(std::holds_alternative<FileError>(result)) << text;
    return std::holds_alternative<FileError>(result) ? std::get<FileError>(result)
                                                     : FileError::CannotOpen;
}

TEST(PuzzleFileText, TheWrittenFormIsReadablyLaidOutAndReadsBack) {
    std::string text = FormatPuzzleFile(Puzzle());
    EXPECT_NE(text.find("\n53..7....\n6..195...\n"), std::string::npos) << text;
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(Read(text), Puzzle());
}

TEST(PuzzleFileText, ReadsTheCommonExchangeForms) {
    // One line, "." or "0" for an empty cell, with fields after it.
    EXPECT_EQ(Read(kPuzzle), Puzzle());
    std::string zeros = FormatLine(Puzzle(), '0');
    EXPECT_EQ(Read(zeros + " 3.4\n"), Puzzle());
    EXPECT_EQ(Read(zeros + "\r\n"), Puzzle());

    // Nine lines with separators.
    EXPECT_EQ(Read("53. |.7. |...\n"
                   "6.. |195 |...\n"
                   ".98 |... |.6.\n"
                   "----+----+----\n"
                   "8.. |.6. |..3\n"
                   "4.. |8.3 |..1\n"
                   "7.. |.2. |..6\n"
                   "----+----+----\n"
                   ".6. |... |28.\n"
                   "... |419 |..5\n"
                   "... |.8. |.79\n"),
              Puzzle());

    // The engine's grid text: digits and blanks, CR LF.
    std::string gridText;
    for (int row = 0; row < 9; ++row) {
        for (int column = 0; column < 9; ++column) {
            gridText += std::to_string(Puzzle().At(row, column)) + " ";
        }
        gridText += "\r\n";
    }
    EXPECT_EQ(Read(gridText), Puzzle());

    // Comments and blank lines anywhere.
    EXPECT_EQ(Read("# saved on Sunday\n\n   # indented comment\n" + std::string(kPuzzle)),
              Puzzle());

    // A UTF-8 byte-order mark before the first line, whatever that line is.
    const std::string mark = "\xEF\xBB\xBF";
    EXPECT_EQ(Read(mark + kPuzzle), Puzzle());
    EXPECT_EQ(Read(mark + FormatPuzzleFile(Puzzle())), Puzzle());
    EXPECT_EQ(Read(mark + gridText), Puzzle());
}

TEST(PuzzleFileText, RefusesWhatIsNoReadablePuzzle) {
    EXPECT_EQ(Refused(""), FileError::BadContent);
    EXPECT_EQ(Refused("# only a comment\n"), FileError::BadContent);
    EXPECT_EQ(Refused(std::string(kPuzzle).substr(0, 80)), FileError::BadContent);
    EXPECT_EQ(Refused(std::string(kPuzzle) + "1"), FileError::BadContent);
    EXPECT_EQ(Refused(WithCell(2, 'x')), FileError::BadContent);
    EXPECT_EQ(Refused(std::string("\x89PNG\r\n\x1a\n\0\0\0", 11)), FileError::BadContent);

    // A rule broken: two 5s in the top row.
    EXPECT_EQ(Refused(WithCell(2, '5')), FileError::BadContent);

    // Fourteen digits are too few, fifteen are enough.
    std::string fifteen = "123456789456789123789" + std::string(60, '.');
    fifteen[11] = fifteen[12] = fifteen[13] = fifteen[14] = fifteen[15] = fifteen[16] = '.';
    ASSERT_EQ(FilledCount(*ParseLine(fifteen)), 15);
    EXPECT_EQ(FilledCount(Read(fifteen)), 15);
    std::string fourteen = fifteen;
    fourteen[0] = '.';
    EXPECT_EQ(Refused(fourteen), FileError::BadContent);
}

class PuzzleFileOnDisk : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return scratch_.Path(name); }

    // What a folder holds, by name.
    static std::set<std::string> Names(const std::filesystem::path& folder) {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    static unsigned Mode(const std::string& path) {
        return static_cast<unsigned>(std::filesystem::status(path).permissions());
    }

    static std::string Content(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    testing_support::ScratchDir scratch_;
    const std::filesystem::path& dir_ = scratch_.Path();
};

TEST_F(PuzzleFileOnDisk, WritesAndReadsBackTheSameGridLeavingNoTemporaryBehind) {
    ASSERT_EQ(WritePuzzleFile(Path("puzzle.txt"), Puzzle()), std::nullopt);
    auto read = ReadPuzzleFile(Path("puzzle.txt"));
    ASSERT_TRUE(std::holds_alternative<Grid>(read));
    EXPECT_EQ(std::get<Grid>(read), Puzzle());

    // Writing again replaces the file.
    Grid other = Puzzle();
    other.Set(0, 2, 4);
    ASSERT_EQ(WritePuzzleFile(Path("puzzle.txt"), other), std::nullopt);
    EXPECT_EQ(std::get<Grid>(ReadPuzzleFile(Path("puzzle.txt"))), other);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(PuzzleFileOnDisk, RefusesToWriteWhatCouldNotBeReadBack) {
    Grid fewGivens;
    fewGivens.Set(0, 0, 1);
    EXPECT_EQ(WritePuzzleFile(Path("few.txt"), fewGivens), FileError::BadContent);
    EXPECT_FALSE(std::filesystem::exists(Path("few.txt")));
}

TEST_F(PuzzleFileOnDisk, TellsAMissingFileFromOneThatCannotBeOpened) {
    EXPECT_EQ(std::get<FileError>(ReadPuzzleFile(Path("nothing.txt"))), FileError::Missing);
    EXPECT_EQ(std::get<FileError>(ReadPuzzleFile(dir_.string())), FileError::CannotOpen);
    EXPECT_EQ(WritePuzzleFile(Path("no/such/folder/p.txt"), Puzzle()), FileError::CannotOpen);
    EXPECT_EQ(WritePuzzleFile(dir_.string(), Puzzle()), FileError::CannotOpen);

    if (::geteuid() != 0) {  // permissions do not stop the superuser
        ASSERT_EQ(WritePuzzleFile(Path("locked.txt"), Puzzle()), std::nullopt);
        std::filesystem::permissions(Path("locked.txt"), std::filesystem::perms::none);
        EXPECT_EQ(std::get<FileError>(ReadPuzzleFile(Path("locked.txt"))), FileError::CannotOpen);
    }
}

TEST_F(PuzzleFileOnDisk, ReplacingKeepsPermissionsAndWritesThroughLinks) {
    namespace fs = std::filesystem;
    Grid other = Puzzle();
    other.Set(0, 2, 4);

    // A new file gets its mode from the umask, as any program's does.
    const mode_t mask = ::umask(027);
    auto madeNew = WritePuzzleFile(Path("new.txt"), Puzzle());
    ::umask(mask);
    ASSERT_EQ(madeNew, std::nullopt);
    EXPECT_EQ(Mode(Path("new.txt")), 0640u);

    // An owner-only file stays owner-only.
    ASSERT_EQ(WritePuzzleFile(Path("private.txt"), Puzzle()), std::nullopt);
    fs::permissions(Path("private.txt"), fs::perms(0600));
    ASSERT_EQ(WritePuzzleFile(Path("private.txt"), other), std::nullopt);
    EXPECT_EQ(Mode(Path("private.txt")), 0600u);
    EXPECT_EQ(std::get<Grid>(ReadPuzzleFile(Path("private.txt"))), other);

    // Through a chain of links, relative and absolute, to the file at its end, in another
    // folder; the links stay links and the file keeps its mode.
    fs::create_directory(Path("saves"));
    ASSERT_EQ(WritePuzzleFile(Path("saves/real.txt"), Puzzle()), std::nullopt);
    fs::permissions(Path("saves/real.txt"), fs::perms(0640));
    fs::create_symlink("real.txt", Path("saves/inner.txt"));
    fs::create_symlink(Path("saves/inner.txt"), Path("outer.txt"));
    ASSERT_EQ(WritePuzzleFile(Path("outer.txt"), other), std::nullopt);
    EXPECT_EQ(fs::read_symlink(Path("outer.txt")), Path("saves/inner.txt"));
    EXPECT_EQ(fs::read_symlink(Path("saves/inner.txt")), "real.txt");
    EXPECT_EQ(std::get<Grid>(ReadPuzzleFile(Path("saves/real.txt"))), other);
    EXPECT_EQ(Mode(Path("saves/real.txt")), 0640u);

    // A link to nothing yet makes the file it names.
    fs::create_symlink("saves/later.txt", Path("later-link.txt"));
    ASSERT_EQ(WritePuzzleFile(Path("later-link.txt"), Puzzle()), std::nullopt);
    EXPECT_TRUE(fs::is_symlink(Path("later-link.txt")));
    EXPECT_EQ(std::get<Grid>(ReadPuzzleFile(Path("saves/later.txt"))), Puzzle());

    // No temporary left anywhere.
    EXPECT_EQ(Names(dir_), (std::set<std::string>{"later-link.txt", "new.txt", "outer.txt",
                                                  "private.txt", "saves"}));
    EXPECT_EQ(Names(Path("saves")), (std::set<std::string>{"inner.txt", "later.txt", "real.txt"}));
}

TEST_F(PuzzleFileOnDisk, RefusesToReplaceWhatIsNoRegularFileChangingNothing) {
    namespace fs = std::filesystem;
    ASSERT_EQ(WritePuzzleFile(Path("puzzle.txt"), Puzzle()), std::nullopt);
    const std::string original = Content(Path("puzzle.txt"));
    fs::create_directory(Path("folder"));
    ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
    fs::create_symlink("folder", Path("folder-link.txt"));
    fs::create_symlink("fifo", Path("fifo-link.txt"));
    fs::create_symlink("loop-b.txt", Path("loop-a.txt"));
    fs::create_symlink("loop-a.txt", Path("loop-b.txt"));
    const std::set<std::string> before = Names(dir_);

    Grid other = Puzzle();
    other.Set(0, 2, 4);
    for (const char* name : {"folder", "fifo", "folder-link.txt", "fifo-link.txt", "loop-a.txt"}) {
        EXPECT_EQ(WritePuzzleFile(Path(name), other), FileError::CannotOpen) << name;
    }
    // A NUL must not cut the path short to name puzzle.txt.
    std::string cut = Path("puzzle.txt") + std::string("\0.bak", 5);
    EXPECT_EQ(WritePuzzleFile(cut, other), FileError::CannotOpen);

    EXPECT_EQ(Names(dir_), before);
    EXPECT_TRUE(Names(Path("folder")).empty());
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(Path("fifo"))));
    EXPECT_EQ(fs::read_symlink(Path("folder-link.txt")), "folder");
    EXPECT_EQ(fs::read_symlink(Path("fifo-link.txt")), "fifo");
    EXPECT_EQ(Content(Path("puzzle.txt")), original);
}

TEST_F(PuzzleFileOnDisk, ReadsOnlyRegularFilesAndNeverWaitsOnAnythingElse) {
    ASSERT_EQ(WritePuzzleFile(Path("puzzle.txt"), Puzzle()), std::nullopt);
    std::filesystem::create_symlink("puzzle.txt", Path("link.txt"));
    EXPECT_EQ(std::get<Grid>(ReadPuzzleFile(Path("link.txt"))), Puzzle());
    std::filesystem::create_symlink("nothing.txt", Path("dangling.txt"));
    EXPECT_EQ(std::get<FileError>(ReadPuzzleFile(Path("dangling.txt"))), FileError::Missing);

    // Each of these would block or read without end if opened and read like a file.
    ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
    std::filesystem::create_symlink(Path("fifo"), Path("fifo-link.txt"));
    std::filesystem::create_symlink("/dev/zero", Path("zero.txt"));
    std::filesystem::create_directory(Path("folder"));
    std::filesystem::create_symlink(Path("folder"), Path("folder-link.txt"));
    auto start = std::chrono::steady_clock::now();
    for (const char* name : {"fifo", "fifo-link.txt", "zero.txt", "folder-link.txt"}) {
        auto read = ReadPuzzleFile(Path(name));
        ASSERT_TRUE(std::holds_alternative<FileError>(read)) << name;
        EXPECT_EQ(std::get<FileError>(read), FileError::CannotOpen) << name;
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));

    // A NUL must not cut the path short to name puzzle.txt.
    std::string cut = Path("puzzle.txt") + std::string("\0.bak", 5);
    EXPECT_EQ(std::get<FileError>(ReadPuzzleFile(cut)), FileError::CannotOpen);
}

TEST_F(PuzzleFileOnDisk, RefusesFilesLargerThanAnyPuzzleAsBadContent) {
    // Padded with comment-free blank lines, which the reader skips.
    std::string atTheCap = std::string(kPuzzle) + "\n";
    atTheCap.resize(kLargestPuzzleFile, '\n');
    std::ofstream(Path("at-cap.txt"), std::ios::binary) << atTheCap;
    EXPECT_EQ(std::get<Grid>(ReadPuzzleFile(Path("at-cap.txt"))), Puzzle());
    std::ofstream(Path("huge.txt"), std::ios::binary) << atTheCap << '\n';
    EXPECT_EQ(std::get<FileError>(ReadPuzzleFile(Path("huge.txt"))), FileError::BadContent);
}

}  // namespace
}  // namespace sudoku
