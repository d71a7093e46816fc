#pragma once

#include <string>
#include <string_view>

namespace tarnix {

// Replaces the file's contents all at once: the bytes go to a temporary file in the same folder,
// which is flushed to disk and renamed over the old one. On any failure the old file stays as it
// was and false is returned. A new file gets the usual permissions; a replaced one keeps its own.
bool replaceFile(const std::string& path, std::string_view bytes);

// Creates the folder and any missing parents, each only for the user (0700), as the XDG
// base-directory rules ask of folders made for a user's files. True when the folder exists.
bool ensureFolder(const std::string& path);

// Copies the file to "<path>.unreadable" (or ".unreadable.2", ".3", ... when earlier copies exist,
// which are never overwritten). Returns the copy's path, or empty on failure.
std::string keepCopy(const std::string& path);

}  // namespace tarnix
