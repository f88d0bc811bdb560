#pragma once
// Prints records as compact XML (no indentation, no line breaks) under a root element
// "root". Numbers use "%d", "%u" and "%f". Each field goes where the reader looks for it:
// in attribute mode every typed field but a double is an attribute of the current element.
#include "engine/core/ISerializable.h"

class TiXmlDocument;
class TiXmlElement;

namespace GameServices::Utilities {

class XmlWriter : public ISerialization {
public:
    XmlWriter() = default;
    XmlWriter(const XmlWriter&) = delete;
    XmlWriter& operator=(const XmlWriter&) = delete;
    ~XmlWriter() override;

    // Serializes the record into a new document and copies the printed text (no terminating
    // zero) into output when it fits in size bytes, setting size to its length. A longer
    // text is refused with a report, leaving output and size unchanged.
    bool WriteText(ISerializable& record, char* output, u32& size);

    bool WasFound() const override { return true; }
    void SerializeItem(ISerializable& container) override;
    void SerializeVec4(const char* name, f32 (&value)[4], const f32 (&defaultValue)[4]) override;
    void SerializeVec3(const char* name, AGVec3& value, const AGVec3& defaultValue) override;
    void SerializeVec2(const char* name, AGVec2& value, const AGVec2& defaultValue) override;
    void SerializeBool(const char* name, bool& value, bool defaultValue) override;
    void SerializeInt(const char* name, i32& value, i32 defaultValue) override;
    void SerializeDouble(const char* name, double& value, double defaultValue) override;
    void SerializeUInt(const char* name, u32& value, u32 defaultValue) override;
    void SerializeLong(const char* name, i32& value, i32 defaultValue) override;
    void SerializeFloat(const char* name, f32& value, f32 defaultValue) override;
    void SerializeObject(const char* name, ISerializable& object, bool mandatory) override;
    void SerializeString(const char* name, TString<char>& value,
                         const TString<char>& defaultValue) override;
    bool IsReading() const override { return false; }
    void GetElementName(TString<char>& out) const override;
    void SetAttributeMode(bool on) override { m_attributeMode = on ? 1 : 0; }

private:
    // A child element holding the text.
    void AddElement(const char* name, const char* text);
    // An attribute in attribute mode, else a child element.
    void AddField(const char* name, const TString<char>& text);
    void AddVector(const char* name, const f32* value, u32 count);

    TiXmlDocument* m_document = nullptr;
    TiXmlElement* m_current = nullptr;
    u8 m_attributeMode = 0;
};

}  // namespace GameServices::Utilities
