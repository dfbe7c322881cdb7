#include "records.h"

#include <cstddef>
#include <cstring>

namespace runner {

namespace {

enum class Kind : uint8_t { Word, Size, Handle, Pointer, Proc, Param, Wide };

struct Field {
    Record record;
    uint16_t ce, host, size;
    Kind kind;
};

struct Layout {
    uint16_t ceSize, hostSize;
};

constexpr Layout kLayouts[] = {
#define RECORD(name, ce, host, size) {size, sizeof(host)},
#define FIELD(...)
#define BITS(...)
#include "record_fields.h"
#undef RECORD
#undef FIELD
#undef BITS
};

#define RECORD(name, ce, host, size) using name##Host = host;
#define FIELD(...)
#define BITS(...)
#include "record_fields.h"
#undef RECORD
#undef FIELD
#undef BITS

constexpr Field kFields[] = {
#define RECORD(...)
#define FIELD(record, field, ce, size, kind) \
    {Record::record, ce, offsetof(record##Host, field), size, Kind::kind},
#define BITS FIELD
#include "record_fields.h"
#undef RECORD
#undef FIELD
#undef BITS
};

} // namespace

uint32_t CeSize(Record record) { return kLayouts[static_cast<int>(record)].ceSize; }

void ToHost(Machine &m, Record record, uint32_t address, void *host) {
    const uint8_t *ce = m.Host(address, CeSize(record));
    auto *out = static_cast<uint8_t *>(host);
    for (const Field &f : kFields) {
        if (f.record != record)
            continue;
        uint32_t word;
        std::memcpy(&word, ce + f.ce, 4);
        uint8_t *to = out + f.host;
        Args args{m, {word}};
        switch (f.kind) {
        case Kind::Word:
            std::memcpy(to, ce + f.ce, f.size);
            break;
        case Kind::Size: {
            DWORD size = kLayouts[static_cast<int>(record)].hostSize;
            std::memcpy(to, &size, 4);
            break;
        }
        case Kind::Handle: {
            uintptr_t value = HostHandle(word);
            std::memcpy(to, &value, sizeof value);
            break;
        }
        case Kind::Pointer: {
            const void *p = word < 0x1'0000 ? reinterpret_cast<void *>(static_cast<uintptr_t>(word))
                                            : m.Host(word, 1);
            std::memcpy(to, &p, sizeof p);
            break;
        }
        case Kind::Proc: {
            WNDPROC proc = m.HostProc(word);
            std::memcpy(to, &proc, sizeof proc);
            break;
        }
        case Kind::Param: {
            WPARAM value = args.wparam(0);
            std::memcpy(to, &value, sizeof value);
            break;
        }
        case Kind::Wide: {
            SIZE_T value = word;
            std::memcpy(to, &value, sizeof value);
            break;
        }
        }
    }
}

void ToArm(Machine &m, Record record, const void *host, uint32_t address) {
    uint8_t *ce = m.Host(address, CeSize(record));
    auto *in = static_cast<const uint8_t *>(host);
    for (const Field &f : kFields) {
        if (f.record != record)
            continue;
        const uint8_t *from = in + f.host;
        uint32_t word = 0;
        switch (f.kind) {
        case Kind::Word:
            std::memcpy(ce + f.ce, from, f.size);
            continue;
        case Kind::Size:
            continue; // the program's own size stays
        case Kind::Handle: {
            void *value;
            std::memcpy(&value, from, sizeof value);
            word = Machine::Handle32(value);
            break;
        }
        case Kind::Pointer: {
            void *p;
            std::memcpy(&p, from, sizeof p);
            word = reinterpret_cast<uintptr_t>(p) < 0x1'0000
                       ? static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)) : m.Arm(p);
            break;
        }
        case Kind::Proc: {
            WNDPROC proc;
            std::memcpy(&proc, from, sizeof proc);
            word = m.ArmProc(proc);
            break;
        }
        case Kind::Param: {
            uintptr_t value;
            std::memcpy(&value, from, sizeof value);
            word = m.Param(value, false);
            break;
        }
        case Kind::Wide: {
            SIZE_T value;
            std::memcpy(&value, from, sizeof value);
            word = value > 0xFFFF'FFFF ? 0xFFFF'FFFF : static_cast<uint32_t>(value);
            break;
        }
        }
        std::memcpy(ce + f.ce, &word, 4);
    }
}

} // namespace runner
