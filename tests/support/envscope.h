#pragma once

#include <string>

// Sets (or, with null, removes) an environment variable for one scope and puts the old value back.
class EnvScope {
public:
    EnvScope(const char* name, const char* value);
    ~EnvScope();
    EnvScope(const EnvScope&) = delete;
    EnvScope& operator=(const EnvScope&) = delete;

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};
