#pragma once
// Sets or unsets environment variables for the life of the object, then restores them.
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class ScopedEnv {
public:
    ScopedEnv() = default;
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    ~ScopedEnv() {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
            if (it->second)
                setenv(it->first.c_str(), it->second->c_str(), 1);
            else
                unsetenv(it->first.c_str());
        }
    }

    ScopedEnv& Set(const std::string& name, const std::string& value) {
        Save(name);
        setenv(name.c_str(), value.c_str(), 1);
        return *this;
    }
    ScopedEnv& Unset(const std::string& name) {
        Save(name);
        unsetenv(name.c_str());
        return *this;
    }

private:
    void Save(const std::string& name) {
        const char* old = getenv(name.c_str());
        m_saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};
