// The triangle filter's row driver: source rows are decoded top to bottom, filtered
// horizontally, and added with their vertical weights into the accumulators of the
// destination rows they reach. A destination row is encoded as soon as the last source row
// reaching it has been added, and its accumulator is reused. Only the rows still receiving
// contributions are held: a few around the current position, plus, when edges wrap, the top
// rows that the bottom source rows reach again.
#include <cstring>

#include "gfxutil/d3dx_surface.h"
#include "gfxutil/triangle_filter.h"

namespace gfx {
namespace {

constexpr uint32_t kNoRow = 0xFFFFFFFFu;

struct RowPlan {
    ScratchBuffer<uint32_t> lastSource;   // per destination row: last source row reaching it
    ScratchBuffer<int32_t> slotOf;        // per destination row: its accumulator, or -1
    uint32_t slots = 0;                   // accumulators needed at once
};

// Works out when each destination row is complete and how many accumulators the pass needs.
bool PlanRows(const AxisWeights& vertical, uint32_t dstRows, RowPlan& plan) {
    if (!plan.lastSource.Allocate(dstRows) || !plan.slotOf.Allocate(dstRows)) return false;
    for (uint32_t j = 0; j < dstRows; ++j) {
        plan.lastSource[j] = kNoRow;
        plan.slotOf[j] = -1;
    }
    for (uint32_t y = 0; y < vertical.SourceCount(); ++y) {
        for (const AxisWeight* e = vertical.Begin(y); e != vertical.End(y); ++e) {
            plan.lastSource[e->target] = y;
        }
    }
    uint32_t active = 0;
    for (uint32_t y = 0; y < vertical.SourceCount(); ++y) {
        for (const AxisWeight* e = vertical.Begin(y); e != vertical.End(y); ++e) {
            if (plan.slotOf[e->target] < 0) plan.slotOf[e->target] = int32_t(++active);
        }
        if (active > plan.slots) plan.slots = active;
        for (const AxisWeight* e = vertical.Begin(y); e != vertical.End(y); ++e) {
            if (plan.lastSource[e->target] == y && plan.slotOf[e->target] > 0) {
                plan.slotOf[e->target] = 0;
                --active;
            }
        }
    }
    for (uint32_t j = 0; j < dstRows; ++j) plan.slotOf[j] = -1;
    return true;
}

void FilterRowHorizontally(const AxisWeights& horizontal, const D3DXCOLOR* src,
                           D3DXCOLOR* out, uint32_t dstWidth) {
    std::memset(out, 0, sizeof(D3DXCOLOR) * dstWidth);
    for (uint32_t x = 0; x < horizontal.SourceCount(); ++x) {
        const D3DXCOLOR c = src[x];
        for (const AxisWeight* e = horizontal.Begin(x); e != horizontal.End(x); ++e) {
            D3DXCOLOR& o = out[e->target];
            o.r += c.r * e->weight;
            o.g += c.g * e->weight;
            o.b += c.b * e->weight;
            o.a += c.a * e->weight;
        }
    }
}

void AddWeighted(D3DXCOLOR* acc, const D3DXCOLOR* row, float weight, uint32_t width) {
    for (uint32_t x = 0; x < width; ++x) {
        acc[x].r += row[x].r * weight;
        acc[x].g += row[x].g * weight;
        acc[x].b += row[x].b * weight;
        acc[x].a += row[x].a * weight;
    }
}

// Working memory of one pass: the decoded source row, its horizontally filtered form, the
// accumulators and the stack of free accumulators.
struct PassRows {
    ScratchBuffer<D3DXCOLOR> source, filtered, accumulators;
    ScratchBuffer<uint32_t> freeSlots;
    uint32_t freeCount = 0;

    bool Allocate(uint32_t srcWidth, uint32_t dstWidth, uint32_t slots) {
        if (!source.Allocate(srcWidth) || !filtered.Allocate(dstWidth) ||
            !accumulators.Allocate(uint64_t(dstWidth) * (slots ? slots : 1)) ||
            !freeSlots.Allocate(slots ? slots : 1)) {
            return false;
        }
        for (freeCount = 0; freeCount < slots; ++freeCount) freeSlots[freeCount] = freeCount;
        return true;
    }
};

void AddSourceRow(const PixelCodec& dst, const AxisWeights& vertical, uint32_t y,
                  RowPlan& plan, PassRows& rows) {
    for (const AxisWeight* e = vertical.Begin(y); e != vertical.End(y); ++e) {
        int32_t& slot = plan.slotOf[e->target];
        D3DXCOLOR* acc;
        if (slot < 0) {
            slot = int32_t(rows.freeSlots[--rows.freeCount]);
            acc = &rows.accumulators[size_t(slot) * dst.width];
            std::memset(acc, 0, sizeof(D3DXCOLOR) * dst.width);
        } else {
            acc = &rows.accumulators[size_t(slot) * dst.width];
        }
        AddWeighted(acc, rows.filtered.Data(), e->weight, dst.width);
    }
    for (const AxisWeight* e = vertical.Begin(y); e != vertical.End(y); ++e) {
        int32_t& slot = plan.slotOf[e->target];
        if (plan.lastSource[e->target] != y || slot < 0) continue;
        dst.EncodeRow(e->target, 0, &rows.accumulators[size_t(slot) * dst.width]);
        rows.freeSlots[rows.freeCount++] = uint32_t(slot);
        slot = -1;
    }
}

}  // namespace

HRESULT TriangleBlit(const PixelCodec& dst, const PixelCodec& src, DWORD filter) {
    if (!dst.layout->canEncode) return E_FAIL;
    AxisWeights horizontal, vertical;
    RowPlan plan;
    PassRows rows;
    HRESULT hr = horizontal.Build(src.width, dst.width, (filter & D3DX_FILTER_MIRROR_U) != 0);
    if (SUCCEEDED(hr)) hr = vertical.Build(src.height, dst.height, (filter & D3DX_FILTER_MIRROR_V) != 0);
    if (FAILED(hr)) return hr;
    if (!PlanRows(vertical, dst.height, plan) ||
        !rows.Allocate(src.width, dst.width, plan.slots)) {
        return E_OUTOFMEMORY;
    }
    // A destination row no source row reaches (only possible through dropped weights) is
    // written as transparent black rather than left as it was.
    std::memset(rows.filtered.Data(), 0, sizeof(D3DXCOLOR) * dst.width);
    for (uint32_t j = 0; j < dst.height; ++j) {
        if (plan.lastSource[j] == kNoRow) dst.EncodeRow(j, 0, rows.filtered.Data());
    }
    for (uint32_t y = 0; y < src.height; ++y) {
        src.DecodeRow(y, 0, rows.source.Data());
        FilterRowHorizontally(horizontal, rows.source.Data(), rows.filtered.Data(), dst.width);
        AddSourceRow(dst, vertical, y, plan, rows);
    }
    return S_OK;
}

}  // namespace gfx
