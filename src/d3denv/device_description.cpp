// The device description of every render unit (deviceStats): the device type, its
// vertex-processing mark and, for a hardware device, the adapter's description, cut to
// fit the 90-character field whatever the driver reports.
#include <cstring>

#include "host/saver.h"

namespace {

// Appends at most `limit` characters of `text` (which need not be terminated within
// `limit`) to the terminated string in `field`, cutting what does not fit.
void AppendCut(char* field, size_t fieldSize, const char* text, size_t limit) {
    size_t used = ::strnlen(field, fieldSize - 1);
    size_t length = ::strnlen(text, limit);
    size_t room = fieldSize - 1 - used;
    if (length > room) length = room;
    std::memcpy(field + used, text, length);
    field[used + length] = '\0';
}

const char* TypeName(D3DDEVTYPE type) {
    switch (type) {
    case D3DDEVTYPE_HAL: return "HAL";
    case D3DDEVTYPE_SW: return "SW";
    case D3DDEVTYPE_REF: return "REF";
    default: return "";
    }
}

const char* VertexProcessingMark(DWORD flags, bool hardware) {
    if ((flags & D3DCREATE_HARDWARE_VERTEXPROCESSING) && (flags & D3DCREATE_PUREDEVICE))
        return hardware ? " (pure hw vp)" : " (simulated pure hw vp)";
    if (flags & D3DCREATE_HARDWARE_VERTEXPROCESSING)
        return hardware ? " (hw vp)" : " (simulated hw vp)";
    if (flags & D3DCREATE_MIXED_VERTEXPROCESSING)
        return hardware ? " (mixed vp)" : " (simulated mixed vp)";
    if (flags & D3DCREATE_SOFTWARE_VERTEXPROCESSING) return " (sw vp)";
    return "";
}

}  // namespace

void Saver::DescribeDevices() {
    for (UINT i = 0; i < unitCount; i++) {
        RenderUnit& unit = units[i];
        char* text = unit.deviceStats;
        const size_t size = sizeof(unit.deviceStats);
        text[0] = '\0';
        bool hardware = unit.deviceType == D3DDEVTYPE_HAL;
        AppendCut(text, size, TypeName(unit.deviceType), size);
        AppendCut(text, size, VertexProcessingMark(unit.behaviorFlags, hardware), size);
        if (!hardware || unit.adapterOrdinal >= adapterCount || !adapters[unit.adapterOrdinal])
            continue;
        const D3DADAPTER_IDENTIFIER8& id = adapters[unit.adapterOrdinal]->identifier;
        AppendCut(text, size, ": ", size);
        AppendCut(text, size, id.Description, 299);   // Description holds 512
    }
}
