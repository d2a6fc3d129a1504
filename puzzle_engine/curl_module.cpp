// The curl module's one exported symbol: the engine component resolves it after loading the
// module, which is linked to libcurl, so that the package tools see libcurl as a dependency
// and the dynamic linker brings it in with the module.

#include "puzzle_engine/curl_functions.h"

extern "C" QUILLMARK_CURL_API const puzzle_engine::CurlFunctions* QuillmarkCurlFunctions() {
    static const puzzle_engine::CurlFunctions functions{
        .globalInit = &curl_global_init,
        .easyInit = &curl_easy_init,
        .easySetopt = &curl_easy_setopt,
        .easyPerform = &curl_easy_perform,
        .easyGetinfo = &curl_easy_getinfo,
        .easyCleanup = &curl_easy_cleanup,
        .slistAppend = &curl_slist_append,
        .slistFreeAll = &curl_slist_free_all,
        .url = &curl_url,
        .urlSet = &curl_url_set,
        .urlGet = &curl_url_get,
        .urlCleanup = &curl_url_cleanup,
        .free = &curl_free,
    };
    return &functions;
}
