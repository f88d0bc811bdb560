#pragma once
// Reads records from XML documents (files, package entries or text in memory). The reader
// owns the parsed document until the next read; the current element is where the record
// being read takes its fields from.
#include "engine/core/ISerializable.h"

class TiXmlDocument;
class TiXmlElement;

namespace GameServices::Utilities {

class XmlReader : public ISerialization {
public:
    // Results of ReadText.
    enum : i32 {
        ReadOk = 0,
        ReadNoRoot = 1,     // no top-level element of the root name
        ReadEmpty = 2,      // the text holds no document
        ReadEndTagError = 3,
        ReadParseError = 4,
    };

    XmlReader() = default;
    XmlReader(const XmlReader&) = delete;
    XmlReader& operator=(const XmlReader&) = delete;
    ~XmlReader() override;

    // Reads the record from the top-level element rootName of the file. The name is
    // lower-cased; in package mode the bytes come from the "data" provider under the name id
    // of that name, otherwise from disk. False, with the record untouched, when the file
    // cannot be read or parsed or has no such root.
    bool ReadFile(const char* fileName, ISerializable& record, const char* rootName);
    // As ReadFile, from the root's first child element named elementName.
    bool ReadFileElement(const char* fileName, const char* elementName, ISerializable& record,
                         const char* rootName);
    // Parses a zero-terminated text and reads the record from its root element.
    i32 ReadText(const char* text, const char* rootName, ISerializable& record);
    // The same for length bytes that need not be terminated (the text ends at the first zero
    // byte or after length bytes).
    i32 ReadText(const char* text, u32 length, const char* rootName, ISerializable& record);

    // Set once the file system reads everything from mounted packages.
    static void SetPackageMode(bool on);
    static bool IsPackageMode();

    bool WasFound() const override { return m_found != 0; }
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
    bool IsReading() const override { return true; }
    void GetElementName(TString<char>& out) const override;
    void SetAttributeMode(bool on) override { m_attributeMode = on ? 1 : 0; }

private:
    // Replaces the document with the parse of a zero-terminated text; a ReadText result.
    i32 Parse(const char* text);
    i32 ParseBytes(const char* bytes, u32 length);
    // Loads and parses a file by its lower-cased name.
    bool LoadDocument(const char* fileName);
    // Reads the record at element (a container reads its items there), restoring the
    // current element afterwards.
    void ReadRecordAt(TiXmlElement* element, ISerializable& record);
    // The text of a typed field, null when absent; element mode unless attributes apply.
    const char* FieldText(const char* name, bool attributeAllowed);
    void ReadVector(const char* name, f32* value, const f32* defaultValue, u32 count);

    TiXmlDocument* m_document = nullptr;
    TiXmlElement* m_current = nullptr;
    u8 m_attributeMode = 0;
    u8 m_found = 0;
};

}  // namespace GameServices::Utilities
