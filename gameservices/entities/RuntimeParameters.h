#pragma once
// Tunable values of "RuntimeParameters.xml": (section, name, value) texts. A lookup writes
// the caller's variable only when the file has the key, so the variable's prior value is
// the default.
#include "engine/core/ISerializable.h"
#include "engine/core/SerializableVector.h"
#include "engine/core/TString.h"

namespace GameServices::KorvoGame {

// One entry of the file: either a (Section, Name, Value) triple or a "filename" attribute
// that stands for the entries of another file.
class sParameter : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    TString<char> Section;
    TString<char> Name;
    TString<char> Value;
    TString<char> FileName;
};

// A lookup request: the key and the type of the bound variable.
class Parameter {
public:
    // Type codes of the bound variable.
    enum : u32 {
        kFloat = 1,
        kInt = 2,
        kUnsignedLong = 3,
        kUnsignedLong2 = 4,
        kInteger = 5,
        kBool = 6,
        kString = 7,
    };

    Parameter(const TString<char>& name, const TString<char>& section, u32 type)
        : m_Name(name), m_Section(section), m_Type(type) {}
    virtual ~Parameter() = default;
    virtual void* GetBinding() const = 0;

    TString<char> m_Name;
    TString<char> m_Section;
    u32 m_Type;
};

template <typename T>
class TypedParameter;

template <typename T>
class TypedParameter<T*> : public Parameter {
public:
    TypedParameter(T* binding, const TString<char>& section, const TString<char>& name,
                   u32 type)
        : Parameter(name, section, type), m_Binding(binding) {}
    void* GetBinding() const override { return m_Binding; }

private:
    T* m_Binding;
};

class RuntimeParameters {
public:
    static RuntimeParameters* Instance();
    // Deletes the singleton (game end); the next Instance() makes a fresh one.
    static void Destroy();
    virtual ~RuntimeParameters() = default;

    // Reads the file (root "root", element "RuntimeParameters"); an entry naming another
    // file is replaced in place by that file's entries, which are looked for next to the
    // main file. Nothing read leaves the list empty. False when the main file cannot be read
    // or holds no entry.
    bool LoadRuntimeParameters(const TString<char>& path);

    // Writes the value of the first entry with exactly this section and name into *value;
    // no entry leaves *value unchanged. T is i32, u32, bool or TString<char>. Numbers take
    // the leading decimal digits of the text (none gives 0); a negative text for a u32 is
    // reported and leaves *value unchanged; a bool is true only for exactly "true".
    template <typename T>
    void GetParameter(T* value, const TString<char>& section, const TString<char>& name) const;

    bool HasParameter(const TString<char>& section, const TString<char>& name) const;

    const TString<char>& GetFileName() const { return m_FileName; }
    const Utilities::SerializableVector<sParameter>& GetParameters() const { return m_Parameters; }

private:
    RuntimeParameters() = default;
    const sParameter* Find(const TString<char>& section, const TString<char>& name) const;
    void Lookup(Parameter& request) const;
    static void UpdateBindingValue(Parameter& request, const TString<char>& value);

    TString<char> m_FileName;
    Utilities::SerializableVector<sParameter> m_Parameters;
};

extern template void RuntimeParameters::GetParameter<i32>(i32*, const TString<char>&,
                                                          const TString<char>&) const;
extern template void RuntimeParameters::GetParameter<u32>(u32*, const TString<char>&,
                                                          const TString<char>&) const;
extern template void RuntimeParameters::GetParameter<bool>(bool*, const TString<char>&,
                                                           const TString<char>&) const;
extern template void RuntimeParameters::GetParameter<TString<char>>(
    TString<char>*, const TString<char>&, const TString<char>&) const;

// The capacity of a pool from ("GameServices", name); 0, reported, when the key is absent,
// since such a pool can hand out nothing.
u32 GetFactoryCapacity(const char* name);

}  // namespace GameServices::KorvoGame
