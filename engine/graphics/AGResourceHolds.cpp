#include "engine/graphics/AGResourceHolds.h"

#include "engine/core/AGMemBuffer.h"
#include "engine/graphics/AGVertexBuffer.h"

void AGReadNameIds(AGMemBuffer& buffer, u32 count, AGOwnedBuffer<u32>& ids) {
    if (!buffer.Failed() && (!buffer.CheckCount(count, 4) || !ids.Resize(count)))
        buffer.SetFailed();
    for (u32& id : ids)
        id = buffer.ReadU32();
}

AGVertexBuffer* AGTakeRunTimeVertexBuffer(u32 nameId, u32 directoryId, bool& owned) {
    owned = false;
    AGVertexBuffer* buffer = nullptr;
    AGBaseProvider* provider = AGProviderOf(TypeKey::VertexBuffer);
    if (provider) {
        AGResource* made = provider->Create();
        buffer = dynamic_cast<AGVertexBuffer*>(made);
        if (!buffer)
            delete made;  // a placeholder provider: vertex buffers are not registered yet
    }
    if (!buffer) {
        owned = true;
        buffer = new AGVertexBuffer();
    }
    buffer->SetNameId(nameId);
    buffer->SetDirectoryId(directoryId);
    buffer->SetIsBase(false);
    if (!owned)
        provider->AddToGroup(nameId, buffer);
    return buffer;
}

void AGGiveBackRunTimeVertexBuffer(AGVertexBuffer* buffer, bool owned) {
    if (!buffer)
        return;
    if (owned)
        delete buffer;
    else
        AGGiveBackResource(TypeKey::VertexBuffer, buffer);
}
