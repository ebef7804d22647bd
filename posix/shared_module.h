#pragma once

#include <string>

#include "posix/result.h"

namespace tabulon {

// A shared module opened with dlopen on first use and closed with its owner,
// so that a program pays for a large library only in the runs that need it.
// Nothing but plain C types may cross into such a module: it may bring its
// own C++ runtime.
class SharedModule {
public:
    SharedModule() = default;
    SharedModule(SharedModule&& other) noexcept;
    SharedModule& operator=(SharedModule&& other) noexcept;
    SharedModule(const SharedModule&) = delete;
    SharedModule& operator=(const SharedModule&) = delete;
    ~SharedModule();

    // Opens the module at `path`, with the libraries it needs. The error
    // names the module and what is missing.
    [[nodiscard]] Result<void, std::string> open(const std::string& path);
    bool isOpen() const { return handle_ != nullptr; }

    // The function `name` of the open module, as a pointer of type `Function`.
    template <class Function> [[nodiscard]] Result<Function*, std::string> function(const char* name) const {
        const Result<void*, std::string> found = symbol(name);
        if (!found.ok())
            return found.error();
        return reinterpret_cast<Function*>(found.value());
    }

private:
    [[nodiscard]] Result<void*, std::string> symbol(const char* name) const;
    void close() noexcept;

    void* handle_ = nullptr;
    std::string path_;
};

} // namespace tabulon
