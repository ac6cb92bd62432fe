#pragma once
// What only the Linux side under Wine can do: Wine looks names up without
// regard to case, so a folder whose name differs from an existing one only
// in case has to be made by a Linux program.
#include <windows.h>

#include <string>

// The Linux path of a Wine path, or empty when it has none (not under Wine).
std::string UnixPathOf(const std::wstring& path);
// The Linux path of a Wine path with every symbolic link resolved (a drive
// is a link in the prefix's dosdevices folder), by readlink -f; empty on
// failure.
std::string ResolvedUnixPathOf(const std::wstring& path);
// Tells Wine's mount manager about a drive that was mapped (a link in the
// prefix's dosdevices folder) after Wine had started: the shell, and so the
// folder picker, lists only the drives the mount manager knows. True when
// GetLogicalDrives reports the drive afterwards.
bool MakeDriveKnownToWine(wchar_t letter);
// Creates parent\name with /bin/mkdir; true once a directory search of
// parent lists exactly that name.
bool MakeFolderThroughLinux(const std::wstring& parent, const std::wstring& name);
