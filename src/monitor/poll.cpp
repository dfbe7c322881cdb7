#include "state/state.h"
#include "gauge/gauge.h"
#include "monitor/monitor.h"

namespace {

// Stores a reading that differs from the stored one; true when it did.
template <typename T> bool StoreIfChanged(T *stored, T reading) {
    if (*stored == reading)
        return false;
    *stored = reading;
    return true;
}

} // namespace

// A query that fails leaves its readings out of this tick's comparisons.
void PollStatus(HWND mainWnd) {
    bool changed = g_gaugeRepaint != 0;
    g_gaugeRepaint = 0;

    if (EnsureGauge() && TrackTaskbarWidth())
        changed = true;

    SYSTEM_POWER_STATUS_EX status = {};
    if (GetSystemPowerStatusEx(&status, TRUE)) {
        int percent = status.BatteryLifePercent > 100 ? 100 : status.BatteryLifePercent;
        changed |= StoreIfChanged(&g_batteryPercent, percent);
    }

    if (g_useCachedBackground) {
        g_useCachedBackground = 0;
        changed = true;
    }

    SYSTEM_POWER_STATUS_EX2 status2 = {};
    if (GetSystemPowerStatusEx2(&status2, sizeof(status2), TRUE) != 0) {
        changed |= StoreIfChanged(&g_batteryLifeTime, static_cast<int>(status2.BatteryLifeTime));
        changed |=
            StoreIfChanged(&g_onAC, static_cast<BYTE>(status2.ACLineStatus == AC_LINE_ONLINE));
    }

    if (changed)
        InvalidateGauge();

    if (g_tapPending) {
        g_tapPending = 0;
        RefreshStorageDecision(mainWnd);
    }
}
