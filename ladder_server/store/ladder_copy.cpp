#include "ladder_server/store/ladder_copy.h"

namespace ladder {

namespace {

// Hands everything on to the import and counts it.
class CountingSink final : public LadderSink {
public:
    explicit CountingSink(LadderImport& into) : into_(into) {}

    void User(const UserRecord& user) override {
        into_.User(user);
        ++counts_.users;
    }
    void Game(const GameRecord& game) override {
        into_.Game(game);
        ++counts_.games;
    }
    void Version(const VersionInfo& version) override {
        into_.Version(version);
        counts_.version = true;
    }

    const CopyCounts& Counts() const { return counts_; }

private:
    LadderImport& into_;
    CopyCounts counts_;
};

}  // namespace

CopyCounts CopyLadder(Store& from, Store& to) {
    const auto import = to.BeginImport();
    CountingSink sink(*import);
    from.Export(sink);
    import->Commit();
    return sink.Counts();
}

}  // namespace ladder
