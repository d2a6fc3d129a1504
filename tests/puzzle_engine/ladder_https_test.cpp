// The engine's client over https://: the server is verified against the system's
// authorities and the file QUILLMARK_LADDER_CA_FILE names, with certificates made for the test
// by the same script that makes them for a private ladder.

#include <gtest/gtest.h>
#include <httplib.h>

#include <cstdlib>
#include <thread>

#include "ladder_protocol/protocol.h"
#include "puzzle_engine/error_codes.h"
#include "puzzle_engine/ladder_client.h"
#include "tests/support/scratch_dir.h"

namespace puzzle_engine {
namespace {

constexpr const char* kPuzzle =
    "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79";

// Makes a certificate authority and a server certificate for localhost and 127.0.0.1 in
// folder, and returns the authority's file.
std::string MakeCertificates(const std::string& folder) {
    const std::string command =
        std::string(QUILLMARK_MAKE_CERTIFICATES) + " '" + folder + "' > /dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return folder + "/ca.pem";
}

std::string StartResult() {
    auto started = LadderClient(2000).Start("ada", "secret");
    const auto* code = std::get_if<std::string>(&started);
    return code ? *code : "started";
}

TEST(LadderClientOverHttps, TrustsTheSystemsAuthoritiesAndTheNamedFileOnly) {
    testing_support::ScratchDir scratch;
    const std::string trusted = MakeCertificates(scratch.Path("ladder"));
    const std::string stranger = MakeCertificates(scratch.Path("stranger"));
    httplib::SSLServer server(scratch.Path("ladder/server.pem").c_str(),
                              scratch.Path("ladder/server.key").c_str());
    ASSERT_TRUE(server.is_valid());
    server.Post(ladder::paths::kStart, [](const httplib::Request&, httplib::Response& response) {
        response.set_content(std::string(R"({"game_id": "g-1", "puzzle": ")") + kPuzzle + "\"}",
                             "application/json");
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread serving([&] { server.listen_after_bind(); });
    while (!server.is_running()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    const std::string port_text = std::to_string(port);
    ::setenv(ladder::kServerUrlVariable, ("https://127.0.0.1:" + port_text).c_str(), 1);
    ::unsetenv(ladder::kCaFileVariable);
    EXPECT_EQ(StartResult(), codes::kUntrustedServer);
    ::setenv(ladder::kCaFileVariable, stranger.c_str(), 1);
    EXPECT_EQ(StartResult(), codes::kUntrustedServer);
    ::setenv(ladder::kCaFileVariable, scratch.Path("no such file").c_str(), 1);
    EXPECT_EQ(StartResult(), codes::kUntrustedServer);

    ::setenv(ladder::kCaFileVariable, trusted.c_str(), 1);
    EXPECT_EQ(StartResult(), "started");
    ::setenv(ladder::kServerUrlVariable, ("https://localhost:" + port_text).c_str(), 1);
    EXPECT_EQ(StartResult(), "started");

    ::unsetenv(ladder::kCaFileVariable);
    ::unsetenv(ladder::kServerUrlVariable);
    server.stop();
    serving.join();
}

}  // namespace
}  // namespace puzzle_engine
