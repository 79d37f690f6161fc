#pragma once

#include <string>

namespace settings
{

// Writes a new file beside the old one, flushed to disk, and renames it over the old one: no reader ever sees half a
// file, and a crash leaves the old text or the new one, never an empty file. The new file takes the old one's
// permissions (a new one is the person's alone). 0, or the errno of the failure.
int writeAtomically(const std::string &path, const std::string &text);

} // namespace settings
