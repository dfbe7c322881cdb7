// Start-up: what the main window's creation builds, stage by stage. Each stage
// needs the ones before it; the tests and the benchmark run the same stages.
#pragma once
#include "platform/platform.h"

// How often the poll reads the power status; the benchmark's floors keep the
// same timer.
inline constexpr UINT kPollPeriodMs = 2300;

// The main window's soft-key bar with the Tools menu; nullptr without one.
HWND CreateAppMenuBar(HWND mainWnd);
// Geometry of the Hide button for a main-window client rectangle.
RECT HideButtonRect(const RECT &client);

// The soft-key bar and the shell's activation record of the main window.
void StartMenuBar(HWND mainWnd);
// The storage table with its device-memory row, the taskbar and, from its
// height, the resolution mode everything below is laid out for.
void StartTaskbar();
// The Hide button of the info page.
void StartHideButton(HWND mainWnd);
// The settings from the registry, the position checked against the taskbar.
void StartSettings();
// The gauge, placed by the settings.
void StartGauge();
// The brushes of the info page; a second call replaces them.
void StartBrushes();
// The colour records laid out for the resolution, their colours from the
// registry; false when the records are missing.
bool StartColors();
// The info page's font for the resolution; a second call replaces it.
void StartInfoFont();
// The poll's timer and a first poll now.
void StartPolling(HWND mainWnd);

// All stages in order; false (nothing to draw with) leaves no gauge behind.
bool StartProgram(HWND mainWnd);
