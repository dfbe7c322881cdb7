// CE power status records, served on desktop from GetSystemPowerStatus.
#include "internal.h"

#include <cstring>

namespace {

PowerReader s_reader = nullptr;

// A poll asks for the short record and then the long one. Each host reading
// is a trip through Wine to /sys/class/power_supply, so the long record is
// served from the short record's reading when it follows it at once, as in a
// poll; asked for on its own, it reads the host.
constexpr ULONGLONG kPairWindowMs = 250;
SYSTEM_POWER_STATUS_EX2 s_pairReading;
ULONGLONG s_pairTaken = 0;
bool s_pairPending = false;

bool ReadHost(SYSTEM_POWER_STATUS *status) {
    return (s_reader ? s_reader(status) : GetSystemPowerStatus(status)) != FALSE;
}

// Fills the full CE record; the backup battery is reported as unknown.
bool ReadEx2(SYSTEM_POWER_STATUS_EX2 *out) {
    SYSTEM_POWER_STATUS host = {};
    if (!ReadHost(&host))
        return false;
    std::memset(out, 0, sizeof(*out));
    out->ACLineStatus = host.ACLineStatus;
    out->BatteryFlag = host.BatteryFlag;
    out->BatteryLifePercent = host.BatteryLifePercent;
    out->BatteryLifeTime = host.BatteryLifeTime;
    out->BatteryFullLifeTime = host.BatteryFullLifeTime;
    out->BackupBatteryFlag = BATTERY_FLAG_UNKNOWN;
    out->BackupBatteryLifePercent = BATTERY_PERCENTAGE_UNKNOWN;
    out->BackupBatteryLifeTime = BATTERY_LIFE_UNKNOWN;
    out->BackupBatteryFullLifeTime = BATTERY_LIFE_UNKNOWN;
    out->BatteryChemistry = BATTERY_CHEMISTRY_UNKNOWN;
    return true;
}

} // namespace

void SetPowerReader(PowerReader reader) {
    s_reader = reader;
    s_pairPending = false;
}

BOOL GetSystemPowerStatusEx(PSYSTEM_POWER_STATUS_EX status, BOOL /*update*/) {
    SYSTEM_POWER_STATUS_EX2 full;
    s_pairPending = false;
    if (!status || !ReadEx2(&full))
        return FALSE;
    // The short record is the leading part of the long one.
    std::memcpy(status, &full, sizeof(*status));
    s_pairReading = full;
    s_pairTaken = GetTickCount64();
    s_pairPending = true;
    return TRUE;
}

DWORD GetSystemPowerStatusEx2(PSYSTEM_POWER_STATUS_EX2 status, DWORD length, BOOL /*update*/) {
    SYSTEM_POWER_STATUS_EX2 full;
    bool paired = s_pairPending && GetTickCount64() - s_pairTaken <= kPairWindowMs;
    s_pairPending = false;
    if (!status || length == 0)
        return 0;
    if (paired)
        full = s_pairReading;
    else if (!ReadEx2(&full))
        return 0;
    DWORD copied = length < sizeof(full) ? length : static_cast<DWORD>(sizeof(full));
    std::memcpy(status, &full, copied);
    return copied;
}
