#include "puzzle_engine/ladder_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <nlohmann/json.hpp>

#include "ladder_protocol/protocol.h"
#include "puzzle_engine/error_codes.h"
#include "puzzle_engine/version.h"
#include "puzzle_engine/version_check.h"

namespace puzzle_engine {

namespace {

using Json = nlohmann::json;

// curl_global_init must run before the first handle is made and must not run on two threads
// at once; a function-local static runs it exactly once, on whichever thread comes first. It
// is never undone, since other code in the process may still use curl after the engine.
bool CurlReady() {
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return ready;
}

struct EasyDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;

// A curl header list, freed with everything in it.
class HeaderList {
public:
    HeaderList() = default;
    ~HeaderList() { curl_slist_free_all(list_); }
    HeaderList(const HeaderList&) = delete;
    HeaderList& operator=(const HeaderList&) = delete;

    // false when curl could not store the header; the list then stays as it was.
    bool Append(const char* header) {
        curl_slist* longer = curl_slist_append(list_, header);
        if (longer == nullptr) {
            return false;
        }
        list_ = longer;
        return true;
    }
    curl_slist* Get() const { return list_; }

private:
    curl_slist* list_ = nullptr;
};

// An answer body as it arrives, refused once it would grow past kMaxAnswerBytes.
struct AnswerBody {
    std::string text;
    bool tooLarge = false;
};

// curl's write callback; taking fewer bytes than offered stops the transfer with
// CURLE_WRITE_ERROR. No exception may cross curl's C frames.
std::size_t CollectAnswerBody(char* data, std::size_t size, std::size_t count,
                              void* target) noexcept {
    auto* body = static_cast<AnswerBody*>(target);
    const std::size_t bytes = size * count;
    if (bytes > LadderClient::kMaxAnswerBytes - body->text.size()) {
        body->tooLarge = true;
        return 0;
    }
    try {
        body->text.append(data, bytes);
    } catch (...) {
        return 0;
    }
    return bytes;
}

// An answer that came: its HTTP status, and its body read as JSON (a discarded value when it
// is not JSON).
struct Answer {
    long status = 0;
    Json body;
};

// An answer, or the engine's code for why none came.
using Exchanged = std::variant<Answer, std::string>;

// The engine's code for a request curl could not complete. statusSeen: a status line had
// come, so the server was reached and spoke.
const char* CodeOf(CURLcode result, const AnswerBody& body, bool statusSeen) {
    switch (result) {
        case CURLE_URL_MALFORMAT:
            return codes::kBadServerAddress;
        case CURLE_OPERATION_TIMEDOUT:
            return codes::kServerUnreachable;
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_SSL_ISSUER_ERROR:
        case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
            return codes::kUntrustedServer;
        case CURLE_WRITE_ERROR:
            return body.tooLarge ? codes::kBadServerAnswer : codes::kServerUnreachable;
        // The server was reached and said something that is not HTTP as the engine takes it:
        // no status line (a reply of another protocol, which curl calls unsupported, since
        // the address was checked before), headers too large to keep, a body cut short...
        case CURLE_UNSUPPORTED_PROTOCOL:
        case CURLE_OUT_OF_MEMORY:
        case CURLE_FILESIZE_EXCEEDED:
        case CURLE_WEIRD_SERVER_REPLY:
        case CURLE_GOT_NOTHING:
        case CURLE_PARTIAL_FILE:
        case CURLE_BAD_CONTENT_ENCODING:
        case CURLE_HTTP2:
        case CURLE_HTTP2_STREAM:
            return codes::kBadServerAnswer;
        default:
            return statusSeen ? codes::kBadServerAnswer : codes::kServerUnreachable;
    }
}

// One request to the server: POST with payload as its JSON body, or GET when payload is null.
Exchanged Exchange(const char* path, const std::string* payload, std::uint32_t timeoutMs) {
    // Without curl (its module or libcurl missing) nothing can be reached, and the address,
    // which curl reads, cannot be judged either.
    if (!CurlReady()) {
        return codes::kServerUnreachable;
    }
    const std::string server = LadderServerUrl();
    if (!IsWebAddress(server)) {
        return codes::kBadServerAddress;
    }
    const std::string url = server + path;
    EasyHandle handle(curl_easy_init());
    if (!handle) {
        return codes::kServerUnreachable;
    }
    HeaderList headers;
    // An empty "Expect:" keeps curl from waiting for a "100 Continue" before sending the body.
    bool built = headers.Append("Accept: application/json") && headers.Append("Expect:") &&
                 (payload == nullptr || headers.Append("Content-Type: application/json"));
    const std::string agent = std::string("Quillmark/") + kVersion;
    const long timeout = std::max<long>(timeoutMs, 1);
    AnswerBody body;

    CURLcode set = CURLE_OK;
    auto option = [&](CURLoption name, auto value) {
        if (set == CURLE_OK) {
            set = curl_easy_setopt(handle.get(), name, value);
        }
    };
    option(CURLOPT_URL, url.c_str());
    option(CURLOPT_PROTOCOLS_STR, "http,https");
    option(CURLOPT_FOLLOWLOCATION, 0L);
    option(CURLOPT_NOSIGNAL, 1L);  // timeouts without SIGALRM, safe on any thread
    option(CURLOPT_TIMEOUT_MS, timeout);
    option(CURLOPT_CONNECTTIMEOUT_MS, timeout);
    option(CURLOPT_USERAGENT, agent.c_str());
    option(CURLOPT_HTTPHEADER, headers.Get());
    option(CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(LadderClient::kMaxAnswerBytes));
    option(CURLOPT_WRITEFUNCTION, &CollectAnswerBody);
    option(CURLOPT_WRITEDATA, static_cast<void*>(&body));
    // https:// addresses are verified (curl's default) against the system's authorities and,
    // when one is named, a file of the deployment's own: CAINFO takes the place of the
    // system's bundle, while the system's folder of authorities (CAPATH) stays.
    const std::string authorities = LadderCaFile();
    if (!authorities.empty()) {
        option(CURLOPT_CAINFO, authorities.c_str());
    }
    if (payload != nullptr) {
        option(CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(payload->size()));
        option(CURLOPT_POSTFIELDS, payload->c_str());
    } else {
        option(CURLOPT_HTTPGET, 1L);
    }
    if (!built || set != CURLE_OK) {
        return codes::kServerUnreachable;
    }

    const CURLcode result = curl_easy_perform(handle.get());
    Answer answer;
    curl_easy_getinfo(handle.get(), CURLINFO_RESPONSE_CODE, &answer.status);
    if (result != CURLE_OK) {
        return CodeOf(result, body, answer.status != 0);
    }
    answer.body = Json::parse(body.text, nullptr, /*allow_exceptions=*/false);
    return answer;
}

Exchanged Post(const char* path, const Json& request, std::uint32_t timeoutMs) {
    std::string payload;
    try {
        payload = request.dump();
    } catch (const Json::type_error&) {  // a text that is not UTF-8
        return codes::kTextNotUtf8;
    }
    return Exchange(path, &payload, timeoutMs);
}

Exchanged Get(const char* path, std::uint32_t timeoutMs) {
    return Exchange(path, nullptr, timeoutMs);
}

// The text field name of an object body, or null when there is none.
const std::string* TextField(const Json& body, const char* name) {
    if (!body.is_object()) {
        return nullptr;
    }
    auto found = body.find(name);
    if (found == body.end() || !found->is_string()) {
        return nullptr;
    }
    return &found->get_ref<const std::string&>();
}

// The server's code when the answer is a refusal this request may get: a 4xx status with the
// body {"error": code} and code among expected. A busy ladder (429, 503), or one that cannot
// serve now (its storage failed: 500; the front reached no ladder server: 502, 504) has a code
// of the engine's own, whatever the body.
// Any other answer is not the protocol.
std::string Refusal(const Answer& answer, std::initializer_list<const char*> expected) {
    if (answer.status == 429 || answer.status == 503) {
        return codes::kServerBusy;
    }
    if (answer.status == 500 || answer.status == 502 || answer.status == 504) {
        return codes::kServerUnreachable;
    }
    if (answer.status >= 400 && answer.status < 500) {
        if (const std::string* error = TextField(answer.body, "error")) {
            for (const char* code : expected) {
                if (*error == code) {
                    return code;
                }
            }
        }
    }
    return codes::kBadServerAnswer;
}

}  // namespace

std::string LadderCaFile() {
    const char* set = std::getenv(ladder::kCaFileVariable);
    return set != nullptr ? set : "";
}

std::string LadderServerUrl() {
    const char* set = std::getenv(ladder::kServerUrlVariable);
    std::string url = set != nullptr && *set != '\0' ? set : ladder::kDefaultServerUrl;
    while (!url.empty() && url.back() == '/') {
        url.pop_back();
    }
    return url;
}

std::variant<LadderGame, std::string> LadderClient::Start(const std::string& user,
                                                          const std::string& password) const {
    Exchanged exchanged =
        Post(ladder::paths::kStart, Json{{"user", user}, {"password", password}}, timeoutMs_);
    const auto* answer = std::get_if<Answer>(&exchanged);
    if (answer == nullptr) {
        return std::get<std::string>(std::move(exchanged));
    }
    if (answer->status != 200) {
        return Refusal(*answer, {ladder::codes::kNotEnabled});
    }
    const std::string* id = TextField(answer->body, "game_id");
    const std::string* puzzle = TextField(answer->body, "puzzle");
    std::optional<sudoku::Grid> grid;
    if (puzzle != nullptr && puzzle->size() == sudoku::kCellCount) {
        grid = sudoku::ParseLine(*puzzle);
    }
    if (id == nullptr || id->empty() || !grid || !sudoku::FollowsTheRules(*grid)) {
        return codes::kBadServerAnswer;
    }
    return LadderGame{*id, *grid};
}

std::variant<std::uint64_t, std::string> LadderClient::Finish(const std::string& user,
                                                              const std::string& password,
                                                              const std::string& gameId,
                                                              const sudoku::Grid& grid) const {
    Json request{{"user", user},
                 {"password", password},
                 {"game_id", gameId},
                 {"grid", sudoku::FormatLine(grid, '.')}};
    Exchanged exchanged = Post(ladder::paths::kFinish, request, timeoutMs_);
    const auto* answer = std::get_if<Answer>(&exchanged);
    if (answer == nullptr) {
        return std::get<std::string>(std::move(exchanged));
    }
    if (answer->status != 200) {
        return Refusal(*answer, {ladder::codes::kNotLadder, ladder::codes::kNotCompleted,
                                 ladder::codes::kNotEnabled});
    }
    // JSON keeps non-negative integers as unsigned numbers; negatives and fractions are refused.
    if (answer->body.is_object()) {
        auto seconds = answer->body.find("seconds");
        if (seconds != answer->body.end() && seconds->is_number_unsigned()) {
            return seconds->get<std::uint64_t>();
        }
    }
    return codes::kBadServerAnswer;
}

std::string LadderClient::Forfeit(const std::string& user, const std::string& password,
                                  const std::string& gameId) const {
    Exchanged exchanged =
        Post(ladder::paths::kForfeit,
             Json{{"user", user}, {"password", password}, {"game_id", gameId}}, timeoutMs_);
    const auto* answer = std::get_if<Answer>(&exchanged);
    if (answer == nullptr) {
        return std::get<std::string>(std::move(exchanged));
    }
    if (answer->status != 200) {
        return Refusal(*answer, {ladder::codes::kNotLadder, ladder::codes::kNotEnabled});
    }
    return answer->body.is_object() ? std::string() : codes::kBadServerAnswer;
}

std::optional<LadderRelease> LadderClient::Release() const {
    Exchanged exchanged = Get(ladder::paths::kVersion, timeoutMs_);
    const auto* answer = std::get_if<Answer>(&exchanged);
    if (answer == nullptr || answer->status != 200) {
        return std::nullopt;
    }
    const std::string* version = TextField(answer->body, "version");
    const std::string* download = TextField(answer->body, "download");
    if (version == nullptr || download == nullptr) {
        return std::nullopt;
    }
    return LadderRelease{*version, *download};
}

}  // namespace puzzle_engine
