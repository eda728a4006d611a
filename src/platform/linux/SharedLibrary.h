#pragma once
// A library loaded at run time for as long as this object lives: its pages
// are mapped only while something needs it, and unmapped again after the
// last holder is gone (unless another part of the program links it).
#include <dlfcn.h>

#include <string>
#include <utility>

namespace pelmora {

class SharedLibrary {
public:
    // Loads `soname` with its symbols kept local; loaded() is false when it
    // cannot be found or loaded.
    explicit SharedLibrary(const std::string& soname) : handle_(dlopen(soname.c_str(), RTLD_NOW | RTLD_LOCAL))
    {
    }
    ~SharedLibrary()
    {
        if (handle_) dlclose(handle_);
    }
    SharedLibrary(SharedLibrary&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;
    SharedLibrary& operator=(SharedLibrary&&) = delete;

    bool loaded() const { return handle_ != nullptr; }

    // The library's function `name` as a `Function`; null when the library
    // is not loaded or lacks it.
    template <typename Function>
    Function function(const char* name) const
    {
        return handle_ ? reinterpret_cast<Function>(dlsym(handle_, name)) : nullptr;
    }

    // Sets `function` to the library's function `name`; false (and null)
    // when the library is not loaded or lacks it.
    template <typename Function>
    bool bind(const char* name, Function& function) const
    {
        function = this->function<Function>(name);
        return function != nullptr;
    }

private:
    void* handle_;
};

}  // namespace pelmora
