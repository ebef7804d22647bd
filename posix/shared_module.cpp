#include "posix/shared_module.h"

#include <utility>

#include <dlfcn.h>

namespace tabulon {

namespace {

// dlerror's text, which already names the file and what is missing.
std::string lastError(const std::string& fallback) {
    const char* reason = ::dlerror();
    return reason != nullptr ? std::string(reason) : fallback;
}

} // namespace

SharedModule::SharedModule(SharedModule&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), path_(std::move(other.path_)) {}

SharedModule& SharedModule::operator=(SharedModule&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, nullptr);
        path_ = std::move(other.path_);
    }
    return *this;
}

SharedModule::~SharedModule() {
    close();
}

void SharedModule::close() noexcept {
    if (handle_ != nullptr)
        ::dlclose(handle_);
    handle_ = nullptr;
}

Result<void, std::string> SharedModule::open(const std::string& path) {
    close();
    path_ = path;
    // RTLD_LOCAL: the module's libraries stay out of the program's own lookups.
    handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr)
        return lastError("cannot load " + path);
    return {};
}

Result<void*, std::string> SharedModule::symbol(const char* name) const {
    if (handle_ == nullptr)
        return "no module loaded for " + std::string(name);
    ::dlerror();
    void* address = ::dlsym(handle_, name);
    if (address == nullptr)
        return lastError(path_ + ": no " + name);
    return address;
}

} // namespace tabulon
