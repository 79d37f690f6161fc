#pragma once

namespace settings
{

// Why a settings value could not be saved, so that the person can be told what to do about it.
enum class LSettingsFailure {
    // The folder or the file cannot be written: permissions, a read-only disk, something else in the file's place.
    Unwritable,
    // The disk, or the person's share of it, is full.
    DiskFull,
    // Another program kept the settings locked past the writer's deadline.
    Locked,
};

} // namespace settings
