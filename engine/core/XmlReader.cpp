#include "engine/core/XmlReader.h"

#include <tinyxml.h>

#include <cstring>
#include <string>

#include "engine/core/AGArray.h"
#include "engine/core/AGData.h"
#include "engine/core/AGLog.h"
#include "engine/core/AGMemory.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/Crc32Hash.h"
#include "engine/core/NumberText.h"
#include "engine/core/SplitString.h"
#include "engine/core/PCFileManager.h"

namespace GameServices::Utilities {

namespace {

bool g_packageMode = false;

// The parser, the copy and the destruction of a document recurse once per nesting level, so
// a hostile document (the save file is user-writable) nested a hundred thousand deep would
// exhaust the stack. No file of the game comes near this.
constexpr u32 kMaxElementDepth = 256;

const char* SkipPast(const char* p, const char* terminator) {
    const char* found = strstr(p, terminator);
    return found ? found + strlen(terminator) : p + strlen(p);
}

bool StartsElementName(unsigned char c) {
    // The parser takes any byte from 127 up as a letter.
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 127;
}

// The deepest element nesting of the text as the parser reads it: an element opens at "<"
// followed by a name, closes at "</" or at "/>" outside quoted attribute values; comments,
// CDATA sections and other markup open nothing.
u32 ElementDepth(const char* p) {
    u32 depth = 0;
    u32 deepest = 0;
    while (*p) {
        if (*p != '<') {
            ++p;
            continue;
        }
        if (strncmp(p, "<!--", 4) == 0) {
            p = SkipPast(p + 4, "-->");
            continue;
        }
        if (strncmp(p, "<![CDATA[", 9) == 0) {
            p = SkipPast(p + 9, "]]>");
            continue;
        }
        if (p[1] == '/') {
            if (depth > 0)
                --depth;
            p = SkipPast(p + 2, ">");
            continue;
        }
        if (!StartsElementName(static_cast<unsigned char>(p[1]))) {
            p = SkipPast(p + 1, ">");
            continue;
        }
        if (++depth > deepest)
            deepest = depth;
        p += 2;
        while (*p && *p != '>') {
            if (*p == '"' || *p == '\'') {
                const char quote = *p++;
                while (*p && *p != quote)
                    ++p;
                if (*p)
                    ++p;
                continue;
            }
            if (p[0] == '/' && p[1] == '>') {
                --depth;
                ++p;
                break;
            }
            ++p;
        }
        if (*p)
            ++p;
    }
    return deepest;
}

// The bytes of a document: in package mode the "data" resource of the name's id, given back
// at once; otherwise the disk file. False when there are none.
bool LoadDocumentText(const char* lowerName, std::string& text) {
    if (g_packageMode) {
        AGResourceManager* resources = AGResourceManager::Get();
        AGBaseProvider* provider = resources ? resources->GetProvider(TypeKey::Data) : nullptr;
        if (!provider)
            return false;
        AGResource* resource = GetOrLoadResource(provider, Crc32Hash(lowerName), 0, false, false);
        if (!resource)
            return false;
        const AGData* data = static_cast<const AGData*>(resource);
        const bool loaded = data->Bytes() != nullptr;
        if (loaded)
            text.assign(data->Text(), data->Size());
        if (resource->IsBase())
            provider->Release(resource);
        else
            provider->ReleaseInstance(resource);
        return loaded;
    }
    PCFileManager fallback;
    PCFileManager* files = PCFileManager::Get() ? PCFileManager::Get() : &fallback;
    PCFile* file = files->Open(lowerName, AGFile::kModeRead, true);
    bool loaded = file->Base() != nullptr;
    if (loaded)
        text.assign(reinterpret_cast<const char*>(file->Base()), file->Size());
    delete file;
    return loaded;
}

}  // namespace

XmlReader::~XmlReader() {
    delete m_document;
}

void XmlReader::SetPackageMode(bool on) {
    g_packageMode = on;
}

bool XmlReader::IsPackageMode() {
    return g_packageMode;
}

i32 XmlReader::Parse(const char* text) {
    delete m_document;
    m_document = nullptr;
    m_current = nullptr;
    m_attributeMode = 0;
    m_found = 0;
    if (ElementDepth(text) > kMaxElementDepth) {
        AGReport("XML document nested deeper than %u elements", kMaxElementDepth);
        return ReadParseError;
    }
    // Text is kept as written ("A  B" stays "A  B"): the parser's default folds runs of
    // spaces and drops leading ones. Blank text between elements is still skipped.
    static const bool keepSpaces = (TiXmlBase::SetCondenseWhiteSpace(false), true);
    (void)keepSpaces;
    m_document = new TiXmlDocument();
    m_document->Parse(text);
    if (!m_document->Error())
        return ReadOk;
    switch (m_document->ErrorId()) {
    case TiXmlBase::TIXML_ERROR_DOCUMENT_EMPTY:
        return ReadEmpty;
    case TiXmlBase::TIXML_ERROR_READING_END_TAG:
        return ReadEndTagError;
    default:
        return ReadParseError;
    }
}

i32 XmlReader::ParseBytes(const char* bytes, u32 length) {
    if (!bytes || length == 0)
        return Parse("");
    if (memchr(bytes, 0, length))
        return Parse(bytes);
    // The parser reads up to a zero byte, which these bytes lack: parse a terminated copy.
    char* copy = static_cast<char*>(AllocBlock(size_t(length) + 1));
    if (!copy) {
        AGReport("Out of memory copying an XML document of %u bytes", length);
        return ReadParseError;
    }
    memcpy(copy, bytes, length);
    copy[length] = 0;
    i32 result = Parse(copy);
    FreeBlock(copy);
    return result;
}

bool XmlReader::LoadDocument(const char* fileName) {
    if (!fileName)
        return false;
    TString<char> name(fileName);
    name.ToLower();
    std::string text;
    if (!LoadDocumentText(name.c_str(), text))
        return false;
    return Parse(text.c_str()) == ReadOk;
}

bool XmlReader::ReadFile(const char* fileName, ISerializable& record, const char* rootName) {
    if (!LoadDocument(fileName) || !rootName)
        return false;
    TiXmlElement* root = m_document->FirstChildElement(rootName);
    if (!root)
        return false;
    ReadRecordAt(root, record);
    return true;
}

bool XmlReader::ReadFileElement(const char* fileName, const char* elementName,
                                ISerializable& record, const char* rootName) {
    if (!LoadDocument(fileName) || !rootName || !elementName)
        return false;
    TiXmlElement* root = m_document->FirstChildElement(rootName);
    TiXmlElement* element = root ? root->FirstChildElement(elementName) : nullptr;
    if (!element)
        return false;
    ReadRecordAt(element, record);
    return true;
}

i32 XmlReader::ReadText(const char* text, const char* rootName, ISerializable& record) {
    return ReadText(text, text ? u32(strnlen(text, 0xFFFFFFFFu)) : 0, rootName, record);
}

i32 XmlReader::ReadText(const char* text, u32 length, const char* rootName,
                        ISerializable& record) {
    i32 result = ParseBytes(text, length);
    if (result != ReadOk)
        return result;
    TiXmlElement* root = rootName ? m_document->FirstChildElement(rootName) : nullptr;
    if (!root)
        return ReadNoRoot;
    ReadRecordAt(root, record);
    return ReadOk;
}

void XmlReader::ReadRecordAt(TiXmlElement* element, ISerializable& record) {
    TiXmlElement* previous = m_current;
    if (!record.IsContainer()) {
        m_current = element;
        record.Serialize(*this);
    } else {
        record.Clear();
        TString<char> itemName;
        record.GetItemName(itemName);
        // With no item name the element itself and its following siblings are the items.
        TiXmlElement* item =
            itemName.IsEmpty() ? element : element->FirstChildElement(itemName.c_str());
        for (; item; item = item->NextSiblingElement()) {
            m_current = item;
            record.Serialize(*this);
        }
    }
    m_current = previous;
}

void XmlReader::SerializeItem(ISerializable& container) {
    if (!m_current) {
        AGReport("SerializeItem called with no current element");
        return;
    }
    TiXmlElement* previous = m_current;
    TString<char> itemName;
    container.GetItemName(itemName);
    TiXmlElement* item = itemName.IsEmpty() ? m_current->FirstChildElement()
                                            : m_current->FirstChildElement(itemName.c_str());
    for (; item; item = item->NextSiblingElement()) {
        m_current = item;
        container.Serialize(*this);
    }
    m_current = previous;
}

void XmlReader::SerializeObject(const char* name, ISerializable& object, bool mandatory) {
    TiXmlElement* child = nullptr;
    if (m_current && name) {
        m_found = 1;
        child = m_current->FirstChildElement(name);
    }
    if (!child) {
        if (mandatory)
            AGReport("Mandatory Field is missing :%s", name ? name : "");
        m_found = 0;
        return;
    }
    ReadRecordAt(child, object);
    // The object's own fields may have cleared the flag; it answers for this object.
    m_found = 1;
}

const char* XmlReader::FieldText(const char* name, bool attributeAllowed) {
    if (!m_current || !name)
        return nullptr;
    if (m_attributeMode && attributeAllowed)
        return m_current->Attribute(name);
    m_found = 1;
    const TiXmlElement* child = m_current->FirstChildElement(name);
    return child ? child->GetText() : nullptr;
}

void XmlReader::ReadVector(const char* name, f32* value, const f32* defaultValue, u32 count) {
    f32 result[4];
    memcpy(result, defaultValue, count * sizeof(f32));
    const char* text = FieldText(name, true);
    if (text && *text) {
        AGArray<TString<char>> parts;
        SplitString(TString<char>(text), parts, TString<char>(","), 0);
        if (parts.Count() > count)
            AGReport("failed to extract the vec%u", count);
        for (u32 i = 0; i < count && i < parts.Count(); ++i)
            result[i] = ParseFloat(parts[i].c_str());
    }
    memcpy(value, result, count * sizeof(f32));
}

void XmlReader::SerializeVec4(const char* name, f32 (&value)[4], const f32 (&defaultValue)[4]) {
    ReadVector(name, value, defaultValue, 4);
}

void XmlReader::SerializeVec3(const char* name, AGVec3& value, const AGVec3& defaultValue) {
    f32 v[3];
    const f32 d[3] = {defaultValue.x, defaultValue.y, defaultValue.z};
    ReadVector(name, v, d, 3);
    value = AGVec3{v[0], v[1], v[2]};
}

void XmlReader::SerializeVec2(const char* name, AGVec2& value, const AGVec2& defaultValue) {
    f32 v[2];
    const f32 d[2] = {defaultValue.x, defaultValue.y};
    ReadVector(name, v, d, 2);
    value = AGVec2{v[0], v[1]};
}

void XmlReader::SerializeBool(const char* name, bool& value, bool defaultValue) {
    const char* text = FieldText(name, true);
    if (!text || !*text) {
        value = defaultValue;
        return;
    }
    TString<char> lower(text);
    value = lower.ToLower() == "true";
}

void XmlReader::SerializeInt(const char* name, i32& value, i32 defaultValue) {
    const char* text = FieldText(name, true);
    value = text && *text ? ParseInt32(text) : defaultValue;
}

void XmlReader::SerializeDouble(const char* name, double& value, double defaultValue) {
    const char* text = FieldText(name, false);
    value = text && *text ? ParseDouble(text) : defaultValue;
}

void XmlReader::SerializeUInt(const char* name, u32& value, u32 defaultValue) {
    const char* text = FieldText(name, true);
    u32 parsed = defaultValue;
    if (text && *text)
        ParseUInt32(text, parsed);
    value = parsed;
}

void XmlReader::SerializeLong(const char* name, i32& value, i32 defaultValue) {
    SerializeInt(name, value, defaultValue);
}

void XmlReader::SerializeFloat(const char* name, f32& value, f32 defaultValue) {
    const char* text = FieldText(name, true);
    value = text && *text ? ParseFloat(text) : defaultValue;
}

void XmlReader::SerializeString(const char* name, TString<char>& value,
                                const TString<char>& defaultValue) {
    const char* text = nullptr;
    if (!name || !*name) {
        text = m_current ? m_current->GetText() : nullptr;
    } else if (m_attributeMode) {
        // A present attribute gives its text, even an empty one.
        text = FieldText(name, true);
        if (text) {
            value = text;
            return;
        }
    } else {
        text = FieldText(name, false);
    }
    if (text && *text)
        value = text;
    else
        value = defaultValue;
}

void XmlReader::GetElementName(TString<char>& out) const {
    out = m_current ? m_current->Value() : "";
}

}  // namespace GameServices::Utilities
