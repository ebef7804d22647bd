// libtabulon-collate.so: ICU's root collator with numeric ordering, behind
// the C functions of collate_module.h.
#include "modules/collate_module.h"

#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include <unicode/ucol.h>
#include <unicode/ustring.h>

namespace {

void putError(char* error, size_t errorSize, const char* what, UErrorCode code) {
    if (error != nullptr && errorSize > 0) {
        std::strncpy(error, what, errorSize - 1);
        const size_t used = std::strlen(error);
        if (used + 2 < errorSize) {
            std::strncat(error, ": ", errorSize - 1 - used);
            std::strncat(error, u_errorName(code), errorSize - 1 - std::strlen(error));
        }
        error[errorSize - 1] = '\0';
    }
}

struct Collator {
    UCollator* icu = nullptr;
    std::vector<UChar> text; // reused from name to name
};

} // namespace

extern "C" {

__attribute__((visibility("default"))) void* tabulon_collate_open(char* error, size_t errorSize) {
    UErrorCode code = U_ZERO_ERROR;
    // The root order, not the user's locale: a script gets the same list everywhere.
    UCollator* icu = ucol_open("", &code);
    if (U_FAILURE(code)) {
        putError(error, errorSize, "cannot open ICU's collator", code);
        return nullptr;
    }
    // Tertiary strength: letters decide first, then accents, then case.
    ucol_setAttribute(icu, UCOL_STRENGTH, UCOL_TERTIARY, &code);
    ucol_setAttribute(icu, UCOL_NUMERIC_COLLATION, UCOL_ON, &code);
    if (U_FAILURE(code)) {
        ucol_close(icu);
        putError(error, errorSize, "cannot set ICU's collator up", code);
        return nullptr;
    }
    auto* collator = new (std::nothrow) Collator{icu, {}};
    if (collator == nullptr)
        ucol_close(icu);
    return collator;
}

__attribute__((visibility("default"))) void tabulon_collate_close(void* collator) {
    auto* c = static_cast<Collator*>(collator);
    if (c != nullptr)
        ucol_close(c->icu);
    delete c;
}

__attribute__((visibility("default"))) size_t
tabulon_collate_key(void* collator, const char* text, size_t length, unsigned char* key, size_t size) {
    auto* c = static_cast<Collator*>(collator);
    if (length > static_cast<size_t>(INT32_MAX / 2))
        return 0;
    try {
        c->text.resize(length + 1);
    } catch (...) {
        return 0;
    }
    int32_t units = 0;
    UErrorCode code = U_ZERO_ERROR;
    u_strFromUTF8WithSub(c->text.data(), static_cast<int32_t>(c->text.size()), &units, text,
                         static_cast<int32_t>(length), 0xFFFD, nullptr, &code);
    if (U_FAILURE(code))
        return 0;
    const int32_t room = size > static_cast<size_t>(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(size);
    return static_cast<size_t>(ucol_getSortKey(c->icu, c->text.data(), units, key, room));
}

} // extern "C"
