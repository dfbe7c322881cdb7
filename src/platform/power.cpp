// CE power status records, served on desktop from GetSystemPowerStatus.
#define ZB_PLATFORM_IMPL
#include "platform/internal.h"

#include <cstring>

namespace {

PowerReader s_reader = nullptr;

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
}

BOOL GetSystemPowerStatusEx(PSYSTEM_POWER_STATUS_EX status, BOOL /*update*/) {
    SYSTEM_POWER_STATUS_EX2 full;
    if (!status || !ReadEx2(&full))
        return FALSE;
    // The short record is the leading part of the long one.
    std::memcpy(status, &full, sizeof(*status));
    return TRUE;
}

DWORD GetSystemPowerStatusEx2(PSYSTEM_POWER_STATUS_EX2 status, DWORD length, BOOL /*update*/) {
    SYSTEM_POWER_STATUS_EX2 full;
    if (!status || length == 0 || !ReadEx2(&full))
        return 0;
    DWORD copied = length < sizeof(full) ? length : static_cast<DWORD>(sizeof(full));
    std::memcpy(status, &full, copied);
    return copied;
}
