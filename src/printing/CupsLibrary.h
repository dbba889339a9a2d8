// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

// The parts of the CUPS 2 library the program uses, laid out as its stable
// ABI has them and resolved at run time, once, here: building needs no CUPS
// headers, and a machine without a printing system still makes files.
struct CupsLibrary {
    struct Dest {
        char* name;
        char* instance;
        int isDefault;
        int optionCount;
        void* options;
    };
    struct Size {
        char media[128];
        int width, length, bottom, left, right, top; // hundredths of a millimetre
    };
    struct Option;

    static constexpr int httpContinue = 100;
    // IPP status codes from here on are client and server errors.
    static constexpr int firstErrorStatus = 0x0400;

    Dest* (*getNamedDest)(void*, const char*, const char*) = nullptr;
    void (*freeDests)(int, Dest*) = nullptr;
    void* (*copyDestInfo)(void*, Dest*) = nullptr;
    int (*getDestMediaByName)(void*, Dest*, void*, const char*, unsigned, Size*) = nullptr;
    void (*freeDestInfo)(void*) = nullptr;
    int (*addOption)(const char*, const char*, int, Option**) = nullptr;
    void (*freeOptions)(int, Option*) = nullptr;
    int (*createJob)(void*, const char*, const char*, int, Option*) = nullptr;
    int (*startDocument)(void*, const char*, int, const char*, const char*, int) = nullptr;
    int (*writeRequestData)(void*, const char*, std::size_t) = nullptr;
    int (*finishDocument)(void*, const char*) = nullptr;
    int (*cancelJob)(void*, const char*, int, int) = nullptr;
    int (*lastError)() = nullptr;
    // Every function above was found.
    bool usable = false;

    static const CupsLibrary& get();

    // Whether CUPS took the last request made on this thread; true when
    // there is no CUPS to ask. Qt's print support hands a page to CUPS but
    // drops its answer, so a queue that refuses the job would otherwise look
    // like a printed page.
    static bool lastRequestTaken();
};
