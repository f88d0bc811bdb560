#include "questions/QuestionData.h"

#include "engine/core/AGData.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/Crc32Hash.h"

bool ReadQuestionDataFile(const char* name, const std::function<void(const void*, u32)>& parse) {
    AGResourceManager* manager = AGResourceManager::Get();
    AGBaseProvider* provider = manager ? manager->GetProvider(TypeKey::Data) : nullptr;
    if (!provider)
        return false;
    AGData* data = GetOrLoadResourceAs<AGData>(provider, Crc32Hash(name));
    if (!data)
        return false;
    bool present = data->Bytes() && data->Size() > 0;
    if (present)
        parse(data->Bytes(), data->Size());
    provider->Release(data);
    return present;
}
