#pragma once
// What every end-to-end probe does: start the installed program and wait for its windows.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/Handles.h"

namespace quillon::probe {

// The installed Quillon.exe, as the script names it in QUILLON_PROGRAM.
std::string programPath();

// Starts the program with the arguments; an empty handle when it could not start.
win32::KernelHandle startProgram(std::string_view arguments);

// A visible window of that class (null: any) and caption, or null once the time is up.
HWND waitForWindow(const char* className, const char* title, DWORD timeoutMs);

// "\u": waits for the completion display, presses OK and waits for the program to end.
// False (with the reason in `failure`) when any of it did not happen in time.
bool updateDatabase(std::string& failure);

// The texts of every row of a report-view list of another process, column by column.
std::vector<std::vector<std::string>> listViewRows(HWND list, int columns);

// The child control with that identifier anywhere below `parent`, or null.
HWND descendant(HWND parent, int id);

// A whole file's bytes; empty when it cannot be read.
std::string fileText(const std::string& path);

// The caption or text of a window, of this process or another.
std::string windowText(HWND window);

// A visible top-level window of that process with that caption (null: any) holding a control
// with that identifier (0: any), or null.
HWND findProcessWindow(DWORD processId, const char* title, int controlId);
// The same, waited for; null once the time is up.
HWND waitForProcessWindow(DWORD processId, const char* title, int controlId, DWORD timeoutMs);

// The captions and texts of the visible windows of that process, for a failure message.
std::string describeProcessWindows(DWORD processId);

// The child window of that class (null: any) showing exactly that text anywhere below
// `parent`, or null.
HWND childWithText(HWND parent, const char* className, const char* text);

// True when the process ended within the time.
bool waitForEnd(HANDLE process, DWORD timeoutMs);

}  // namespace quillon::probe
