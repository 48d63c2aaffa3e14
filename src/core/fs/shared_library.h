#pragma once
// A shared library loaded when it is first needed rather than at every start: each library linked to
// the program is mapped and relocated before main, whether or not the run ever uses it. Its functions
// are looked up by name; once loaded it stays loaded for the rest of the run.
#include <dlfcn.h>

#include <initializer_list>

namespace sorano {

class SharedLibrary {
 public:
  // The first of names (sonames, in order of preference) that loads; an empty library when none does.
  static SharedLibrary Open(std::initializer_list<const char*> names) {
    SharedLibrary lib;
    for (const char* name : names) {
      lib.handle_ = dlopen(name, RTLD_NOW | RTLD_LOCAL);
      if (lib.handle_ != nullptr) break;
    }
    return lib;
  }

  explicit operator bool() const { return handle_ != nullptr; }

  // Sets f to the function called name; false (f null) when the library lacks it or is empty.
  template <class F>
  bool Resolve(const char* name, F& f) const {
    f = handle_ != nullptr ? reinterpret_cast<F>(dlsym(handle_, name)) : nullptr;
    return f != nullptr;
  }

 private:
  void* handle_ = nullptr;
};

}  // namespace sorano
