#pragma once
// Input tests run in a temporary working folder holding the global XML folder, with the
// file system's root left empty: paths are lower-cased whole, so the mixed-case name of the
// temporary folder itself must stay out of them.
#include <string>

#include "gameservices/bridge/FileSystem.h"
#include "tests/support/ScopedWorkingDir.h"
#include "tests/support/TempDir.h"

class ActionsFolder {
public:
    ActionsFolder() { GameServices::Bridge::FileSystem::Destroy(); }
    ~ActionsFolder() { GameServices::Bridge::FileSystem::Destroy(); }

    // A file of the global XML folder.
    void Write(const std::string& name, const std::string& text) const {
        m_dir.Write("-xml/global/" + name, text);
    }
    // "Actions.xml" with one context of the given action items.
    void WriteContext(const std::string& context, const std::string& actions) const {
        Write("actions.xml", "<root><RootContext><Contexts><item><Name>" + context +
                                 "</Name><Actions>" + actions +
                                 "</Actions></item></Contexts></RootContext></root>");
    }

private:
    TempDir m_dir;
    ScopedWorkingDir m_workingDir{m_dir.Path()};
};

// An action item with one trigger.
inline std::string ActionItem(const std::string& name, const std::string& type,
                              const std::string& filter, const std::string& state = "press") {
    return "<item><Name>" + name + "</Name><Triggers><item><Type>" + type + "</Type><State>" +
           state + "</State><Filter>" + filter + "</Filter></item></Triggers></item>";
}
