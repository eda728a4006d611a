#pragma once
// A library loaded at run time for as long as this object lives: its pages
// are mapped only while something needs it, and unmapped again after the
// last holder is gone (unless another part of the program links it).
#include <dlfcn.h>

#include <string>
#include <utility>

namespace pelmora {

// Sets `function` to the function `name` of the loaded library `handle`;
// false (and null) when there is no handle or the library lacks it.
template <typename Function>
bool bindFunction(void* handle, const char* name, Function& function)
{
    function = handle ? reinterpret_cast<Function>(dlsym(handle, name)) : nullptr;
    return function != nullptr;
}

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
        Function bound = nullptr;
        bindFunction(handle_, name, bound);
        return bound;
    }

    // Sets `function` to the library's function `name`; false (and null)
    // when the library is not loaded or lacks it.
    template <typename Function>
    bool bind(const char* name, Function& function) const
    {
        return bindFunction(handle_, name, function);
    }

private:
    void* handle_;
};

}  // namespace pelmora
