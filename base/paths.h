// Windows-style byte paths (CP932, backslash separators) as records store them,
// and their mapping to files on the host.
//
// A backslash that is the second byte of a double-byte character belongs to that
// character and is never a separator.
#pragma once

#include <string>
#include <vector>

// Absolute when it starts with a separator or a drive ("C:").
bool IsAbsolutePath(const std::string& path);

// A relative path is left unchanged (returns true); an absolute one is made
// relative to the current directory; when that is impossible (another drive),
// returns false and leaves the path unchanged.
bool MakeRelative(std::string& path);
// A relative path becomes the full path against the current directory.
void MakeAbsolute(std::string& path);
// The part after the last backslash.
std::string FileNamePart(const std::string& path);
// The path cut after its last backslash ("a\b\c.txt" -> "a\b\"); "" without one.
std::string FolderPart(const std::string& path);
// Copies path to out replacing the text after the last "." by ext; with an empty
// ext the "." goes too. Returns false (out = path) when the path has no ".".
bool ReplaceExtension(std::string& out, const std::string& path, const std::string& ext);
// The text after the last "."; false when there is none.
bool GetExtension(std::string& out, const std::string& path);
bool HasExtension(const std::string& path, const std::string& ext);
// Every file in folder matching "*.ext" (case-insensitive extension), each added as
// "folder\name", sorted by name.
void ListFiles(const std::string& folder, const std::string& ext, std::vector<std::string>& out);

// Host file for a stored path ("data\stg\a.stg2"): separators become '/', the text
// becomes the host's file-name encoding, and when no file has that exact name
// each component is matched case-insensitively (projects come from Windows).
// The result names the exact file when it exists, otherwise the best guess
// (existing folders matched, the rest as given), usable for creating the file.
std::string HostPath(const std::string& storedPath);

// False when a component of the stored path holds bytes that have no host
// name (not valid CP932): such a file cannot be created under its name.
bool HostNameMappable(const std::string& storedPath);

// Inverse of HostPath for a host file name (UTF-8, '/'), giving CP932 and '\'.
std::string StoredPath(const std::string& hostPath);

// The current directory as a stored path (CP932, '\').
std::string CurrentDirectory();
