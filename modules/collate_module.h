#pragma once

// The interface of the collation module, libtabulon-collate.so: ICU's
// collator behind plain C functions, loaded with dlopen by the programs that
// sort. Only C types cross it: the module brings ICU and the shared C++
// runtime, while tabulon-cli carries its own.
#include <stddef.h>

extern "C" {

// A collator for names as people read them: letters before case and accents,
// digit runs by value. Null when ICU cannot make one; `error` (of `errorSize`
// bytes) then holds the reason.
using TabulonCollateOpen = void*(char* error, size_t errorSize);
// Gives the collator back.
using TabulonCollateClose = void(void* collator);
// Writes the sort key of the UTF-8 `text` into `key` (room for `size`
// bytes) and returns the bytes it needs, its closing zero byte included; 0
// when it cannot be made. More than `size`: call again with more room. The
// key holds no other zero byte; bytes that are no UTF-8 count as U+FFFD.
using TabulonCollateKey = size_t(void* collator, const char* text, size_t length, unsigned char* key,
                                 size_t size);

} // extern "C"

inline constexpr const char* kCollateModule = "libtabulon-collate.so";
inline constexpr const char* kCollateOpen = "tabulon_collate_open";
inline constexpr const char* kCollateClose = "tabulon_collate_close";
inline constexpr const char* kCollateKey = "tabulon_collate_key";
