#pragma once
// The named properties of a game object: each pairs a name with a pointer to one of the
// owner's members. The list owns its property records, never the members they point at.
#include <vector>

#include "engine/core/TString.h"

namespace GameServices::Entities {

class BaseProperty {
public:
    explicit BaseProperty(const TString<char>& name) : m_Name(name) {}
    virtual ~BaseProperty() = default;
    BaseProperty(const BaseProperty&) = delete;
    BaseProperty& operator=(const BaseProperty&) = delete;

    const TString<char>& GetName() const { return m_Name; }

private:
    TString<char> m_Name;
};

template <typename T>
class Property : public BaseProperty {
public:
    Property(const TString<char>& name, T* member) : BaseProperty(name), m_Member(member) {}
    T* GetMember() const { return m_Member; }

private:
    T* m_Member;
};

class Properties {
public:
    Properties() = default;
    virtual ~Properties() {
        for (BaseProperty* property : m_Properties)
            delete property;
    }
    Properties(const Properties&) = delete;
    Properties& operator=(const Properties&) = delete;

    template <typename T>
    void Register(const TString<char>& name, T* member) {
        m_Properties.push_back(new Property<T>(name, member));
    }

    size_t Count() const { return m_Properties.size(); }
    const BaseProperty* At(size_t index) const { return m_Properties[index]; }

private:
    std::vector<BaseProperty*> m_Properties;
};

}  // namespace GameServices::Entities
