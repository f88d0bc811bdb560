#pragma once
// A bitmap record over pixels someone else owns: frame captures hand one to their consumer,
// and video frames are copied through them into locked textures.
#include "engine/core/AGTypes.h"

struct AGBitmap {
    void* pixels = nullptr;
    u32 width = 0;
    u32 height = 0;
    u32 bytesPerPixel = 0;
    u32 pitch = 0;   // bytes from one row to the next
    u8 rowOrder = 0;  // records with different orders store their rows upside down to each other
};

// Copies the rows both records hold (the smaller width and height): one block when both are
// unpadded and in the same order, else row by row, reversing the rows when the orders differ.
void AGCopyBitmap(AGBitmap& destination, const AGBitmap& source);

// Receives the bitmaps of a frame capture.
class AGBitmapReceiver {
public:
    virtual ~AGBitmapReceiver() = default;
    virtual void ReceiveBitmap(const AGBitmap& bitmap) = 0;
};
