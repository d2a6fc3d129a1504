#pragma once

// The libcurl functions the engine calls, handed from the curl module (curl_module.cpp, a small
// shared object linked to libcurl) to the engine component's stand-ins for them
// (curl_loader.cpp). The component loads the module, and with it libcurl and the libraries
// libcurl needs, the first time the engine calls curl, not when the game loads the component.

#include <curl/curl.h>

// The module is built with hidden symbols; only its entry point leaves it.
#define QUILLMARK_CURL_API __attribute__((visibility("default")))

namespace puzzle_engine {

// Each member is the libcurl function of that name. A function the engine starts calling gets
// a member here, its address in curl_module.cpp and its stand-in in curl_loader.cpp.
struct CurlFunctions {
    decltype(&curl_global_init) globalInit;
    decltype(&curl_easy_init) easyInit;
    decltype(&curl_easy_setopt) easySetopt;
    decltype(&curl_easy_perform) easyPerform;
    decltype(&curl_easy_getinfo) easyGetinfo;
    decltype(&curl_easy_cleanup) easyCleanup;
    decltype(&curl_slist_append) slistAppend;
    decltype(&curl_slist_free_all) slistFreeAll;
    decltype(&curl_url) url;
    decltype(&curl_url_set) urlSet;
    decltype(&curl_url_get) urlGet;
    decltype(&curl_url_cleanup) urlCleanup;
    decltype(&curl_free) free;
};

}  // namespace puzzle_engine

// Exported by the curl module: libcurl's functions, valid as long as the module stays loaded.
extern "C" QUILLMARK_CURL_API const puzzle_engine::CurlFunctions* QuillmarkCurlFunctions();

// The entry point's name, for the loader that resolves it at run time.
inline constexpr const char* kQuillmarkCurlFunctionsSymbol = "QuillmarkCurlFunctions";
