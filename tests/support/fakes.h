#pragma once
// Every fake at once, for test files that use several.
#include "FakeDesktop.h"
#include "FakeFileSystem.h"
#include "FakeRegistry.h"
#include "FakeRunContext.h"
#include "FakeShell.h"
#include "ManualClock.h"
#include "RecordingPrinter.h"
#include "ScriptedPrompter.h"
