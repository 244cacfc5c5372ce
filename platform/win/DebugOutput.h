// The debugger output: trace lines that cost nothing unless someone is listening.
//
// Each call writes its text as one line on standard error, but only while DBI_TRACE is set (to
// anything but "", "0", "no", "false" or "off"); otherwise the text goes nowhere.
#pragma once

void OutputDebugStringA(const char* text);
void OutputDebugStringW(const char16_t* text);
