// Setting and removing the process's environment variables in tests, on every system.
#pragma once

#include <cstdlib>

namespace textscreen::testing {

inline void set_environment(const char* name, const char* value) {
#ifdef _WIN32
  _putenv_s(name, value);
#else
  setenv(name, value, 1);
#endif
}

inline void unset_environment(const char* name) {
#ifdef _WIN32
  _putenv_s(name, "");  // an empty value removes the variable
#else
  unsetenv(name);
#endif
}

}  // namespace textscreen::testing
