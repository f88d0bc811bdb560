#include "gameservices/entities/RuntimeParameters.h"

#include <utility>
#include <vector>

#include "engine/core/AGLog.h"
#include "engine/core/NumberText.h"
#include "engine/core/XmlReader.h"

namespace GameServices::KorvoGame {

using Utilities::ISerialization;
using Utilities::SerializableVector;
using Utilities::XmlReader;

void sParameter::Serialize(ISerialization& serialization) {
    serialization.SetAttributeMode(true);
    serialization.SerializeString("filename", FileName, TString<char>());
    serialization.SetAttributeMode(false);
    if (!FileName.IsEmpty())
        return;
    serialization.SerializeString("Section", Section, TString<char>());
    serialization.SerializeString("Name", Name, TString<char>());
    serialization.SerializeString("Value", Value, TString<char>());
}

namespace {
RuntimeParameters* g_RuntimeParameters = nullptr;
}  // namespace

RuntimeParameters* RuntimeParameters::Instance() {
    if (!g_RuntimeParameters)
        g_RuntimeParameters = new RuntimeParameters();
    return g_RuntimeParameters;
}

void RuntimeParameters::Destroy() {
    delete g_RuntimeParameters;
    g_RuntimeParameters = nullptr;
}

namespace {

// The folder part of a path, separator included; empty for a bare name.
TString<char> FolderOf(const TString<char>& path) {
    for (u32 i = path.Length(); i > 0; --i) {
        const char c = path[i - 1];
        if (c == '/' || c == '\\')
            return path.SubString(0, i);
    }
    return TString<char>();
}

}  // namespace

bool RuntimeParameters::LoadRuntimeParameters(const TString<char>& path) {
    m_FileName = path;
    m_Parameters.Clear();
    XmlReader reader;
    const bool read = reader.ReadFileElement(path.c_str(), "RuntimeParameters", m_Parameters, "root");
    if (!read)
        AGReport("failed to read RuntimeParameters.xml");

    const TString<char> folder = FolderOf(path);
    std::vector<sParameter> merged;
    for (sParameter& entry : m_Parameters) {
        if (entry.FileName.IsEmpty()) {
            merged.push_back(std::move(entry));
            continue;
        }
        const TString<char> referencedPath = folder + entry.FileName;
        SerializableVector<sParameter> referenced;
        if (!reader.ReadFileElement(referencedPath.c_str(), "RuntimeParameters", referenced,
                                    "root"))
            AGReport("failed to read %s", referencedPath.c_str());
        for (sParameter& inner : referenced) {
            if (!inner.FileName.IsEmpty()) {
                AGReport("Not allowed to reference another file.");
                continue;
            }
            merged.push_back(std::move(inner));
        }
    }
    m_Parameters.Items() = std::move(merged);
    return read && !m_Parameters.Items().empty();
}

const sParameter* RuntimeParameters::Find(const TString<char>& section,
                                          const TString<char>& name) const {
    for (const sParameter& entry : m_Parameters)
        if (entry.Section == section && entry.Name == name)
            return &entry;
    return nullptr;
}

bool RuntimeParameters::HasParameter(const TString<char>& section,
                                     const TString<char>& name) const {
    return Find(section, name) != nullptr;
}

namespace {

// A minus sign before the digits: such a text names no unsigned number.
bool IsNegative(const TString<char>& value) {
    const char* text = value.c_str();
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        ++text;
    return *text == '-';
}

}  // namespace

void RuntimeParameters::Lookup(Parameter& request) const {
    const sParameter* entry = Find(request.m_Section, request.m_Name);
    if (!entry)
        return;
    const bool isUnsigned = request.m_Type == Parameter::kUnsignedLong ||
                            request.m_Type == Parameter::kUnsignedLong2;
    if (isUnsigned && IsNegative(entry->Value)) {
        AGReport("Runtime parameter %s %s: \"%s\" is not an unsigned number; the default is kept",
                 request.m_Section.c_str(), request.m_Name.c_str(), entry->Value.c_str());
        return;
    }
    UpdateBindingValue(request, entry->Value);
}

void RuntimeParameters::UpdateBindingValue(Parameter& request, const TString<char>& value) {
    void* binding = request.GetBinding();
    const char* text = value.c_str();
    switch (request.m_Type) {
    case Parameter::kFloat:
        *static_cast<f32*>(binding) = ParseFloat(text);
        break;
    case Parameter::kInt:
    case Parameter::kInteger:
        *static_cast<i32*>(binding) = ParseInt32(text);
        break;
    case Parameter::kUnsignedLong:
    case Parameter::kUnsignedLong2:
        ParseUInt32(text, *static_cast<u32*>(binding));  // refused text keeps the fallback
        break;
    case Parameter::kBool:
        *static_cast<bool*>(binding) = value == "true";
        break;
    case Parameter::kString:
        *static_cast<TString<char>*>(binding) = value;
        break;
    default:
        AGReport("RuntimeParameters::UpdateBindingValue() failed!");
        break;
    }
}

namespace {

template <typename T>
constexpr u32 TypeCodeOf();
template <>
constexpr u32 TypeCodeOf<i32>() { return Parameter::kInt; }
template <>
constexpr u32 TypeCodeOf<u32>() { return Parameter::kUnsignedLong; }
template <>
constexpr u32 TypeCodeOf<bool>() { return Parameter::kBool; }
template <>
constexpr u32 TypeCodeOf<TString<char>>() { return Parameter::kString; }

}  // namespace

template <typename T>
void RuntimeParameters::GetParameter(T* value, const TString<char>& section,
                                     const TString<char>& name) const {
    if (!value)
        return;
    TypedParameter<T*> request(value, section, name, TypeCodeOf<T>());
    Lookup(request);
}

template void RuntimeParameters::GetParameter<i32>(i32*, const TString<char>&,
                                                   const TString<char>&) const;
template void RuntimeParameters::GetParameter<u32>(u32*, const TString<char>&,
                                                   const TString<char>&) const;
template void RuntimeParameters::GetParameter<bool>(bool*, const TString<char>&,
                                                    const TString<char>&) const;
template void RuntimeParameters::GetParameter<TString<char>>(TString<char>*,
                                                             const TString<char>&,
                                                             const TString<char>&) const;

u32 GetFactoryCapacity(const char* name) {
    const RuntimeParameters* parameters = RuntimeParameters::Instance();
    u32 capacity = 0;
    if (!parameters->HasParameter("GameServices", name))
        AGReport("Runtime parameter GameServices %s is missing; its pool holds no object", name);
    parameters->GetParameter(&capacity, "GameServices", name);
    return capacity;
}

}  // namespace GameServices::KorvoGame
