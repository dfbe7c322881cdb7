// The runner's table of CE records (runner/record_fields.h) against the
// device's own headers, compiled as the device program is (device/device.mk
// check-records): a row whose offset or size is not the device's fails the
// build, naming the field.
#include <windows.h>
#include <commdlg.h>
#include <aygshell.h>

#include <cstddef>

#define RECORD(name, ce, host, size) \
    using name##Ce = ce;             \
    static_assert(sizeof(ce) == size, #ce ": its size on the device");
#define FIELD(record, field, offset, size, kind)                             \
    static_assert(offsetof(record##Ce, field) == offset, #record "." #field ": its offset"); \
    static_assert(sizeof(static_cast<record##Ce *>(nullptr)->field) == size, #record "." #field ": its size");
#define BITS(record, field, offset, size, kind) \
    static_assert(offset + size == sizeof(record##Ce), #record "." #field ": the record's last bytes");
#include "record_fields.h"
