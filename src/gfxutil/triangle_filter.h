// The triangle filter: rescaling a region of pixels to a region of another size, one source
// row at a time, with each source pixel spread as a tent over the destination.
//
// AxisWeights holds, for one axis, the list of destination pixels every source pixel
// reaches and with what weight; the filter builds one per axis and keeps them, plus a few
// rows of colour values, for the length of one blit.
#pragma once

#include <cstdint>

#include "gfxutil/pixel_codec.h"
#include "gfxutil/scratch_buffer.h"

namespace gfx {

struct AxisWeight {
    uint32_t target;   // destination pixel
    float weight;
};

class AxisWeights {
public:
    // Weights from srcSize source pixels to dstSize destination pixels (both 1 to
    // kMaxImageSide). Without mirror, destination positions wrap around at the edges; with
    // it, the outermost source pixels cover the edges. S_OK or E_OUTOFMEMORY.
    HRESULT Build(uint32_t srcSize, uint32_t dstSize, bool mirror);

    const AxisWeight* Begin(uint32_t source) const { return &entries_[offsets_[source]]; }
    const AxisWeight* End(uint32_t source) const { return &entries_[offsets_[source + 1]]; }
    uint32_t SourceCount() const { return srcSize_; }

private:
    struct Half;
    void AddHalf(const Half& half);
    void FinishSource(uint32_t source);

    uint32_t srcSize_ = 0, dstSize_ = 0;
    bool mirror_ = false;
    float scale_ = 1.0f;
    uint64_t count_ = 0;                 // entries written so far
    ScratchBuffer<AxisWeight> entries_;
    ScratchBuffer<uint32_t> offsets_;    // srcSize + 1 entries
    ScratchBuffer<int32_t> slotOf_;      // per destination pixel: its entry of the current source
};

// Rescales src into dst (depth 1 on both sides) with the triangle filter. The mirror bits of
// filter choose the edge rule per axis. S_OK, E_FAIL (dst cannot be written) or
// E_OUTOFMEMORY.
HRESULT TriangleBlit(const PixelCodec& dst, const PixelCodec& src, DWORD filter);

}  // namespace gfx
