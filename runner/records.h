// The CE records that 64-bit Windows lays out differently, converted both
// ways by their field tables (record_fields.h).
#pragma once

#include "machine.h"

namespace runner {

enum class Record {
#define RECORD(name, ce, host, size) name,
#define FIELD(...)
#define BITS(...)
#include "record_fields.h"
#undef RECORD
#undef FIELD
#undef BITS
};

// The ARM record at address into the host record host (of the host type),
// and back. Fields the table does not name are left as they are.
void ToHost(Machine &m, Record record, uint32_t address, void *host);
void ToArm(Machine &m, Record record, const void *host, uint32_t address);
uint32_t CeSize(Record record);

// A host record filled from the ARM one for a call and written back after.
template <typename T> struct Converted {
    Converted(Machine &m, Record record, uint32_t address, bool in = true)
        : m(m), record(record), address(address) {
        if (address && in)
            ToHost(m, record, address, &value);
    }
    ~Converted() {
        if (address)
            ToArm(m, record, &value, address);
    }
    T *get() { return address ? &value : nullptr; }
    Machine &m;
    Record record;
    uint32_t address;
    T value = {};
};

} // namespace runner
