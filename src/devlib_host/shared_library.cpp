#include "devlib_host/shared_library.h"

#include <dlfcn.h>

namespace talwyn::devlib_host {

std::string_view deviceLibraryFileName() {
    return "Talwyn_pro_dll.so";
}

SharedLibrary::~SharedLibrary() {
    unload();
}

bool SharedLibrary::load(const std::filesystem::path& file) {
    unload();
    file_ = std::filesystem::absolute(file);
    handle_ = dlopen(file_.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* reason = dlerror();
        error_ = reason != nullptr ? reason : file_.string() + ": cannot be loaded";
        return false;
    }
    error_.clear();
    return true;
}

void SharedLibrary::unload() {
    if (handle_ != nullptr)
        dlclose(handle_);
    handle_ = nullptr;
}

void* SharedLibrary::symbol(const char* name) const {
    return handle_ != nullptr ? dlsym(handle_, name) : nullptr;
}

} // namespace talwyn::devlib_host
