#pragma once

// Windows only. Failures are told with the errno-style numbers of the rest of the program
// (SystemError, frenchReason), so one table gives the French words on both platforms.

// The number for a Windows error code as GetLastError gives it: ENOENT for a missing file,
// folder or drive, EACCES for a refusal, EBUSY for a file another program holds, ENOSPC for a
// full disk or a quota... A code with no such number gives kWindowsOnlyError plus the
// code.
int errnoOfWindowsError(unsigned long code);

// errnoOfWindowsError(GetLastError()).
int lastWindowsError();

inline constexpr int kWindowsOnlyError = 0x10000;
