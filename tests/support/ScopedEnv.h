// One environment variable of the test process set or removed while the object lives, and
// given back its old value after.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

class ScopedEnv {
public:
    // A null value removes the variable.
    ScopedEnv(const char* name, const char* value) : _name(name) {
        if (const char* old = std::getenv(name)) {
            _old = old;
        }
        Set(value);
    }
    ~ScopedEnv() { Set(_old ? _old->c_str() : nullptr); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void Set(const char* value) {
        if (value) {
            setenv(_name.c_str(), value, 1);
        } else {
            unsetenv(_name.c_str());
        }
    }

    std::string _name;
    std::optional<std::string> _old;
};
