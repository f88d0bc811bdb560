#pragma once
#include "engine/core/TString.h"

// Root of engine objects.
class AGObject {
public:
    virtual bool Initialize(void* /*param*/) { return false; }
    virtual bool Cleanup(void* /*param*/) { return false; }
    virtual ~AGObject() = default;
    virtual void GetName(TString<char>& out) const { out = TString<char>(); }
};
