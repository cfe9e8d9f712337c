#pragma once

#include "../../../e2e/DemoProcess.h"

#include <string>
#include <vector>

// The Windows program that scripts/build-windows.sh built (build-windows/,
// or the folder LUMAROLL_WINDOWS_DIR names), run under Wine through
// scripts/wine-run.sh in the tests' own Wine prefix beside it.
std::string windowsProgramFolder();
std::string windowsProgram(); // its lumaroll.exe

// Starts `program` (lumaroll.exe unless another is named) under Wine in the
// demo's working folder. Its output is read as the program flushes it.
void startUnderWine(DemoProcess& demo, const std::vector<std::string>& arguments,
    const std::vector<std::string>& environment = {}, const std::string& program = windowsProgram());

// Polls the sync log (LUMAROLL_SYNC_LOG) until its last line says "stopped":
// the program holds still with the frame of the line before on screen.
bool waitUntilHeldStill(DemoProcess& demo, const std::string& syncLogPath, int seconds,
    std::chrono::microseconds every = std::chrono::milliseconds(20));

// The window as the X server shows it, read until two reads agree.
RgbFrame grabSteadyWindow(const std::string& windowId);

// How many pixels of two frames of one size differ by more than 2 % in a
// channel; all of them when the sizes differ.
std::size_t pixelsApart(const RgbFrame& shown, const RgbFrame& expected);
