#pragma once
// A named, reference-counted piece of loaded content. A resource is owned by the provider
// of its class (AGProvider<T>), which maps name ids to resources; clients take it with
// GetOrLoadResource or CreateResourceInstance (AGResourceManager.h) and give it back with
// the provider's Release or ReleaseInstance.
#include "engine/core/AGTypes.h"

class AGMemBuffer;

class AGResource {
public:
    AGResource() = default;
    // Clones copy the ids and the flag; the clone starts with no holders.
    AGResource(const AGResource& other)
        : m_nameId(other.m_nameId),
          m_directoryId(other.m_directoryId),
          m_isBase(other.m_isBase),
          m_flag(other.m_flag) {}
    AGResource& operator=(const AGResource&) = delete;
    virtual ~AGResource() = default;

    // The id of the class's type word (TypeKey in Crc32Hash.h).
    virtual u32 GetTypeKey() const = 0;

    // Parses the resource from the buffer's cursor. buffer is null when no package held the
    // name; the class then stays empty. The three values come unchanged from the requester:
    // a is class-specific, inPlace lets the resource borrow the buffer's bytes (only ever
    // set for bytes that stay resident until the package is unmounted), and shared asks
    // for referenced resources to be taken shared rather than as instances.
    virtual void Load(AGMemBuffer* buffer, u32 a, bool inPlace, bool shared) = 0;

    // Gives back the resources this one holds (classes that hold others).
    virtual void Unload() {}

    u32 NameId() const { return m_nameId; }
    void SetNameId(u32 id) { m_nameId = id; }
    // Name id of the package the bytes came from; 0 when no package held the name.
    u32 DirectoryId() const { return m_directoryId; }
    void SetDirectoryId(u32 id) { m_directoryId = id; }
    // True for a resource held by its provider under its name id, false for a clone.
    bool IsBase() const { return m_isBase != 0; }
    void SetIsBase(bool base) { m_isBase = base ? 1 : 0; }
    u32 RefCount() const { return m_refCount; }
    void SetRefCount(u32 count) { m_refCount = count; }
    void AddRef() { ++m_refCount; }
    u8 Flag() const { return m_flag; }
    void SetFlag(u8 flag) { m_flag = flag; }

private:
    u32 m_nameId = 0;
    u32 m_directoryId = 0;
    u8 m_isBase = 0;
    u32 m_refCount = 0;
    u8 m_flag = 0;
};
