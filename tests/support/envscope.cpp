#include "envscope.h"

#include <cstdlib>

EnvScope::EnvScope(const char* name, const char* value) : name_(name)
{
    if (const char* old = std::getenv(name))
        old_ = old, had_ = true;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
}

EnvScope::~EnvScope() { had_ ? ::setenv(name_, old_.c_str(), 1) : ::unsetenv(name_); }
