// libcurl for the engine component, loaded the first time the engine calls it. Linked to
// libcurl itself, the component would bring libcurl and the two dozen libraries behind it
// (OpenSSL, GnuTLS, Kerberos, LDAP, SSH, HTTP/2...) into the game as it starts, over 5 MB
// resident that only an online game or an update check uses. So the component defines the curl
// functions the engine calls itself: each loads the curl module beside the component once (a
// small shared object linked to libcurl, see curl_functions.h) and calls libcurl through it.
// These definitions are hidden inside the component and never stand in for anyone else's curl.
//
// A curl function the engine starts calling needs a stand-in here; until it has one, the
// component's link fails on the undefined symbol. Should the module or libcurl be missing, the
// reason goes to stderr once, and every call fails the way curl fails when it cannot work: no
// handle, CURLE_FAILED_INIT, CURLUE_OUT_OF_MEMORY.

#include <dlfcn.h>

#include <cstdarg>
#include <cstdio>
#include <string>

#include "puzzle_engine/curl_functions.h"

namespace puzzle_engine {

namespace {

// The module's path: beside the component, wherever the game installed or built it.
std::string ModulePath() {
    static const char anchor = 0;
    Dl_info own{};
    if (dladdr(&anchor, &own) == 0 || own.dli_fname == nullptr) {
        return QUILLMARK_CURL_MODULE;
    }
    const std::string component(own.dli_fname);
    const std::size_t slash = component.rfind('/');
    if (slash == std::string::npos) {
        return QUILLMARK_CURL_MODULE;
    }
    return component.substr(0, slash + 1) + QUILLMARK_CURL_MODULE;
}

const CurlFunctions* LoadModule() {
    const std::string path = ModulePath();
    // Kept loaded until the program ends: curl's global state and handles live in it.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    const CurlFunctions* functions = nullptr;
    if (module != nullptr) {
        auto entry = reinterpret_cast<const CurlFunctions* (*)()>(
            dlsym(module, kQuillmarkCurlFunctionsSymbol));
        functions = entry != nullptr ? entry() : nullptr;
    }
    if (functions == nullptr) {
        const char* why = dlerror();
        std::fprintf(stderr,
                     "The puzzle engine cannot load libcurl, so it cannot reach the ladder "
                     "server: %s\n",
                     why != nullptr ? why : path.c_str());
    }
    return functions;
}

// libcurl's functions, or null when they cannot be loaded; loaded on the first call, on
// whichever thread makes it.
const CurlFunctions* Curl() {
    static const CurlFunctions* const functions = LoadModule();
    return functions;
}

using AnyFunction = void (*)();

}  // namespace

}  // namespace puzzle_engine

using puzzle_engine::Curl;

extern "C" {

CURLcode curl_global_init(long flags) {
    const auto* curl = Curl();
    return curl != nullptr ? curl->globalInit(flags) : CURLE_FAILED_INIT;
}

CURL* curl_easy_init() {
    const auto* curl = Curl();
    return curl != nullptr ? curl->easyInit() : nullptr;
}

// The one argument after the option is of the kind the option's number says, as curl reads it.
CURLcode curl_easy_setopt(CURL* handle, CURLoption option, ...) {
    const auto* curl = Curl();
    if (curl == nullptr) {
        return CURLE_FAILED_INIT;
    }
    std::va_list arguments;
    va_start(arguments, option);
    CURLcode result;
    if (option < CURLOPTTYPE_OBJECTPOINT) {
        result = curl->easySetopt(handle, option, va_arg(arguments, long));
    } else if (option < CURLOPTTYPE_FUNCTIONPOINT) {
        result = curl->easySetopt(handle, option, va_arg(arguments, void*));
    } else if (option < CURLOPTTYPE_OFF_T) {
        result = curl->easySetopt(handle, option, va_arg(arguments, puzzle_engine::AnyFunction));
    } else if (option < CURLOPTTYPE_BLOB) {
        result = curl->easySetopt(handle, option, va_arg(arguments, curl_off_t));
    } else {
        result = curl->easySetopt(handle, option, va_arg(arguments, curl_blob*));
    }
    va_end(arguments);
    return result;
}

CURLcode curl_easy_perform(CURL* handle) {
    const auto* curl = Curl();
    return curl != nullptr ? curl->easyPerform(handle) : CURLE_FAILED_INIT;
}

// Every kind of information is written through a pointer.
CURLcode curl_easy_getinfo(CURL* handle, CURLINFO info, ...) {
    const auto* curl = Curl();
    if (curl == nullptr) {
        return CURLE_FAILED_INIT;
    }
    std::va_list arguments;
    va_start(arguments, info);
    const CURLcode result = curl->easyGetinfo(handle, info, va_arg(arguments, void*));
    va_end(arguments);
    return result;
}

void curl_easy_cleanup(CURL* handle) {
    if (const auto* curl = Curl()) {
        curl->easyCleanup(handle);
    }
}

curl_slist* curl_slist_append(curl_slist* list, const char* text) {
    const auto* curl = Curl();
    return curl != nullptr ? curl->slistAppend(list, text) : nullptr;
}

void curl_slist_free_all(curl_slist* list) {
    if (const auto* curl = Curl()) {
        curl->slistFreeAll(list);
    }
}

CURLU* curl_url() {
    const auto* curl = Curl();
    return curl != nullptr ? curl->url() : nullptr;
}

CURLUcode curl_url_set(CURLU* url, CURLUPart part, const char* content, unsigned int flags) {
    const auto* curl = Curl();
    return curl != nullptr ? curl->urlSet(url, part, content, flags) : CURLUE_OUT_OF_MEMORY;
}

CURLUcode curl_url_get(CURLU* url, CURLUPart part, char** content, unsigned int flags) {
    const auto* curl = Curl();
    return curl != nullptr ? curl->urlGet(url, part, content, flags) : CURLUE_OUT_OF_MEMORY;
}

void curl_url_cleanup(CURLU* url) {
    if (const auto* curl = Curl()) {
        curl->urlCleanup(url);
    }
}

void curl_free(void* text) {
    if (const auto* curl = Curl()) {
        curl->free(text);
    }
}

}  // extern "C"
